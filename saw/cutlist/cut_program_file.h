#pragma once
// The cut-program file: UTF-8 CSV where line i is cut-list row i (1..51)
// and field j is column j (1..198). Writers drop trailing empty fields and
// rows; readers treat what is missing as empty. A file with data that does
// not fit is not a cut program and is not loaded.
#include <string>
#include <string_view>
#include <system_error>

#include "saw/cutlist/cut_list.h"
#include "saw/shell/cell_grid.h"

namespace orl {

std::string CutProgramText(const CellGrid& grid);

// Replaces every data cell of the grid (rows 1..51, its columns) with the
// fields of text; cells the text does not reach become empty, fields
// beyond them are ignored.
void ReadCutProgramText(std::string_view text, CellGrid& grid);

enum class CutProgramRead { kRead, kUnreadable, kNotACutProgram };

// Loads the file into the grid. A file that cannot be read, or that holds
// NUL bytes or data outside rows 1..51 and columns 1..198, leaves the grid
// untouched.
CutProgramRead ReadCutProgramFile(const std::string& path, CellGrid& grid);

// The same as a yes or no: true when the file was loaded.
bool LoadCutProgramFile(const std::string& path, CellGrid& grid);

// Atomic: on failure the old file stays as it was.
bool SaveCutProgramFile(const std::string& path, const CellGrid& grid);
// The same, with the system's reason for a failure.
bool SaveCutProgramFile(const std::string& path, const CellGrid& grid, std::error_code& error);

}  // namespace orl
