#include "csv.h"

namespace queldb::tool {
namespace {

constexpr int kEnd = std::char_traits<char>::eof();

}  // namespace

std::optional<CsvRow> CsvReader::Next() {
  auto row = NextRecord();
  // Spreadsheet programs often start UTF-8 CSV files with a byte order mark.
  if (row && !started_ && row->front().starts_with("\xEF\xBB\xBF")) row->front().erase(0, 3);
  started_ = true;
  return row;
}

std::optional<CsvRow> CsvReader::NextRecord() {
  CsvRow row;
  std::string field;
  bool quoted = false, rowHasContent = false;
  std::size_t bytes = 0;
  for (int c = in_.sbumpc(); c != kEnd; c = in_.sbumpc()) {
    if (++bytes > kMaxRecordBytes) throw CsvError("a record is longer than 1 MiB");
    if (!rowHasContent && field.empty()) recordLine_ = line_;
    if (quoted) {
      if (c != '"') {
        if (c == '\n' || (c == '\r' && in_.sgetc() != '\n')) ++line_;
        field += static_cast<char>(c);
      } else if (in_.sgetc() == '"') {
        field += '"';
        in_.sbumpc();
      } else {
        quoted = false;
      }
    } else if (c == '"') {
      quoted = rowHasContent = true;
    } else if (c == ',') {
      row.push_back(std::move(field));
      field.clear();
      rowHasContent = true;
    } else if (c == '\n' || c == '\r') {
      if (c == '\r' && in_.sgetc() == '\n') in_.sbumpc();
      ++line_;
      if (rowHasContent || !field.empty()) {
        row.push_back(std::move(field));
        return row;
      }
    } else {
      field += static_cast<char>(c);
      rowHasContent = true;
    }
  }
  if (quoted) throw CsvError("a quoted field is never closed");
  if (!rowHasContent && field.empty()) return std::nullopt;
  row.push_back(std::move(field));
  return row;
}

std::string CsvField(const std::string& text) {
  if (text.find_first_of(",\"\r\n") == std::string::npos) return text;
  std::string quoted = "\"";
  for (char c : text) {
    if (c == '"') quoted += '"';
    quoted += c;
  }
  return quoted + "\"";
}

}  // namespace queldb::tool
