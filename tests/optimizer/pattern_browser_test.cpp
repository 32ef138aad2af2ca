#include "saw/optimizer/pattern_browser.h"

#include <gmock/gmock.h>
#include <gtest/gtest.h>

#include "fakes/temp_folder.h"

namespace orl {
namespace {

using ::testing::ElementsAre;

TEST(PatternKey, SplitsWithCommasInTheFolder) {
  auto key = SplitPatternKey("9,/jobs/a,b,cuts.csv,2");
  ASSERT_TRUE(key);
  EXPECT_EQ(key->PatNo, 9);
  EXPECT_EQ(key->Folder, "/jobs/a,b");
  EXPECT_EQ(key->FileName, "cuts.csv");
  EXPECT_EQ(key->ListIndex, 2);
  EXPECT_FALSE(SplitPatternKey("9,only"));
  EXPECT_FALSE(SplitPatternKey(""));
}

constexpr const char* TwoPatterns =
    "T,5,Oak,100,50,0,0,0,0,0,0,L,10,1,1,,0\n"
    "T,9,Ash,200,100,0,0,0,0,0,0,L,30,1,1,,0\n"
    "T,9,Ash,200,100,0,0,0,0,0,0,S,20,2,1,,0\n";

TEST(PatternBrowser, FileClickShowsTheFirstPattern) {
  testing::TempFolder folder;
  folder.Write("cuts.csv", TwoPatterns);
  OptimizerModel model;
  OptimizerView view;
  ASSERT_TRUE(OptimizerFileClicked(model, view, folder.Folder(), folder.Folder(), "cuts.csv", 0, ""));
  EXPECT_THAT(model.Pat.Items, ElementsAre("5  *  Oak", "9  *  Ash"));
  EXPECT_EQ(model.Pat.ListIndex, 0);
  EXPECT_EQ(model.ShownPatternKey, "5," + folder.Folder() + ",cuts.csv,0");
  EXPECT_EQ(view.LBLShowPh, "Cut Sequence            of  1");
}

TEST(PatternBrowser, ShowLoadedPatternSelectsByNumberAndFollowsTheGroup) {
  testing::TempFolder folder;
  folder.Write("cuts.csv", TwoPatterns);
  RealFileSystem fileSystem;
  OptimizerModel model;
  OptimizerView view;
  std::string dir1 = "/elsewhere";
  FileList file2{.folder = "/elsewhere", .pattern = "*.CSV", .entries = {}, .enabled = true};

  ShowLoadedPattern(model, view, dir1, file2, fileSystem, "", "2");  // nothing loaded yet
  EXPECT_EQ(dir1, "/elsewhere");
  EXPECT_EQ(model.CutCount(), 0u);

  model.LoadedPatternKey = "9," + folder.Folder() + ",cuts.csv,0";
  ShowLoadedPattern(model, view, dir1, file2, fileSystem, "", "2");
  EXPECT_EQ(dir1, folder.Folder());
  EXPECT_EQ(model.Pat.ListIndex, 1);  // pattern 9 is the second entry
  EXPECT_EQ(model.ShownPatternKey, model.LoadedPatternKey);
  EXPECT_EQ(view.VScrollPH.Value, 2);
  EXPECT_EQ(view.TextShowPh, "2");

  FollowCutGroup(model, view, 3);  // beyond the pattern's two steps
  EXPECT_EQ(view.VScrollPH.Value, 2);
  FollowCutGroup(model, view, 1);
  EXPECT_EQ(view.VScrollPH.Value, 1);
  model.LoadedPatternKey = "5," + folder.Folder() + ",cuts.csv,0";
  FollowCutGroup(model, view, 2);  // another pattern is shown
  EXPECT_EQ(view.VScrollPH.Value, 1);
}

}  // namespace
}  // namespace orl
