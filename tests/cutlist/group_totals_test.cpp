#include <gtest/gtest.h>

#include "cut_list_fixture.h"

namespace orl {
namespace {

using testing::CutListFixture;

TEST(ComputeColumn, TotalAndRemaindersOfTheWorkedExample) {
  CutListFixture f;
  f.Cut(1, 4, "500", "2");
  f.Cut(1, 5, "300", "1");
  ComputeColumn(f.cutList, f.macPar, 1);
  EXPECT_EQ(f.Text(3, 1), "1319.6");
  EXPECT_EQ(f.Text(4, 5), "303.2");
  EXPECT_EQ(f.Text(5, 5), "0");
}

TEST(ComputeColumn, QtyColumnIsMovedBackToPosition) {
  CutListFixture f;
  f.Cut(2, 4, "100", "3");
  EXPECT_EQ(ComputeColumn(f.cutList, f.macPar, PositionColumnOfGroup(2) + kQtyOffset), 7);
  EXPECT_EQ(f.Text(3, 7), "319.6");  // 103.2 x 3 + 10
}

TEST(ComputeColumn, InchUnitsConvertKerfAndMachineTrim) {
  CutListFixture f;
  f.cutList.Units = kInch;
  f.cutList.decimalPlacesInch = 3;
  f.Cut(1, 4, "10", "1");
  ComputeColumn(f.cutList, f.macPar, 1);
  EXPECT_EQ(f.Text(3, 1), "10.52");  // 10 + 3.2/25.4 + 10/25.4 = 10.5197
  ComputeColumn(f.cutList, f.macPar, 1, 1);  // an override is used unchanged
  EXPECT_EQ(f.Text(3, 1), "11.126");
}

TEST(ComputeColumn, EmptyGroupKeepsItsBoardLengthAndOldRemainders) {
  CutListFixture f;
  f.Board(1, "2440");
  f.grid().SetText(5, 5, "old");
  f.Cut(1, 5, "300", "1");  // after an empty first cut row: ignored
  ComputeColumn(f.cutList, f.macPar, 1);
  EXPECT_EQ(f.Text(3, 1), "2440");
  EXPECT_EQ(f.Text(5, 5), "old");
}

TEST(ComputeColumn, RowsAfterTheFirstEmptyPositionAreIgnored) {
  CutListFixture f;
  f.Cut(1, 4, "500", "1");
  f.Cut(1, 6, "300", "1");
  f.grid().SetText(6, 5, "keep");
  ComputeColumn(f.cutList, f.macPar, 1);
  EXPECT_EQ(f.Text(3, 1), "513.2");
  EXPECT_EQ(f.Text(6, 5), "keep");
}

TEST(ComputeColumn, HostileValuesDoNotBreakTheCells) {
  CutListFixture f;
  f.Cut(1, 4, "1e38", "99");
  ComputeColumn(f.cutList, f.macPar, 1);  // overflows single precision
  EXPECT_EQ(f.Text(3, 1), "");
  f.grid().SetText(kTotalRow, 0, "row label");
  EXPECT_EQ(ComputeColumn(f.cutList, f.macPar, 0), 0);  // no group: nothing is written
  EXPECT_EQ(f.Text(kTotalRow, 0), "row label");
}

}  // namespace
}  // namespace orl
