// Line-by-line text field parser: the scanner every optimizer file reader is
// driven by, plus the splitting and expression-value operations that the
// readers also use on texts of their own.
#pragma once

#include <array>
#include <cstdint>
#include <istream>
#include <memory>
#include <string>
#include <string_view>
#include <vector>

namespace orl {

class ExpressionEvaluator;

// The three steps of a scan. The parser is handed over so a step can read
// and rewrite the fields of the current line.
class FieldParser;
class ScanHandler {
 public:
  virtual ~ScanHandler() = default;
  virtual void BeginOfFile(FieldParser&) {}
  virtual void Line(FieldParser&) {}
  virtual void EndOfFile(FieldParser&) {}
};

class FieldParser {
 public:
  FieldParser();  // separators ","
  ~FieldParser();
  FieldParser(const FieldParser&) = delete;
  FieldParser& operator=(const FieldParser&) = delete;

  // Every character of the set ends a field. Setting it re-splits the line.
  void SetSeparators(std::string_view separators);
  const std::string& Separators() const { return separators_; }

  // Gives the parser a text to split in place of a file line.
  void SetLineText(std::string_view text);
  // Both at once, splitting the line once instead of twice.
  void SetLineText(std::string_view text, std::string_view separators);
  std::string_view LineText() const { return text_; }

  int FieldCount() const { return fieldCount_; }
  // Field i counted from 1; a field past the last one reads as empty.
  // Inline: readers ask for every field of every line.
  std::string_view Field(int i) const {
    if (i < 1 || i > fieldCount_) return {};
    const std::size_t start = FieldStart(i - 1);
    return text_.substr(start, fieldEnds_[static_cast<std::size_t>(i - 1)] - start);
  }
  // Replaces field i; the separators between fields stay as they stood.
  // Writing past the last field extends the line with the first separator.
  void SetField(int i, std::string_view text);

  // The line text as an arithmetic expression; text that is no expression
  // reads as 0.
  double Value() const;

  // Scans a whole file synchronously: begin of file, one step per line (LF
  // or CR LF ends a line, and in a file whose first line end is a CR alone,
  // a CR as well), end of file. A UTF-8 byte-order mark before the first
  // line is skipped. The file is streamed, never held whole.
  // Returns false when the file cannot be opened (no step runs then).
  bool ScanFile(const std::string& path, ScanHandler& handler);
  void ScanStream(std::istream& in, ScanHandler& handler);

  // Number of the line now being scanned (from 1), for warnings.
  std::int64_t LineNumber() const { return lineNumber_; }

 private:
  void Split();
  // A line of the file, split where it lies in the read buffer: most lines
  // are only read, so they are copied only once a field is written.
  void ViewLine(std::string_view text);
  // The line text as a copy of the parser's own, ready to be rewritten.
  std::string& OwnLine();
  // False when the set is the one in use.
  bool TakeSeparators(std::string_view separators);
  // Field k (from 0) starts after the separator that ended field k - 1.
  std::size_t FieldStart(int k) const { return k == 0 ? 0 : fieldEnds_[static_cast<std::size_t>(k - 1)] + 1; }

  std::string separators_ = ",";
  std::array<bool, 256> isSeparator_{};
  std::string_view text_;  // the current line: `line_` or a line of the read buffer
  std::string line_;
  // End of each field; only ever grows, so splitting a line allocates nothing.
  std::vector<std::size_t> fieldEnds_;
  int fieldCount_ = 0;
  std::int64_t lineNumber_ = 0;
  std::unique_ptr<ExpressionEvaluator> evaluator_;
};

}  // namespace orl
