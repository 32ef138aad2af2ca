// The walk over the selected cut groups that makes the pusher targets.
#include "saw/cutlist/positions.h"

#include <algorithm>
#include <cmath>

#include "saw/cutlist/cut_list.h"
#include "saw/shell/machine_parameters.h"
#include "saw/shell/text_number.h"

namespace orl {
namespace {

// A stroke count beyond the whole list's limit trips the limit anyway; the
// bound only keeps the count a valid integer.
constexpr double kMaxStrokes = static_cast<double>(kMaxPosEntries) + 1;

class PositionWalk {
 public:
  PositionWalk(CutList& cutList, double kerf, bool absoluteMode, std::int32_t& runningPos, PosList& posList)
      : grid_(cutList.grid),
        inch_(cutList.InchSelected()),
        kerf_(kerf),
        absoluteMode_(absoluteMode),
        runningPos_(runningPos),
        posList_(posList) {}

  // False when the list would pass kMaxPosEntries; the list is then left
  // empty.
  bool Run(int startColumn, int endColumn) {
    int row = kTotalRow;
    int qtyColumn = startColumn;
    bool first = true;
    int remaining = 0;
    posList_ = EmptyPosList();
    for (;;) {
      if (remaining == 0) remaining = Quantity(row, qtyColumn);
      if (row == kTotalRow) remaining = 1;
      if (!EmitCut(row, qtyColumn - 1, first)) {
        PosList().swap(posList_);  // gives the memory back
        posList_ = EmptyPosList();
        return false;
      }
      --remaining;
      if (row == grid_.Rows()) return true;
      if (remaining == 0) ++row;
      if (Value(row, qtyColumn) != 0) {
        first = false;
        continue;
      }
      const int nextPosition = qtyColumn + 5;
      if (nextPosition > endColumn || Value(kTotalRow, nextPosition) == 0) return true;
      qtyColumn = nextPosition + 1;
      row = kTotalRow;
      first = true;
    }
  }

 private:
  double Value(int row, int column) const { return Val(grid_.Text(row, column)); }

  int Quantity(int row, int qtyColumn) const {
    const int quantity = std::clamp(RoundHalfEven(Value(row, qtyColumn)), 0, kMaxCellQuantity);
    return quantity == 0 ? 1 : quantity;
  }

  // Saw strokes a groove needs: the groove divided by the kerf, a part
  // stroke counting as a whole one. Without a kerf the groove is cut in a
  // single stroke.
  int StrokeCount(double groove) const {
    if (kerf_ <= 0) return 1;
    const double quotient = groove / kerf_;
    const double whole = std::floor(quotient);
    return static_cast<int>(std::clamp(quotient == whole ? whole : whole + 1, -1.0, kMaxStrokes));
  }

  // What a cut row asks for, read once per row rather than once per piece.
  struct CutRow {
    int row = -1;
    int positionColumn = -1;
    double groove = 0;
    int strokes = 0;
    double step = 0;
    double move = 0;
  };

  const CutRow& ReadCutRow(int row, int positionColumn) {
    if (cut_.row == row && cut_.positionColumn == positionColumn) return cut_;
    cut_ = CutRow{row, positionColumn};
    cut_.groove = row > kTotalRow ? Value(row, positionColumn + kGrooveOffset) : 0.0;
    if (cut_.groove != 0) {
      cut_.strokes = StrokeCount(cut_.groove);
      if (cut_.strokes != 0) cut_.step = cut_.groove / cut_.strokes * 10;
    }
    double piece = Value(row, positionColumn);
    if (inch_) piece *= kMillimetresPerInch;
    cut_.move = RoundHalfAwayFromZero(kerf_ + piece, 1) * 10;
    return cut_;
  }

  // False, with nothing emitted past the limit, when the list is full.
  bool EmitCut(int row, int positionColumn, bool first) {
    const CutRow& cut = ReadCutRow(row, positionColumn);
    const double groove = cut.groove;
    const double step = cut.step;
    int strokes = cut.strokes;
    double move = cut.move;
    do {
      if (static_cast<std::size_t>(UpperBound(posList_)) >= kMaxPosEntries) return false;
      PosEntry entry;
      entry.CellRow = row;
      entry.CellCol = positionColumn;
      entry.NewBoard = first;
      runningPos_ = first ? RoundHalfEven(move) : RoundHalfEven(static_cast<double>(runningPos_) - move);
      entry.Target = absoluteMode_ ? runningPos_ : RoundHalfEven(move);
      entry.GrooveStroke = groove != 0;
      posList_.push_back(entry);
      --strokes;
      move = step;
    } while (strokes > 0);
    return true;
  }

  const CellGrid& grid_;
  const bool inch_;
  const double kerf_;
  const bool absoluteMode_;
  std::int32_t& runningPos_;
  PosList& posList_;
  CutRow cut_;
};

}  // namespace

bool BuildPositionList(CutList& cutList, const CellGrid& macPar, bool absoluteMode, std::int32_t& runningPos,
                       PosList& posList, bool* tooLong) {
  const CellGrid& grid = cutList.grid;
  // The operator's block, else the operator's cursor: never the active
  // cell, which every hand-over moves to the cut being made.
  const int firstColumn = grid.SelectionFirstColumn();
  const int lastColumn = grid.SelectionLastColumn();
  const int startColumn = ColsPerGroup * (firstColumn / ColsPerGroup) + 2;
  int endColumn = ColsPerGroup * (lastColumn / ColsPerGroup) + 2;
  if (startColumn == endColumn) endColumn = grid.Columns();

  const std::int32_t runningPosBefore = runningPos;
  PositionWalk walk(cutList, MachineParameter(macPar, kSawKerfRow), absoluteMode, runningPos, posList);
  const bool fits = walk.Run(startColumn, endColumn);
  if (tooLong) *tooLong = !fits;
  if (!fits) {
    runningPos = runningPosBefore;
    return false;
  }
  return UpperBound(posList) > 1 || (UpperBound(posList) == 1 && posList[1].Target != 0);
}

}  // namespace orl
