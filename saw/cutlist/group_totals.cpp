// A group's board total (row 3) and the remainder after each cut.
#include <algorithm>
#include <cmath>

#include "saw/cutlist/cut_list.h"
#include "saw/shell/machine_parameters.h"
#include "saw/shell/text_number.h"

namespace orl {
namespace {

// Totals are worked out in single precision, the conversion factor too.
constexpr float kMillimetresPerInchSingle = static_cast<float>(kMillimetresPerInch);
constexpr int kRemainderDecimals = 1;

float CellValue(const CellGrid& grid, int row, int column) { return static_cast<float>(Val(grid.Text(row, column))); }

// Writes a computed length unless it is no number at all (a hostile
// program file can make the sum overflow).
void WriteLength(CellGrid& grid, int row, int column, float value, int decimals) {
  if (std::isfinite(value)) SetCellText(grid, row, column, NumberCellText(value, decimals));
}

}  // namespace

int ComputeColumn(CutList& cutList, const CellGrid& macPar, int column, float trimOverride) {
  if (column < 1) return column;
  float kerf = static_cast<float>(MachineParameter(macPar, kSawKerfRow));
  const bool trimFromMachine = trimOverride == 0;
  float trim = trimFromMachine ? static_cast<float>(MachineParameter(macPar, kRearTrimRow)) : trimOverride;
  if (cutList.InchSelected()) {
    kerf /= kMillimetresPerInchSingle;
    if (trimFromMachine) trim /= kMillimetresPerInchSingle;
  }
  CellGrid& grid = cutList.grid;
  if (grid.Text(0, column) == "Qty") --column;

  auto walkCuts = [&](auto&& onCut) {
    for (int row = kFirstCutRow; row <= kCutListRows; ++row) {
      const float piece = CellValue(grid, row, column);
      if (piece == 0) break;
      // Counted as the run will cut it: a quantity beyond what a cut holds is that most.
      const int quantity = std::min(RoundHalfEven(Val(grid.Text(row, column + kQtyOffset))), kMaxCellQuantity);
      onCut(row, (piece + kerf) * static_cast<float>(quantity));
    }
  };

  float sum = 0;
  walkCuts([&](int, float taken) { sum += taken; });
  if (sum > 0) WriteLength(grid, kTotalRow, column, sum + trim, cutList.PositionDecimals());

  float remainder = sum;
  walkCuts([&](int row, float taken) {
    remainder -= taken;
    WriteLength(grid, row, column + kRmdrOffset, remainder, kRemainderDecimals);
  });
  return column;
}

}  // namespace orl
