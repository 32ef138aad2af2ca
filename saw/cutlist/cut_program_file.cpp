#include "saw/cutlist/cut_program_file.h"

#include <fstream>

#include "saw/cutlist/cell_text.h"
#include "saw/cutlist/cut_list.h"
#include "saw/shell/atomic_file.h"

namespace orl {
namespace {

// A cut program is at most a few megabytes; reading stops here so a wrongly
// chosen huge file cannot exhaust memory, and a file this long is none.
constexpr std::size_t kMaxFileBytes = 16 * 1024 * 1024;

bool NeedsQuotes(std::string_view field) { return field.find_first_of(",\"\r\n") != std::string_view::npos; }

void AppendField(std::string& out, std::string_view field) {
  if (!NeedsQuotes(field)) {
    out += field;
    return;
  }
  out += '"';
  for (char c : field) {
    if (c == '"') out += '"';
    out += c;
  }
  out += '"';
}

// RFC 4180 reader handing every field to onField(row, column, text), one
// at a time, rows and columns counted from 1.
template <typename OnField>
class CsvReader {
 public:
  explicit CsvReader(OnField onField) : onField_(onField) {}

  void Read(std::string_view text) {
    bool quoted = false;
    for (std::size_t i = 0; i < text.size(); ++i) {
      const char c = text[i];
      if (quoted) {
        if (c != '"') Append(c);
        else if (i + 1 < text.size() && text[i + 1] == '"') Append(text[++i]);
        else quoted = false;
      } else if (c == '"') {
        quoted = true;
      } else if (c == ',') {
        EndField();
      } else if (c == '\r' || c == '\n') {
        if (c == '\r' && i + 1 < text.size() && text[i + 1] == '\n') ++i;
        EndRow();
      } else {
        Append(c);
      }
    }
    if (!field_.empty() || column_ > 1) EndRow();
  }

 private:
  // One byte beyond the cell's room is kept, so the cut can tell whether it
  // splits a character.
  void Append(char c) {
    if (field_.size() <= kMaxCellTextLength) field_ += c;
  }
  void EndField() {
    onField_(row_, column_, field_);
    field_.clear();
    ++column_;
  }
  void EndRow() {
    EndField();
    ++row_;
    column_ = 1;
  }

  OnField onField_;
  std::string field_;
  int row_ = 1;
  int column_ = 1;
};

template <typename OnField>
void ReadCsv(std::string_view text, OnField onField) {
  CsvReader<OnField>(onField).Read(text);
}

// A cut program holds text, and nothing outside the cut list's rows and
// columns; anything else was not written as one and must not be
// rewritten as one.
bool IsCutProgramText(std::string_view text) {
  if (text.size() >= kMaxFileBytes || text.find('\0') != std::string_view::npos) return false;
  bool outside = false;
  ReadCsv(text, [&](int row, int column, const std::string& field) {
    outside = outside || (!field.empty() && (row > kCutListRows || column > kCutListColumns));
  });
  return !outside;
}

}  // namespace

std::string CutProgramText(const CellGrid& grid) {
  auto lastFilledColumn = [&](int row) {
    int column = grid.Columns();
    while (column > 0 && grid.Text(row, column).empty()) --column;
    return column;
  };
  int lastRow = kCutListRows;
  while (lastRow > 0 && lastFilledColumn(lastRow) == 0) --lastRow;
  std::string text;
  for (int row = 1; row <= lastRow; ++row) {
    const int lastColumn = lastFilledColumn(row);
    for (int column = 1; column <= lastColumn; ++column) {
      if (column > 1) text += ',';
      AppendField(text, grid.Text(row, column));
    }
    text += "\r\n";
  }
  return text;
}

void ReadCutProgramText(std::string_view text, CellGrid& grid) {
  grid.ClearBlock(1, 1, kCutListRows, grid.Columns());
  ReadCsv(text, [&](int row, int column, const std::string& field) {
    if (row <= kCutListRows && column <= grid.Columns())
      grid.SetText(row, column, Utf8Prefix(field, kMaxCellTextLength));
  });
}

CutProgramRead ReadCutProgramFile(const std::string& path, CellGrid& grid) {
  std::ifstream file(path, std::ios::binary);
  if (!file) return CutProgramRead::kUnreadable;
  std::string text;
  char chunk[64 * 1024];
  while (text.size() < kMaxFileBytes && file.read(chunk, sizeof chunk).gcount() > 0)
    text.append(chunk, static_cast<std::size_t>(file.gcount()));
  if (file.bad()) return CutProgramRead::kUnreadable;
  if (!IsCutProgramText(text)) return CutProgramRead::kNotACutProgram;
  ReadCutProgramText(text, grid);
  return CutProgramRead::kRead;
}

bool LoadCutProgramFile(const std::string& path, CellGrid& grid) {
  return ReadCutProgramFile(path, grid) == CutProgramRead::kRead;
}

bool SaveCutProgramFile(const std::string& path, const CellGrid& grid) {
  return WriteFileAtomically(path, CutProgramText(grid));
}

bool SaveCutProgramFile(const std::string& path, const CellGrid& grid, std::error_code& error) {
  return WriteFileAtomically(path, CutProgramText(grid), error);
}

}  // namespace orl
