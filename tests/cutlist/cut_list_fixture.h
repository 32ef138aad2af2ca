#pragma once
// A laid-out cut list with machine parameters, and a way to type cuts.
#include <string>

#include "saw/cutlist/cut_list.h"
#include "saw/shell/machine_parameters.h"

namespace orl::testing {

struct CutListFixture {
  CutList cutList;
  CellGrid macPar = MakeMacParGrid();

  CutListFixture(const std::string& kerf = "3.2", const std::string& rearTrim = "10") {
    Setupcutlist(cutList);
    macPar.SetText(kSawKerfRow, 1, kerf);
    macPar.SetText(kRearTrimRow, 1, rearTrim);
  }

  CellGrid& grid() { return cutList.grid; }

  // Board length in row 3 of group g.
  void Board(int group, const std::string& length) {
    grid().SetText(kTotalRow, PositionColumnOfGroup(group), length);
  }

  // A cut in row r of group g.
  void Cut(int group, int row, const std::string& position, const std::string& qty, const std::string& groove = "") {
    const int p = PositionColumnOfGroup(group);
    grid().SetText(row, p, position);
    grid().SetText(row, p + kQtyOffset, qty);
    grid().SetText(row, p + kGrooveOffset, groove);
  }

  const std::string& Text(int row, int column) { return grid().Text(row, column); }
};

}  // namespace orl::testing
