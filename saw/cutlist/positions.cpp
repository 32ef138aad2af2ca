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

// RoundHalfEven for the values of a list, without the save and restore of
// the rounding mode that std::nearbyint makes and that would be most of a
// long list's cost: adding and taking away 2^52 rounds a double of less than
// 2^31 to the nearest integer, halves to even, in the default mode. Other
// values (and NaN) take the general path.
std::int32_t RoundEven(double value) {
  constexpr double kShift = 4503599627370496.0;  // 2^52
  if (!(std::fabs(value) < 2147483647.0)) return RoundHalfEven(value);
  return static_cast<std::int32_t>(value < 0 ? (value - kShift) + kShift : (value + kShift) - kShift);
}

// What one row of a group asks for, read from its cells once.
struct CutRow {
  int row = 0;
  int positionColumn = 0;
  int pieces = 1;   // the row's quantity; the head and the grid's last row cut one
  int strokes = 0;  // saw strokes per piece; 0 or less still cuts once
  double step = 0;  // the move of each further stroke, in tenths
  double move = 0;  // kerf plus piece, in tenths
  bool groove = false;

  std::uint64_t Entries() const {
    return static_cast<std::uint64_t>(pieces) * static_cast<std::uint64_t>(std::max(strokes, 1));
  }
};

// The walk runs in two passes: the first reads the rows and counts the
// entries, so that a list over the limit is refused before anything is
// made (the scan loop asks again on every tick while the PLC holds "Set To
// Beginning"), and the second writes the list into room reserved once.
class PositionWalk {
 public:
  PositionWalk(const CutList& cutList, double kerf) : grid_(cutList.grid), inch_(cutList.InchSelected()), kerf_(kerf) {}

  // Reads the groups from the one of startColumn on; false, as soon as the
  // count passes kMaxPosEntries, when the list would be too long.
  bool Plan(int startColumn, int endColumn) {
    int qtyColumn = startColumn;
    for (;;) {
      const int positionColumn = qtyColumn - 1;
      if (!Add(ReadRow(kTotalRow, positionColumn, 1))) return false;
      if (kTotalRow == grid_.Rows()) return true;
      for (int row = kFirstCutRow; row <= grid_.Rows(); ++row) {
        const double quantity = Value(row, qtyColumn);
        if (quantity == 0) break;  // the group ends at its first row without a quantity
        // A cut in the grid's last row is cut once and ends the whole list.
        const bool lastRow = row == grid_.Rows();
        if (!Add(ReadRow(row, positionColumn, lastRow ? 1 : Pieces(quantity)))) return false;
        if (lastRow) return true;
      }
      const int nextPosition = qtyColumn + 5;
      if (nextPosition > endColumn || Value(kTotalRow, nextPosition) == 0) return true;
      qtyColumn = nextPosition + 1;
    }
  }

  std::size_t Entries() const { return static_cast<std::size_t>(entries_); }

  // Writes the planned entries after the placeholder; runningPos carries the
  // last absolute target.
  void Emit(bool absoluteMode, std::int32_t& runningPos, PosList& posList) const {
    posList.clear();
    posList.reserve(Entries() + 1);
    posList.emplace_back();
    for (const CutRow& cut : rows_) {
      const bool first = cut.row == kTotalRow;
      for (int piece = 0; piece < cut.pieces; ++piece) {
        int strokes = cut.strokes;
        double move = cut.move;
        do {
          runningPos = first ? RoundEven(move) : RoundEven(static_cast<double>(runningPos) - move);
          posList.push_back(
              PosEntry{absoluteMode ? runningPos : RoundEven(move), cut.row, cut.positionColumn, first, cut.groove});
          --strokes;
          move = cut.step;
        } while (strokes > 0);
      }
    }
  }

 private:
  double Value(int row, int column) const { return Val(grid_.Text(row, column)); }

  static int Pieces(double quantity) {
    const int pieces = std::clamp(RoundHalfEven(quantity), 0, kMaxCellQuantity);
    return pieces == 0 ? 1 : pieces;
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

  CutRow ReadRow(int row, int positionColumn, int pieces) const {
    CutRow cut{row, positionColumn, pieces};
    const double groove = row > kTotalRow ? Value(row, positionColumn + kGrooveOffset) : 0.0;
    cut.groove = groove != 0;
    if (cut.groove) {
      cut.strokes = StrokeCount(groove);
      if (cut.strokes != 0) cut.step = groove / cut.strokes * 10;
    }
    double piece = Value(row, positionColumn);
    if (inch_) piece *= kMillimetresPerInch;
    cut.move = RoundHalfAwayFromZero(kerf_ + piece, 1) * 10;
    return cut;
  }

  bool Add(const CutRow& cut) {
    entries_ += cut.Entries();
    if (entries_ > kMaxPosEntries) return false;
    rows_.push_back(cut);
    return true;
  }

  const CellGrid& grid_;
  const bool inch_;
  const double kerf_;
  std::vector<CutRow> rows_;
  std::uint64_t entries_ = 0;
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

  PositionWalk walk(cutList, MachineParameter(macPar, kSawKerfRow));
  const bool fits = walk.Plan(startColumn, endColumn);
  if (tooLong) *tooLong = !fits;
  if (!fits) {
    posList = EmptyPosList();  // the list before is let go: it is not what the cut list asks for
    return false;
  }
  walk.Emit(absoluteMode, runningPos, posList);
  return UpperBound(posList) > 1 || (UpperBound(posList) == 1 && posList[1].Target != 0);
}

}  // namespace orl
