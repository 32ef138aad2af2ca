#pragma once
// The cut-program file: UTF-8 CSV where line i is cut-list row i (1..51)
// and field j is column j (1..198). Writers drop trailing empty fields and
// rows; readers treat what is missing as empty and ignore what does not fit.
#include <string>
#include <string_view>

#include "saw/cutlist/cut_list.h"
#include "saw/shell/cell_grid.h"

namespace orl {

std::string CutProgramText(const CellGrid& grid);

// Replaces every data cell of the grid (rows 1..51, its columns) with the
// fields of text; cells the text does not reach become empty.
void ReadCutProgramText(std::string_view text, CellGrid& grid);

// False (and the grid untouched) when the file cannot be read.
bool LoadCutProgramFile(const std::string& path, CellGrid& grid);

// Atomic: on failure the old file stays as it was.
bool SaveCutProgramFile(const std::string& path, const CellGrid& grid);

}  // namespace orl
