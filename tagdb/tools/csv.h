// CSV as RFC 4180 writes it: quoted fields may hold commas, quotes ("") and line breaks.
#pragma once

#include <cstddef>
#include <istream>
#include <optional>
#include <stdexcept>
#include <string>
#include <vector>

namespace queldb::tool {

using CsvRow = std::vector<std::string>;

struct CsvError : std::runtime_error {
  using std::runtime_error::runtime_error;
};

// Reads one record at a time, so a file is never held whole in memory.
class CsvReader {
 public:
  // Far beyond any tag row; stops a file without line ends from filling memory.
  static constexpr std::size_t kMaxRecordBytes = 1 << 20;

  explicit CsvReader(std::istream& in) : in_(*in.rdbuf()) {}
  // The next record, skipping blank lines; nullopt at the end. Throws CsvError
  // for a quoted field never closed or a record longer than kMaxRecordBytes.
  std::optional<CsvRow> Next();
  // The line (from 1) on which the record Next returned starts; a quoted field
  // may carry a record over several lines.
  std::size_t Line() const { return recordLine_; }

 private:
  std::optional<CsvRow> NextRecord();

  std::streambuf& in_;
  bool started_ = false;
  std::size_t line_ = 1;
  std::size_t recordLine_ = 0;
};

// The field quoted when it needs to be.
std::string CsvField(const std::string& text);

}  // namespace queldb::tool
