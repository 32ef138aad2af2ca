#pragma once
// What a grid cell accepts from the operator and how it shows its text.
// The cell editors only help while typing; these rules decide.
#include <optional>
#include <string>
#include <string_view>

#include "saw/shell/cell_grid.h"

namespace orl {

// The text an edit of (row, column) stores, or nothing when the cell takes
// no edit (outside the grid, locked, a button) or the text does not fit the
// cell: a number cell takes an empty text, or a number within its range
// with no more than its decimal places (a decimal comma counts as a
// decimal point); a text cell with a length limit is cut to it.
std::optional<std::string> AcceptedCellText(const CellGrid& grid, int row, int column, std::string_view typed);

// Stores an edit that AcceptedCellText accepts. Returns whether it did.
bool EditCell(CellGrid& grid, int row, int column, std::string_view typed);

// The text a cell shows: a number cell shows a number with its decimal
// places ("250" in a one-decimal cell shows "250.0"); other texts as stored.
std::string ShownCellText(const CellGrid& grid, int row, int column);

}  // namespace orl
