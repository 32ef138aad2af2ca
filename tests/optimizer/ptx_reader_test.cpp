#include "saw/optimizer/ptx_reader.h"

#include <gmock/gmock.h>
#include <gtest/gtest.h>

#include "import_text.h"
#include "saw/optimizer/optimizer_import.h"

namespace orl {
namespace {

using ::testing::ElementsAre;
using ::testing::HasSubstr;

OptimizerModel Import(const std::string& text) { return test::ImportText("job7.ptx", text); }

constexpr const char* Job =
    "HEADER,1,some job\n"
    "JOBS,1,x\n"
    "BOARDS,1,1,18,1,1220,2440,0,0,0\n"
    "BOARDS,2,1,18,1,48-1/2,96,0,0,0\n"
    "PATTERNS,1,1,1,0,12,0,4\n"
    "PATTERNS,2,1,2,1,1,0,1\n"
    "CUTS,1,1,5,0,1,600,2,7,x\n"
    "CUTS,2,1,0,0,0,10,1,0,x\n"
    "CUTS,3,1,6,0,2,300,3,8,x\n"
    "CUTS,4,1,0,0,10,5,1,0,x\n"
    "CUTS,5,1,0,0,90,5,1,0,x\n"
    "CUTS,6,2,1,0,1,24-1/4,1,1,x\n"
    "OFFCUTS,1,2,3\n";

TEST(PtxReader, BuildsCutsAtTheEndSkippingTrimLevels) {
  OptimizerModel model = Import(Job);
  EXPECT_EQ(model.OptFileKind, FileKind::Ptx);
  ASSERT_EQ(model.CutCount(), 3u);
  const PatCut& a = model.PatCuts[1];
  EXPECT_EQ(a.PatNo, 1);
  EXPECT_EQ(a.BoardLen, 2440);
  EXPECT_EQ(a.BoardWid, 1220);
  EXPECT_EQ(a.BoardDesc, "");
  EXPECT_EQ(a.PatSheets, 12);
  EXPECT_EQ(a.BookMax, 4);
  EXPECT_TRUE(a.LoadLong);  // orientation 0: odd levels load long
  EXPECT_EQ(a.CutDim, 600);
  EXPECT_EQ(a.CutLevel, 1);
  EXPECT_EQ(a.CutQty, 2);
  EXPECT_EQ(a.PartLabel, "7");
  EXPECT_EQ(a.PartRef, 5);
  EXPECT_THAT(a.BookLabels, ElementsAre("", ""));
  EXPECT_EQ(model.PatCuts[2].CutLevel, 2);  // file order kept past the skipped level 0
  EXPECT_FALSE(model.PatCuts[2].LoadLong);

  const PatCut& c = model.PatCuts[3];
  EXPECT_EQ(c.BoardWid, 48.5f);  // 48-1/2
  EXPECT_EQ(c.CutDim, 24.25f);
  EXPECT_FALSE(c.LoadLong);  // orientation 1: even levels load long
  EXPECT_THAT(model.Pat.Items, ElementsAre("1  *  ", "2  *  "));
  EXPECT_TRUE(model.Warnings.Empty());
}

TEST(PtxReader, PatternOrBoardOutsideItsTableSkipsTheCut) {
  OptimizerModel model = Import(std::string(Job) + "PATTERNS,3,1,9,0,1,0,1\nCUTS,7,5,1,0,1,10,1,1,x\nCUTS,8,3,1,0,1,10,1,1,x\n");
  EXPECT_EQ(model.CutCount(), 3u);
  const auto warnings = model.Warnings.Texts();
  ASSERT_EQ(warnings.size(), 2u);
  EXPECT_THAT(warnings[0], HasSubstr("line 15: CUTS names pattern 5"));
  EXPECT_THAT(warnings[1], HasSubstr("board 9"));
}

TEST(PtxReader, DashesAndBlanksJoinWholeAndFractionAndNoFiniteSizeIsRefused) {
  OptimizerModel model = Import(
      "BOARDS,1,1,18,1,48\t1/2,96 - 1/4,0,0,0\nPATTERNS,1,1,1,0,1,0,1\n"
      "CUTS,1,1,0,0,1,1/0,1,0,x\nCUTS,2,1,0,0,1,1e39,1,0,x\nCUTS,3,1,0,0,1,10,1,0,x\n");
  ASSERT_EQ(model.CutCount(), 3u);
  EXPECT_EQ(model.PatCuts[1].BoardWid, 48.5f);
  EXPECT_EQ(model.PatCuts[1].BoardLen, 96.25f);
  EXPECT_EQ(model.PatCuts[1].CutDim, 0);
  EXPECT_EQ(model.PatCuts[2].CutDim, 0);
  EXPECT_EQ(model.PatCuts[3].CutDim, 10);
  const auto warnings = model.Warnings.Texts();
  ASSERT_EQ(warnings.size(), 2u);
  EXPECT_THAT(warnings[0], HasSubstr("line 3: field 7 is no finite number"));
}

TEST(PtxReader, PatternLevelOrCountPast16BitsSkipsTheRecord) {
  OptimizerModel model = Import(
      "BOARDS,1,1,18,1,1220,2440,0,0,0\nPATTERNS,1,1,1,0,1,0,1\n"
      "CUTS,1,32768,0,0,1,10,1,0,x\nCUTS,2,1,0,0,65537,10,1,0,x\nCUTS,3,1,0,0,1,10,70000,0,x\n"
      "CUTS,4,1,0,0,1,20,1,0,x\n");
  ASSERT_EQ(model.CutCount(), 1u);
  EXPECT_EQ(model.PatCuts[1].CutDim, 20);
  const auto warnings = model.Warnings.Texts();
  ASSERT_EQ(warnings.size(), 3u);
  EXPECT_THAT(warnings[1], HasSubstr("line 4: field 6 (a pattern number, level or count)"));
}

TEST(PtxReader, PatternZeroIsNeverListed) {
  OptimizerModel model = Import("BOARDS,1,1,18,1,1220,2440,0,0,0\nCUTS,1,0,0,0,1,100,1,0,x\n");
  EXPECT_EQ(model.CutCount(), 1u);
  EXPECT_TRUE(model.Pat.Items.empty());
  EXPECT_EQ(model.Pat.ListIndex, -1);
}

}  // namespace
}  // namespace orl
