#include "saw/optimizer/cpout_reader.h"

#include <gmock/gmock.h>
#include <gtest/gtest.h>

#include "import_text.h"
#include "saw/optimizer/optimizer_import.h"

namespace orl {
namespace {

using ::testing::ElementsAre;
using ::testing::HasSubstr;

constexpr const char* Parts =
    "ORD3,3,1\r\n"
    "ORD3,2,4\r\n"
    "HDR1,whatever\r\n"
    "INV1,1,0,0,2440,1220,10,12\r\n"
    "INV2,MDF 18\r\n"
    "PRT1,1,1,600,400,A,LabelA1,x,y\r\n"
    "PRT2,extra\r\n"
    "PRT5,last\r\n"
    "prt1,2,1,600,400,A,LabelA2,x,y\r\n"
    "PRT1,3,1,600,400,A,LabelA3,x,y\r\n"
    "PRT1,4,1,400,300,B,LabelB1,x,y\r\n"
    "PRT1,5,1,400,300,B,LabelB2,x,y\r\n";

OptimizerModel Import(const std::string& text, const std::string& name = "CPOUT.042") {
  return test::ImportText(name, text);
}

TEST(CpOutReader, DealsSheetsIntoBooksAndLabelsFromTheOrderLine) {
  OptimizerModel model = Import(std::string(Parts) +
                                "PAT1,1,L,10,4\r\n"
                                "CUT1,1,600,x,1\r\n"
                                "CUT1,2,400,x,2\r\n");
  EXPECT_EQ(model.OptFileKind, FileKind::CpOut);
  ASSERT_EQ(model.PatBooks.size(), 2u);
  EXPECT_THAT(model.PatBooks[1], ElementsAre(0, 3, 3, 2, 2));
  ASSERT_EQ(model.CutCount(), 2u);

  const PatCut& first = model.PatCuts[1];
  EXPECT_EQ(first.PatNo, 1);
  EXPECT_EQ(first.BoardDesc, "MDF 18");
  EXPECT_EQ(first.BoardLen, 2440);
  EXPECT_EQ(first.BoardWid, 1220);
  EXPECT_EQ(first.TrimShort, 10);
  EXPECT_EQ(first.TrimLong, 12);
  EXPECT_EQ(first.EndTrimWid, 0);
  EXPECT_EQ(first.EndTrimLen, 0);
  EXPECT_TRUE(first.LoadLong);  // "L" and an odd level
  EXPECT_EQ(first.CutDim, 600);
  EXPECT_EQ(first.CutQty, 1);
  EXPECT_EQ(first.PartLabel, "LabelA1");
  EXPECT_EQ(first.PartRef, 1);
  // PRT1, PRT2 and PRT5 make one record; the upper-cased "prt1" is a part too.
  const std::string record1 = "PRT1,1,1,600,400,A,LabelA1,x,y,PRT2,extra,PRT5,last";
  ASSERT_EQ(first.BookLabels.size(), 5u);
  EXPECT_EQ(first.BookLabels[1], record1 + "\r\nprt1,2,1,600,400,A,LabelA2,x,y,\r\nPRT1,3,1,600,400,A,LabelA3,x,y,");
  EXPECT_EQ(first.BookLabels[2], "");  // the order line's three labels went to book 1

  const PatCut& second = model.PatCuts[2];
  EXPECT_FALSE(second.LoadLong);
  EXPECT_EQ(second.PartLabel, "LabelB1");
  EXPECT_EQ(second.BookLabels[1], "PRT1,4,1,400,300,B,LabelB1,x,y,\r\nPRT1,5,1,400,300,B,LabelB2,x,y,");
  EXPECT_THAT(model.Pat.Items, ElementsAre("1  *  MDF 18"));
  EXPECT_EQ(model.Pat.ListIndex, 0);
  EXPECT_TRUE(model.Warnings.Empty());
}

TEST(CpOutReader, LabelCounterCarriesOverUntilUsedUp) {
  OptimizerModel model = Import(std::string(Parts) +
                                "PAT1,1,L,2,1\r\n"
                                "CUT1,1,600,x,1\r\n"
                                "CUT1,1,600,x,1\r\n"
                                "CUT1,1,600,x,1\r\n");
  ASSERT_EQ(model.CutCount(), 3u);
  EXPECT_THAT(model.PatCuts[1].BookLabels[1], HasSubstr("LabelA2"));
  EXPECT_THAT(model.PatCuts[2].BookLabels[1], HasSubstr("LabelA3"));  // third label, then used up
  EXPECT_THAT(model.PatCuts[2].BookLabels[1], ::testing::Not(HasSubstr("\r\n")));
  EXPECT_THAT(model.PatCuts[3].BookLabels[1], HasSubstr("LabelA1"));  // restarted at the next CUT1
}

TEST(CpOutReader, LowerCaseOrientationAndZeroBooks) {
  OptimizerModel model = Import(std::string(Parts) + "PAT1,1,l,3,0\r\nCUT1,1,300,x,0\r\nCUT1,2,300,x,0\r\n");
  ASSERT_EQ(model.CutCount(), 2u);
  EXPECT_FALSE(model.PatCuts[1].LoadLong);  // "l" is not "L": even levels load long
  EXPECT_TRUE(model.PatCuts[2].LoadLong);
  EXPECT_THAT(model.PatBooks[1], ElementsAre(0));
  EXPECT_EQ(model.PatCuts[1].BookLabels.size(), 1u);
  EXPECT_EQ(model.PatCuts[1].PartLabel, "");  // order line 0 names no part
  EXPECT_EQ(model.PatCuts[1].PartRef, 0);
}

TEST(CpOutReader, IndexesOutsideTheirTablesCostTheCutOnlyWhatTheyNameWithAWarning) {
  OptimizerModel model = Import(
      "PRT2,orphan\r\nINV2,orphan\r\n" + std::string(Parts) +
      "PAT1,1,L,2,1\r\nCUT1,1,600,x,9\r\nCUT1,1,500,x,1\r\n"
      "PAT1,7,L,2,1\r\nCUT1,1,400,x,1\r\n"
      "ORD3,5,99\r\nPAT1,1,L,2,1\r\nCUT1,1,300,x,3\r\n");
  ASSERT_EQ(model.CutCount(), 4u);
  const PatCut& noOrder = model.PatCuts[1];
  EXPECT_EQ(noOrder.CutDim, 600);
  EXPECT_EQ(noOrder.BoardLen, 2440);
  EXPECT_EQ(noOrder.PartLabel, "");
  EXPECT_THAT(noOrder.BookLabels, ElementsAre("", ""));
  const PatCut& noStock = model.PatCuts[3];
  EXPECT_EQ(noStock.CutDim, 400);
  EXPECT_EQ(noStock.BoardLen, 0);
  EXPECT_EQ(noStock.PartLabel, "LabelA1");
  const PatCut& noPart = model.PatCuts[4];
  EXPECT_EQ(noPart.CutDim, 300);
  EXPECT_EQ(noPart.PartRef, 99);
  EXPECT_THAT(noPart.BookLabels, ElementsAre("", ""));
  const auto warnings = model.Warnings.Texts();
  ASSERT_EQ(warnings.size(), 5u);
  EXPECT_THAT(warnings[0], HasSubstr("line 1:"));
  EXPECT_THAT(warnings[2], HasSubstr("order line 9"));
  EXPECT_THAT(warnings[3], HasSubstr("stock 7"));
  EXPECT_THAT(warnings[4], HasSubstr("part 99"));
}

TEST(CpOutReader, AnOrderLineDealtAgainFromTheSameLabelGetsTheSameTextsUntilItsPartsOrBooksChange) {
  OptimizerModel model = Import(
      "ORD3,1,1\r\nINV1,1,0,0,2440,1220,10,12\r\nPRT1,1,1,600,400,A,Side,x,y\r\n"
      "PAT1,1,L,1,1\r\nCUT1,1,600,x,1\r\nCUT1,1,600,x,1\r\n"
      "PRT2,late line\r\nCUT1,1,600,x,1\r\n"     // the part's record grew in between
      "PAT1,1,L,2,2\r\nCUT1,1,600,x,1\r\n"       // another pattern deals into two books
      "PAT1,1,L,1,1\r\nCUT1,1,600,x,1\r\nCUT1,1,600,x,1\r\n");  // and this one as the first did
  ASSERT_EQ(model.CutCount(), 6u);
  EXPECT_THAT(model.PatCuts[1].BookLabels, ElementsAre("", "PRT1,1,1,600,400,A,Side,x,y,"));
  EXPECT_THAT(model.PatCuts[2].BookLabels, ElementsAre("", "PRT1,1,1,600,400,A,Side,x,y,"));
  EXPECT_THAT(model.PatCuts[3].BookLabels, ElementsAre("", "PRT1,1,1,600,400,A,Side,x,y,PRT2,late line,"));
  // One label per order line: book 1 takes it, book 2 finds the line used up.
  EXPECT_THAT(model.PatCuts[4].BookLabels, ElementsAre("", "PRT1,1,1,600,400,A,Side,x,y,PRT2,late line,", ""));
  EXPECT_THAT(model.PatCuts[5].BookLabels, ElementsAre("", "PRT1,1,1,600,400,A,Side,x,y,PRT2,late line,"));
  EXPECT_THAT(model.PatCuts[6].BookLabels, ElementsAre("", "PRT1,1,1,600,400,A,Side,x,y,PRT2,late line,"));
}

TEST(CpOutReader, ManyBooksAreHeldToTheBookButtons) {
  OptimizerModel model = Import(std::string(Parts) + "PAT1,1,L,100,40\r\nCUT1,1,600,x,1\r\n");
  EXPECT_EQ(model.PatBooks[1].size(), 18u);
  EXPECT_EQ(model.PatCuts[1].BookLabels.size(), 18u);
  EXPECT_FALSE(model.Warnings.Empty());
}

TEST(CpOutReader, LabelsStopAtTheFileLimitWithOneWarning) {
  // One 5 MB part record dealt to one cut after another: the cut that passes
  // the limit still gets its label, later cuts none, and the warning comes once.
  const std::string record = "PRT1,1,1,600,400,A,Big," + std::string(5u << 20, 'x') + ",y\r\n";
  std::string text = "ORD3,1,1\r\nINV1,1,0,0,2440,1220,10,12\r\n" + record + "PAT1,1,L,1,1\r\n";
  const std::size_t cutsWithLabels = CpOutReader::MaxLabelBytes / (record.size() + 1) + 1;
  for (std::size_t i = 0; i < cutsWithLabels + 2; ++i) text += "CUT1,1,600,x,1\r\n";
  OptimizerModel model = Import(text);
  ASSERT_EQ(model.CutCount(), cutsWithLabels + 2);
  EXPECT_FALSE(model.PatCuts[cutsWithLabels].BookLabels[1].empty());
  EXPECT_TRUE(model.PatCuts[cutsWithLabels + 1].BookLabels[1].empty());
  EXPECT_TRUE(model.PatCuts[cutsWithLabels + 2].BookLabels[1].empty());
  const auto warnings = model.Warnings.Texts();
  ASSERT_EQ(warnings.size(), 1u);
  EXPECT_THAT(warnings[0], HasSubstr("too large"));
}

TEST(DealSheets, RemainderGoesToTheFirstBooks) {
  EXPECT_THAT(DealSheets(10, 4), ElementsAre(0, 3, 3, 2, 2));
  EXPECT_THAT(DealSheets(2, 3), ElementsAre(0, 1, 1, 0));
  EXPECT_THAT(DealSheets(5, 0), ElementsAre(0));
}

}  // namespace
}  // namespace orl
