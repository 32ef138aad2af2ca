#include "saw/optimizer/ardis_reader.h"

#include <gmock/gmock.h>
#include <gtest/gtest.h>

#include "import_text.h"
#include "saw/optimizer/ardis_pattern_code.h"
#include "saw/optimizer/field_parser.h"
#include "saw/optimizer/optimizer_import.h"

namespace orl {
namespace {

using ::testing::ElementsAre;
using ::testing::HasSubstr;

std::vector<std::string> Expanded(const std::string& code) {
  FieldParser scratch;
  std::vector<std::string> out;
  auto items = ExpandPatternCode(code, scratch);
  if (!items) return {"refused"};
  for (const auto& item : *items) out.push_back(std::to_string(item.Level) + ":" + item.Item);
  return out;
}

TEST(ArdisPatternCode, RepeatsItemsAndLevels) {
  EXPECT_THAT(Expanded("1,2*2/3"), ElementsAre("1:1", "1:2", "1:2", "2:3"));
  FieldParser scratch;
  EXPECT_EQ(ExpandSection("10/20/*3/30", scratch).value(), "10/20/20/20/30/");
  EXPECT_THAT(Expanded("10/20/*3/30"), ElementsAre("1:10", "2:20", "3:20", "4:20", "5:30"));
}

TEST(ArdisPatternCode, SectionsRestartTheLevelsAndMarksStayOnTheItem) {
  EXPECT_THAT(Expanded("1/2+3/7!,4$"), ElementsAre("1:1", "2:2", "1:3", "2:7!", "2:4"));
  EXPECT_THAT(Expanded(""), ElementsAre());
  EXPECT_THAT(Expanded("1,,,2"), ElementsAre("1:1", "1:2"));  // empty items are not cuts
}

TEST(ArdisPatternCode, HostileRepeatsAreRefused) {
  EXPECT_THAT(Expanded("1*30000,2*30000,3*30000"), ElementsAre("refused"));
  EXPECT_THAT(Expanded("123456789/*32767"), ElementsAre("refused"));
  EXPECT_THAT(Expanded("5*-3"), ElementsAre());
}

OptimizerModel Import(const std::string& text) { return test::ImportText("JOB.SAW", text); }

constexpr const char* Job =
    "PNL2,Side,A,600,400,1,0,,,,,0,0,0,\n"
    "PNL2,Shelf,A,550,300,1,0,,,,,0,0,0,\n"
    "PNL2,Back,A,700,500,1,0,,,,,0,0,0,\n"
    "PNL2,P4,A,10,20,1,0,,,,,0,0,0,\n"
    "PNL2,P5,A,10,20,1,0,,,,,0,0,0,\n"
    "PNL2,P6,A,10,20,1,0,,,,,0,0,0,\n"
    "PNL2,Door,A,720,396,1,0,,,,,0,0,0,\n"
    "BRD2,Birch 18,1220,2440,1,0,0,,,\n"
    "PTN2,1,\n"
    "PTN3,1,2*2/3 INFO 1\n"
    "PTN2,1,!\n"
    "ptn3,7!/1\n";

TEST(ArdisReader, ExpandsPatternsIntoCuts) {
  OptimizerModel model = Import(Job);
  EXPECT_EQ(model.OptFileKind, FileKind::Ardis);
  ASSERT_EQ(model.CutCount(), 6u);
  const PatCut& first = model.PatCuts[1];
  EXPECT_EQ(first.PatNo, 1);
  EXPECT_EQ(first.BoardDesc, "Birch 18");
  EXPECT_EQ(first.BoardWid, 1220);
  EXPECT_EQ(first.BoardLen, 2440);
  EXPECT_EQ(first.PartLabel, "Side");
  EXPECT_EQ(first.CutDim, 600);
  EXPECT_EQ(first.CutQty, 1);
  EXPECT_EQ(first.PartRef, 0);
  EXPECT_FALSE(first.LoadLong);  // not turned: even levels load long
  EXPECT_TRUE(first.BookLabels.empty());
  std::vector<int> levels;
  for (std::size_t i = 1; i <= model.CutCount(); ++i) levels.push_back(model.PatCuts[i].CutLevel);
  EXPECT_THAT(levels, ElementsAre(1, 1, 1, 2, 1, 2));
  EXPECT_EQ(model.PatCuts[3].PartLabel, "Shelf");
  EXPECT_EQ(model.PatCuts[4].PartLabel, "Back");

  const PatCut& door = model.PatCuts[5];  // "7!" takes the part's turned dimension
  EXPECT_EQ(door.PatNo, 2);
  EXPECT_EQ(door.CutDim, 396);
  EXPECT_TRUE(door.LoadLong);  // turned: odd levels load long
  EXPECT_THAT(model.Pat.Items, ElementsAre("1  *  Birch 18", "2  *  Birch 18"));
}

TEST(ArdisReader, UnknownPartOrBoardIsSkippedWithAWarning) {
  OptimizerModel model = Import(std::string(Job) + "PTN3,99\nPTN2,4,\nPTN3,1\n");
  EXPECT_EQ(model.CutCount(), 6u);
  const auto warnings = model.Warnings.Texts();
  ASSERT_EQ(warnings.size(), 2u);
  EXPECT_THAT(warnings[0], HasSubstr("item 99"));
  EXPECT_THAT(warnings[1], HasSubstr("board 4"));
}

TEST(ArdisReader, ItemsOfNoLengthAreSkippedWithAWarning) {
  OptimizerModel model = Import(std::string(Job) + "PNL2,Zero,A,0,0,1,0,,,,,0,0,0,\nPTN3,0,!,junk,8,\xE9,1\n");
  ASSERT_EQ(model.CutCount(), 7u);  // the six of the job and the last item
  EXPECT_EQ(model.PatCuts[7].PartLabel, "Side");
  const auto warnings = model.Warnings.Texts();
  ASSERT_EQ(warnings.size(), 5u);
  EXPECT_THAT(warnings[3], HasSubstr("item 8 has no length"));
  EXPECT_THAT(warnings[4], HasSubstr("item \u00E9 names no part"));  // the file's text, as UTF-8
}

}  // namespace
}  // namespace orl
