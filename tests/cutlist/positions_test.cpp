#include "saw/cutlist/positions.h"

#include <gtest/gtest.h>

#include <vector>

#include "cut_list_fixture.h"

namespace orl {
namespace {

using testing::CutListFixture;

std::vector<std::int32_t> Targets(const PosList& list) {
  std::vector<std::int32_t> targets;
  for (int i = 1; i <= UpperBound(list); ++i) targets.push_back(list[i].Target);
  return targets;
}

struct Made {
  bool result;
  PosList list;
  std::int32_t runningPos;
};

Made Make(CutListFixture& f, bool absolute, std::int32_t runningPos = 0) {
  PosList list;
  const bool result = BuildPositionList(f.cutList, f.macPar, absolute, runningPos, list);
  return {result, list, runningPos};
}

// The worked example: board 1319.6, 500 x 2 and 300 x 1 with kerf 3.2.
CutListFixture Example() {
  CutListFixture f;
  f.Board(1, "1319.6");
  f.Cut(1, 4, "500", "2");
  f.Cut(1, 5, "300", "1");
  f.grid().SetActiveCell(3, 1);
  return f;
}

TEST(MakePositions, AbsoluteAndRelativeTargetsOfTheWorkedExample) {
  auto f = Example();
  const Made made = Make(f, /*absolute=*/true);
  EXPECT_TRUE(made.result);
  EXPECT_EQ(Targets(made.list), (std::vector<std::int32_t>{13228, 8196, 3164, 132}));
  EXPECT_TRUE(made.list[1].NewBoard);
  EXPECT_FALSE(made.list[2].NewBoard);
  EXPECT_EQ(made.list[1].CellRow, 3);
  EXPECT_EQ(made.list[3].CellRow, 4);
  EXPECT_EQ(made.list[4].CellRow, 5);
  EXPECT_EQ(made.list[4].CellCol, 1);
  EXPECT_EQ(made.runningPos, 132);
  // Relative targets are the moves, with the same running position.
  const Made relative = Make(f, /*absolute=*/false);
  EXPECT_EQ(Targets(relative.list), (std::vector<std::int32_t>{13228, 5032, 5032, 3032}));
  EXPECT_EQ(relative.runningPos, 132);
}

TEST(MakePositions, GrooveAddsEvenlySpacedStrokes) {
  auto f = Example();
  f.grid().SetText(4, 3, "8");
  const Made made = Make(f, true);
  EXPECT_EQ(Targets(made.list),
            (std::vector<std::int32_t>{13228, 8196, 8169, 8142, 3110, 3083, 3056, 24}));
  for (int i = 2; i <= 7; ++i) EXPECT_TRUE(made.list[i].GrooveStroke) << i;
  EXPECT_FALSE(made.list[8].GrooveStroke);
  const Made relative = Make(f, false);
  EXPECT_EQ(relative.list[3].Target, 27);  // 26.67 tenths
}

TEST(MakePositions, GrooveWithoutKerfIsOneStroke) {
  CutListFixture f("0");
  f.Board(1, "1000");
  f.Cut(1, 4, "500", "1", "8");
  const Made made = Make(f, true);
  EXPECT_EQ(Targets(made.list), (std::vector<std::int32_t>{10000, 5000}));
  EXPECT_TRUE(made.list[2].GrooveStroke);
}

TEST(MakePositions, InchPiecesAreConvertedButKerfIsNot) {
  CutListFixture f;
  f.cutList.Units = kInch;
  f.Board(1, "20");
  f.Cut(1, 4, "10", "1");
  const Made made = Make(f, false);
  EXPECT_EQ(made.list[2].Target, 2572);
}

// A run starts at the group of the cell the operator chose (a separator
// column counting as the next group), not at the cell being cut, and runs to
// the end of the list.
TEST(MakePositions, OneChosenGroupRunsToTheEndOfTheList) {
  CutListFixture f;
  for (int group = 1; group <= 3; ++group) {
    f.Board(group, "1000");
    f.Cut(group, 4, "100", "1");
  }
  f.grid().SetActiveCell(4, 13);  // where the last hand-over of a run leaves the active cell
  Made made = Make(f, true);
  ASSERT_EQ(UpperBound(made.list), 6);
  EXPECT_EQ(made.list[1].CellCol, 1);
  for (int cursorColumn : {8, 6}) {
    f.cutList.grid.MoveCursor(4, cursorColumn);
    made = Make(f, true);
    ASSERT_EQ(UpperBound(made.list), 4) << cursorColumn;
    EXPECT_EQ(made.list[1].CellCol, 7) << cursorColumn;
    EXPECT_EQ(made.list[3].CellCol, 13) << cursorColumn;
  }
}

TEST(MakePositions, BlockSelectionStopsAtAnEmptyBoard) {
  CutListFixture f;
  for (int group : {1, 2, 4, 5}) {
    f.Board(group, "1000");
    f.Cut(group, 4, "100", "1");
  }
  f.grid().SetBlockSelection(7, 20);  // groups 2 to 4; group 3 has no board
  Made made = Make(f, true);
  ASSERT_EQ(UpperBound(made.list), 2);
  EXPECT_EQ(made.list[2].CellCol, 7);

  f.Board(3, "1000");
  made = Make(f, true);
  ASSERT_EQ(UpperBound(made.list), 5);  // groups 2, 3 (board only) and 4, not 5
  EXPECT_EQ(made.list[5].CellCol, 19);
}

TEST(MakePositions, CutInTheLastRowEndsTheList) {
  CutListFixture f;
  f.Board(1, "9000");
  for (int row = 4; row <= 51; ++row) f.Cut(1, row, "10", "1");
  f.Cut(1, 51, "10", "5");
  f.Board(2, "1000");
  const Made made = Make(f, true);
  EXPECT_EQ(UpperBound(made.list), 1 + 48);
  EXPECT_EQ(made.list[UpperBound(made.list)].CellRow, 51);
}

TEST(MakePositions, ResultFlag) {
  CutListFixture f;
  Made made = Make(f, true);  // nothing typed: the head entry is the kerf alone
  EXPECT_TRUE(made.result);
  EXPECT_EQ(Targets(made.list), std::vector<std::int32_t>{32});
  CutListFixture noKerf("");
  made = Make(noKerf, true);
  EXPECT_FALSE(made.result);
  EXPECT_EQ(UpperBound(made.list), 1);
}

TEST(MakePositions, QuantityAndEmptyPositionRules) {
  CutListFixture f;
  f.Board(1, "1000");
  f.Cut(1, 4, "100", "3");
  f.Cut(1, 5, "", "1");  // a quantity without a position moves by the kerf
  f.Cut(1, 6, "50", "0");
  const Made made = Make(f, false);
  EXPECT_EQ(Targets(made.list), (std::vector<std::int32_t>{10032, 1032, 1032, 1032, 32}));
}

TEST(MakePositions, HostileQuantitiesStillEnd) {
  CutListFixture f;
  f.Board(1, "1000");
  f.Cut(1, 4, "100", "-3");
  f.Cut(1, 5, "100", "1e9");
  const Made made = Make(f, false);
  EXPECT_EQ(UpperBound(made.list), 1 + 1 + kMaxCellQuantity);
}

TEST(MakePositions, QuantitiesAboveNinetyNineAreCutAsTheTotalCountsThem) {
  CutListFixture f;
  f.Board(1, "20000");
  f.Cut(1, 4, "100", "150");
  ComputeColumn(f.cutList, f.macPar, 1);
  EXPECT_EQ(f.Text(kTotalRow, 1), "15490");  // 150 x 103.2 + 10
  const Made made = Make(f, false);
  EXPECT_EQ(UpperBound(made.list), 1 + 150);
}

TEST(MakePositions, ThinKerfGroovesAreCutWhole) {
  CutListFixture f("0.5");
  f.Board(1, "2000");
  f.Cut(1, 4, "500", "1", "999");
  const Made made = Make(f, true);
  EXPECT_EQ(UpperBound(made.list), 1 + 1998);  // 999 / 0.5 strokes, none dropped
}

// Groove strokes count toward the limit as cuts do.
TEST(MakePositions, AListOfExactlyTheLimitIsMadeAndOneMoreIsRefused) {
  CutListFixture f("1");
  f.Board(1, "1000");
  f.Cut(1, 4, "1", "19999", "100");  // 100 strokes a piece
  const int rest = static_cast<int>(kMaxPosEntries) - 1 - 19999 * 100;
  f.Cut(1, 5, "1", std::to_string(rest));
  bool tooLong = true;
  PosList list;
  std::int32_t runningPos = 0;
  EXPECT_TRUE(BuildPositionList(f.cutList, f.macPar, true, runningPos, list, &tooLong));
  EXPECT_FALSE(tooLong);
  EXPECT_EQ(static_cast<std::size_t>(UpperBound(list)), kMaxPosEntries);
  EXPECT_EQ(list.back().CellRow, 5);

  f.Cut(1, 5, "1", std::to_string(rest + 1));
  const std::int32_t runningPosBefore = runningPos;
  EXPECT_FALSE(BuildPositionList(f.cutList, f.macPar, true, runningPos, list, &tooLong));
  EXPECT_TRUE(tooLong);
  EXPECT_EQ(UpperBound(list), 0);  // the list before is not left for the saw
  EXPECT_EQ(runningPos, runningPosBefore);
}

}  // namespace
}  // namespace orl
