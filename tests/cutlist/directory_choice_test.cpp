#include "saw/cutlist/directory_choice.h"

#include <gtest/gtest.h>

#include <filesystem>

#include "fakes/temp_folder.h"

namespace orl {
namespace {

namespace fs = std::filesystem;

// Runs the test inside a fresh folder and goes back afterwards.
class DirectoryChoice : public ::testing::Test {
 protected:
  void SetUp() override {
    previous_ = fs::current_path();
    fs::create_directories(folder_.Path() / "Jobs" / "Week 12");
    fs::current_path(folder_.Path());
  }
  void TearDown() override { fs::current_path(previous_); }

  std::string Here(const std::string& below = "") const {
    const std::string base = fs::canonical(folder_.Path()).string();
    return below.empty() ? base : base + "/" + below;
  }

 private:
  testing::TempFolder folder_;
  fs::path previous_;
};

TEST_F(DirectoryChoice, StartsInTheGivenFolderAbsoluteAndWithoutTrailingSeparator) {
  EXPECT_EQ(ChooserStartFolder(Here("Jobs/")), Here("Jobs"));
  EXPECT_EQ(ChooserStartFolder(" Jobs\\Week 12\\ "), Here("Jobs/Week 12"));
  EXPECT_EQ(ChooserStartFolder("Jobs/./Week 12/../"), Here("Jobs"));
  EXPECT_EQ(ChooserStartFolder("/"), "/");
}

TEST_F(DirectoryChoice, AMissingOrEmptyFolderStartsInTheCurrentFolder) {
  EXPECT_EQ(ChooserStartFolder("Jobs/Week 13"), Here());
  EXPECT_EQ(ChooserStartFolder(""), Here());
  testing::TempFolder other;
  const std::string aFile = other.Write("labels.txt", "");
  EXPECT_EQ(ChooserStartFolder(aFile), Here());
}

TEST(NewFolderName, OneFolderNameWithBlanksAroundItIgnored) {
  EXPECT_EQ(NewFolderName("  Week 13 "), "Week 13");
  EXPECT_EQ(NewFolderName(".hidden"), ".hidden");
  for (const char* nothing : {"", "   ", ".", "..", " .. ", "a/b", "..\\up", "/"}) {
    EXPECT_EQ(NewFolderName(nothing), std::nullopt) << "'" << nothing << "'";
  }
}

}  // namespace
}  // namespace orl
