#include "saw/shell/path_parts.h"

#include <gtest/gtest.h>

namespace orl {
namespace {

TEST(PathParts, SplitsAtEitherSeparator) {
  EXPECT_EQ(FileNamePart("C:\\JOBS\\A.SAW"), "A.SAW");
  EXPECT_EQ(FileNamePart("/home/saw/jobs/A.SAW"), "A.SAW");
  EXPECT_EQ(FileNamePart("A.SAW"), "A.SAW");
  EXPECT_EQ(FolderPart("C:\\JOBS\\A.SAW"), "C:\\JOBS\\");
  EXPECT_EQ(FolderPart("/jobs\\sub/A.SAW"), "/jobs\\sub/");
  EXPECT_EQ(FolderPart("A.SAW"), "");
  EXPECT_EQ(FolderPart("  C:\\JOBS\\A.SAW"), "C:\\JOBS\\");
}

TEST(PathParts, TrailingSeparatorIsAddedOnce) {
  EXPECT_EQ(WithTrailingSeparator(" /jobs "), "/jobs/");
  EXPECT_EQ(WithTrailingSeparator("/jobs/"), "/jobs/");
  EXPECT_EQ(WithTrailingSeparator("C:\\JOBS\\"), "C:\\JOBS\\");
  EXPECT_EQ(WithTrailingSeparator(""), "");
}

}  // namespace
}  // namespace orl
