#include "saw/cutlist/cut_list_editing.h"

#include <gtest/gtest.h>

#include "cut_list_fixture.h"

namespace orl {
namespace {

using testing::CutListFixture;

TEST(CutListLayout, GroupColumnsAndModes) {
  CutListFixture f;
  EXPECT_EQ(f.Text(0, 7), "Position");
  EXPECT_EQ(f.Text(0, 8), "Qty");
  EXPECT_EQ(f.Text(0, 198), " ");
  EXPECT_EQ(f.Text(2, 0), "SS");
  EXPECT_EQ(f.Text(51, 0), "49");
  EXPECT_TRUE(f.grid().ColumnHidden(4));  // always hidden
  EXPECT_TRUE(f.grid().ColumnHidden(3));  // Groove while "Grooving" is off
  EXPECT_EQ(f.grid().Format(4, 5).backColor, kCyan);
  EXPECT_EQ(f.grid().Format(10, 6).backColor, kBlack);
  EXPECT_EQ(f.grid().Format(4, 2).max, kMaxCellQuantity);
  EXPECT_TRUE(f.grid().Format(4, 2).spinButtons);
  EXPECT_EQ(f.grid().Format(4, 1).decimals, 1);
  f.cutList.Grv.value = 1;
  f.cutList.decimalPlacesInch = 3;
  SelectUnits(f.cutList, kInch);
  EXPECT_EQ(f.Text(1, 2), "False");
  EXPECT_FALSE(f.grid().ColumnHidden(3));
  EXPECT_EQ(f.grid().Format(4, 1).decimals, 3);
}

TEST(CutListLayout, SingleGroupListLaysOutSixColumns) {
  CutListFixture f;
  f.grid().SetColumns(ColsPerGroup);
  Setupcutlist(f.cutList);
  EXPECT_EQ(f.Text(0, 7), "");
}

TEST(CutListEditing, TypedPositionGetsQuantityOneAndTotals) {
  CutListFixture f;
  f.grid().SetText(4, 1, "500");
  CellEditFinished(f.cutList, f.macPar, 4, 1, 0);
  EXPECT_EQ(f.Text(4, 2), "1");
  EXPECT_EQ(f.Text(3, 1), "513.2");
  f.grid().SetText(4, 2, "2");
  CellEditFinished(f.cutList, f.macPar, 4, 2, 0);
  EXPECT_EQ(f.Text(3, 1), "1016.4");
}

TEST(CutListEditing, GrooveCheckLocksGroovingWhileGroovesExist) {
  CutListFixture f;
  f.grid().SetText(9, 9, "4");
  CellEditFinished(f.cutList, f.macPar, 9, 9, /*grooveColumnsSetting=*/0);
  EXPECT_EQ(f.cutList.Grv.value, 1);
  EXPECT_FALSE(f.cutList.Grv.enabled);
  EXPECT_FALSE(f.grid().ColumnHidden(9));
  f.grid().SetText(9, 9, "");
  CellEditFinished(f.cutList, f.macPar, 9, 9, 2);
  EXPECT_EQ(f.cutList.Grv.value, 2);
  EXPECT_TRUE(f.cutList.Grv.enabled);
}

TEST(CutListEditing, BoardLengthLocksOnceTheGroupHasCuts) {
  CutListFixture f;
  f.grid().MoveCursor(3, 7);
  SetCellText(f.grid(), 20, 1, "the program's own write moves no cursor");
  KeyDownInGrid(f.cutList);
  EXPECT_FALSE(f.grid().Format(3, 7).locked);
  f.grid().SetText(10, 7, "250");
  KeyDownInGrid(f.cutList);
  EXPECT_TRUE(f.grid().Format(3, 7).locked);
}

TEST(CutListEditing, CurrentCellNamesItsGroup) {
  CutListFixture f;
  EXPECT_EQ(CurrentCellMoved(f.cutList, 12), 3);  // the separator belongs to the next group
  EXPECT_EQ(f.cutList.CNum, "3");
  EXPECT_EQ(CurrentCellMoved(f.cutList, 0), std::nullopt);
}

TEST(CutListEditing, DescriptionKeepsCrLfLineEndsWhateverItIsGiven) {
  CutListFixture f;
  DescChanged(f.cutList, "Kitchen\nwall\r\nunits\r");
  EXPECT_EQ(f.cutList.Desc, "Kitchen\r\nwall\r\nunits\r\n");
  EXPECT_EQ(f.grid().Text(kDescRow, kDescColumn), f.cutList.Desc);
}

TEST(HiLiteCell, PaintsOneCellAndGivesTheOldColourBack) {
  CutListFixture f;
  EXPECT_EQ(HiLiteCell(f.cutList, 4, 5, false), 1);
  EXPECT_EQ(f.grid().Format(4, 5).backColor, kHighlightColor);
  EXPECT_EQ(HiLiteCell(f.cutList, 5, 5, false), std::nullopt);  // same column: nothing to follow
  EXPECT_EQ(f.grid().Format(4, 5).backColor, kCyan);
  EXPECT_EQ(HiLiteCell(f.cutList, 3, 13, /*showNext=*/true), 4);
  HiLiteCell(f.cutList, 0, 0, false);
  EXPECT_EQ(f.grid().Format(3, 13).backColor, kWhite);
  EXPECT_EQ(f.grid().Format(5, 5).backColor, kCyan);
  EXPECT_EQ(f.cutList.HiRow, 0);
}

}  // namespace
}  // namespace orl
