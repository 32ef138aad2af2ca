#include "saw/optimizer/field_parser.h"

#include <cstring>
#include <fstream>

#include "saw/optimizer/expression_evaluator.h"

namespace orl {

namespace {
constexpr std::size_t ReadChunk = 1 << 16;
}

FieldParser::FieldParser() : evaluator_(std::make_unique<ExpressionEvaluator>()) { isSeparator_[','] = true; }
FieldParser::~FieldParser() = default;

void FieldParser::SetSeparators(std::string_view separators) {
  if (separators == separators_) return;  // same set, same split
  separators_.assign(separators);
  isSeparator_.fill(false);
  for (unsigned char c : separators_) isSeparator_[c] = true;
  Split();
}

void FieldParser::SetLineText(std::string_view text) {
  line_.assign(text);
  Split();
}

void FieldParser::Split() {
  fieldStarts_.clear();
  fieldEnds_.clear();
  if (line_.empty()) return;
  std::size_t start = 0;
  for (std::size_t i = 0; i < line_.size(); ++i) {
    if (isSeparator_[static_cast<unsigned char>(line_[i])]) {
      fieldStarts_.push_back(start);
      fieldEnds_.push_back(i);
      start = i + 1;
    }
  }
  fieldStarts_.push_back(start);
  fieldEnds_.push_back(line_.size());
}

std::string_view FieldParser::Field(int i) const {
  if (i < 1 || i > FieldCount()) return {};
  std::size_t k = static_cast<std::size_t>(i - 1);
  return std::string_view(line_).substr(fieldStarts_[k], fieldEnds_[k] - fieldStarts_[k]);
}

void FieldParser::SetField(int i, std::string_view text) {
  if (i < 1) return;
  if (i > FieldCount()) {
    // A line that has fewer fields grows by empty ones; the first separator
    // of the set joins them (a "," unless the set says otherwise).
    char joiner = separators_.empty() ? ',' : separators_[0];
    int missing = i - FieldCount();
    if (FieldCount() == 0) --missing;  // an empty line already is one empty field
    line_.append(static_cast<std::size_t>(missing), joiner);
    line_.append(text);
    Split();
    return;
  }
  std::size_t k = static_cast<std::size_t>(i - 1);
  line_.replace(fieldStarts_[k], fieldEnds_[k] - fieldStarts_[k], text);
  Split();
}

double FieldParser::Value() const { return evaluator_->Evaluate(line_); }

bool FieldParser::ScanFile(const std::string& path, ScanHandler& handler) {
  std::ifstream in(path, std::ios::binary);
  if (!in) return false;
  ScanStream(in, handler);
  return true;
}

void FieldParser::ScanStream(std::istream& in, ScanHandler& handler) {
  lineNumber_ = 0;
  handler.BeginOfFile(*this);
  std::string chunk(ReadChunk, '\0');
  std::string pending;  // the start of a line that runs past the chunk
  auto deliver = [&](const char* data, std::size_t size) {
    if (size > 0 && data[size - 1] == '\r') --size;
    ++lineNumber_;
    SetLineText(std::string_view(data, size));
    handler.Line(*this);
  };
  while (in) {
    in.read(chunk.data(), static_cast<std::streamsize>(chunk.size()));
    std::size_t got = static_cast<std::size_t>(in.gcount());
    if (got == 0) break;
    const char* p = chunk.data();
    const char* end = p + got;
    while (p < end) {
      const char* nl = static_cast<const char*>(std::memchr(p, '\n', static_cast<std::size_t>(end - p)));
      if (!nl) {
        pending.append(p, end);
        break;
      }
      if (pending.empty()) {
        deliver(p, static_cast<std::size_t>(nl - p));
      } else {
        pending.append(p, nl);
        deliver(pending.data(), pending.size());
        pending.clear();
      }
      p = nl + 1;
    }
  }
  if (!pending.empty()) deliver(pending.data(), pending.size());
  handler.EndOfFile(*this);
}

}  // namespace orl
