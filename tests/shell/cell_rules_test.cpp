#include "saw/shell/cell_rules.h"

#include <gtest/gtest.h>

namespace orl {
namespace {

CellGrid GridOfFormats() {
  CellGrid grid(3, 3);
  grid.Format(1, 1) = {CellType::Number, 0, 9999, 1};
  grid.Format(1, 2) = {CellType::Integer, 0, 32767, 0, 0, true};
  grid.Format(1, 3) = {CellType::Text, 0, 0, 0, 4};
  grid.Format(2, 1) = {CellType::Number, 0, 9999, 1, 0, false, /*locked=*/true};
  grid.Format(2, 2).type = CellType::Button;
  return grid;
}

TEST(CellRules, NumberCellsTakeWholeNumbersInRangeAndADecimalComma) {
  const CellGrid grid = GridOfFormats();
  EXPECT_EQ(AcceptedCellText(grid, 1, 1, "12,5"), "12.5");
  EXPECT_EQ(AcceptedCellText(grid, 1, 1, " 250 "), "250");
  EXPECT_EQ(AcceptedCellText(grid, 1, 1, ""), "");  // an emptied cell stays empty
  EXPECT_EQ(AcceptedCellText(grid, 1, 1, "12.55"), std::nullopt);  // more decimals than the cell shows
  EXPECT_EQ(AcceptedCellText(grid, 1, 1, "10000"), std::nullopt);
  EXPECT_EQ(AcceptedCellText(grid, 1, 1, "-1"), std::nullopt);
  EXPECT_EQ(AcceptedCellText(grid, 1, 1, "12abc"), std::nullopt);
  EXPECT_EQ(AcceptedCellText(grid, 1, 2, "150"), "150");
  EXPECT_EQ(AcceptedCellText(grid, 1, 2, "32767"), "32767");
  EXPECT_EQ(AcceptedCellText(grid, 1, 2, "1,5"), std::nullopt);  // a quantity has no decimals
}

TEST(CellRules, LockedButtonAndOutsideCellsTakeNothingAndTextsAreCutWhole) {
  CellGrid grid = GridOfFormats();
  EXPECT_FALSE(EditCell(grid, 2, 1, "5"));
  EXPECT_FALSE(EditCell(grid, 2, 2, "5"));
  EXPECT_FALSE(EditCell(grid, 4, 1, "5"));
  EXPECT_FALSE(EditCell(grid, 0, 1, "header"));
  EXPECT_EQ(grid.Text(2, 1), "");
  EXPECT_TRUE(EditCell(grid, 1, 3, "abc\xC3\xA9"));  // "abcé": 4 bytes would split the é
  EXPECT_EQ(grid.Text(1, 3), "abc");
  EXPECT_TRUE(EditCell(grid, 1, 3, "a\xE2\x82\xAC" "b"));  // "a€b" is 5 bytes: the € stays whole
  EXPECT_EQ(grid.Text(1, 3), "a\xE2\x82\xAC");
}

TEST(CellRules, NumberCellsShowTheirDecimalPlaces) {
  CellGrid grid = GridOfFormats();
  grid.SetText(1, 1, "250");
  EXPECT_EQ(ShownCellText(grid, 1, 1), "250.0");
  grid.Format(1, 1).decimals = 3;
  grid.SetText(1, 1, "20.5");
  EXPECT_EQ(ShownCellText(grid, 1, 1), "20.500");
  grid.SetText(1, 1, "old text");  // what a file put there is shown as it is
  EXPECT_EQ(ShownCellText(grid, 1, 1), "old text");
  grid.SetText(1, 2, "7");
  EXPECT_EQ(ShownCellText(grid, 1, 2), "7");
}

}  // namespace
}  // namespace orl
