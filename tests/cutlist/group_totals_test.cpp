#include <gtest/gtest.h>

#include "cut_list_fixture.h"

namespace orl {
namespace {

using testing::CutListFixture;

TEST(ComputeColumn, TotalAndRemaindersOfTheWorkedExample) {
  CutListFixture f;
  f.Cut(1, 4, "500", "2");
  f.Cut(1, 5, "300", "1");
  int column = 1;
  float noOverride = 0;
  ComputeColumn(f.cutList, f.macPar, column, noOverride);
  EXPECT_EQ(f.Text(3, 1), "1319.6");
  EXPECT_EQ(f.Text(4, 5), "303.2");
  EXPECT_EQ(f.Text(5, 5), "0");
}

TEST(ComputeColumn, QtyColumnIsMovedBackToPosition) {
  CutListFixture f;
  f.Cut(2, 4, "100", "3");
  int column = PositionColumnOfGroup(2) + kQtyOffset;
  float noOverride = 0;
  ComputeColumn(f.cutList, f.macPar, column, noOverride);
  EXPECT_EQ(column, 7);
  EXPECT_EQ(f.Text(3, 7), "319.6");  // 103.2 x 3 + 10
}

TEST(ComputeColumn, InchUnitsConvertKerfAndMachineTrim) {
  CutListFixture f;
  f.cutList.Units = kInch;
  f.cutList.decimalPlacesInch = 3;
  f.Cut(1, 4, "10", "1");
  int column = 1;
  float noOverride = 0;
  ComputeColumn(f.cutList, f.macPar, column, noOverride);
  EXPECT_EQ(f.Text(3, 1), "10.52");  // 10 + 3.2/25.4 + 10/25.4 = 10.5197
  float trimOverride = 1;              // an override is used unchanged
  ComputeColumn(f.cutList, f.macPar, column, trimOverride);
  EXPECT_EQ(f.Text(3, 1), "11.126");
}

TEST(ComputeColumn, EmptyGroupKeepsItsBoardLengthAndOldRemainders) {
  CutListFixture f;
  f.Board(1, "2440");
  f.grid().SetText(5, 5, "old");
  f.Cut(1, 5, "300", "1");  // after an empty first cut row: ignored
  int column = 1;
  float noOverride = 0;
  ComputeColumn(f.cutList, f.macPar, column, noOverride);
  EXPECT_EQ(f.Text(3, 1), "2440");
  EXPECT_EQ(f.Text(5, 5), "old");
}

TEST(ComputeColumn, RowsAfterTheFirstEmptyPositionAreIgnored) {
  CutListFixture f;
  f.Cut(1, 4, "500", "1");
  f.Cut(1, 6, "300", "1");
  f.grid().SetText(6, 5, "keep");
  int column = 1;
  float noOverride = 0;
  ComputeColumn(f.cutList, f.macPar, column, noOverride);
  EXPECT_EQ(f.Text(3, 1), "513.2");
  EXPECT_EQ(f.Text(6, 5), "keep");
}

TEST(ComputeColumn, HostileValuesDoNotBreakTheCells) {
  CutListFixture f;
  f.Cut(1, 4, "1e38", "99");
  int column = 1;
  float noOverride = 0;
  ComputeColumn(f.cutList, f.macPar, column, noOverride);  // overflows single precision
  EXPECT_EQ(f.Text(3, 1), "");
  int noColumn = 0;
  ComputeColumn(f.cutList, f.macPar, noColumn, noOverride);
}

}  // namespace
}  // namespace orl
