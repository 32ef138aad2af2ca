#include "saw/optimizer/field_parser.h"

#include <bit>
#include <cstring>
#include <fstream>

#include "saw/optimizer/expression_evaluator.h"

namespace orl {

namespace {
constexpr std::size_t ReadChunk = 1 << 16;
// UTF-8's byte-order mark, which some optimizers write before the first line.
constexpr std::string_view ByteOrderMark = "\xEF\xBB\xBF";

// Whether the file, of which `text` is the start, ends its lines with a CR
// alone (as old Macintosh programs write): its first CR is not followed by
// a LF. Such a file is split at CR and LF alike; the usual file, ending its
// lines with LF or CR LF, is split at LF alone, which costs nothing more.
bool EndsLinesWithCr(const char* text, const char* end) {
  const char* cr = static_cast<const char*>(std::memchr(text, '\r', static_cast<std::size_t>(end - text)));
  return cr != nullptr && (cr + 1 == end || cr[1] != '\n');
}

// The top bit of every byte of `x` that is zero, and no other bit (no carry
// runs between bytes, so a mark is never false).
std::uint64_t SeparatorBytes(std::uint64_t x) {
  constexpr std::uint64_t low7 = 0x7F7F7F7F7F7F7F7Fu;
  return ~(((x & low7) + low7) | x | low7);
}
}  // namespace

FieldParser::FieldParser() : evaluator_(std::make_unique<ExpressionEvaluator>()) { isSeparator_[','] = true; }
FieldParser::~FieldParser() = default;

bool FieldParser::TakeSeparators(std::string_view separators) {
  if (separators == separators_) return false;  // same set, same split
  separators_.assign(separators);
  isSeparator_.fill(false);
  for (unsigned char c : separators_) isSeparator_[c] = true;
  return true;
}

void FieldParser::SetSeparators(std::string_view separators) {
  if (TakeSeparators(separators)) Split();
}

void FieldParser::SetLineText(std::string_view text) {
  line_.assign(text);
  text_ = line_;
  Split();
}

void FieldParser::ViewLine(std::string_view text) {
  text_ = text;
  Split();
}

std::string& FieldParser::OwnLine() {
  if (text_.data() != line_.data() || text_.size() != line_.size()) line_.assign(text_);
  return line_;
}

void FieldParser::SetLineText(std::string_view text, std::string_view separators) {
  TakeSeparators(separators);  // the old line is not split again: it is replaced
  SetLineText(text);
}

void FieldParser::Split() {
  fieldCount_ = 0;
  if (text_.empty()) return;
  const char* const text = text_.data();
  const std::size_t size = text_.size();
  std::size_t count = 0;
  auto end = [&](std::size_t at) {
    if (count == fieldEnds_.size()) fieldEnds_.resize(2 * count + 32);  // grows with the fields, not the line
    fieldEnds_[count++] = at;
  };
  std::size_t i = 0;
  if (separators_.size() == 1 && std::endian::native == std::endian::little) {
    // The usual case, a comma: eight characters at a time, each separator
    // among them marked by the top bit of its byte.
    const std::uint64_t pattern = 0x0101010101010101u * static_cast<unsigned char>(separators_[0]);
    for (; i + 8 <= size; i += 8) {
      std::uint64_t word = 0;
      std::memcpy(&word, text + i, 8);
      for (std::uint64_t marks = SeparatorBytes(word ^ pattern); marks != 0; marks &= marks - 1)
        end(i + static_cast<std::size_t>(std::countr_zero(marks)) / 8);
    }
  }
  for (; i < size; ++i)
    if (isSeparator_[static_cast<unsigned char>(text[i])]) end(i);
  end(size);
  fieldCount_ = static_cast<int>(count);
}

void FieldParser::SetField(int i, std::string_view text) {
  if (i < 1) return;
  if (i > FieldCount()) {
    // A line that has fewer fields grows by empty ones; the first separator
    // of the set joins them (a "," unless the set says otherwise).
    char joiner = separators_.empty() ? ',' : separators_[0];
    int missing = i - FieldCount();
    if (FieldCount() == 0) --missing;  // an empty line already is one empty field
    std::string& line = OwnLine();
    line.append(static_cast<std::size_t>(missing), joiner);
    line.append(text);
    text_ = line;
    Split();
    return;
  }
  const std::size_t start = FieldStart(i - 1);
  std::string& line = OwnLine();
  line.replace(start, fieldEnds_[static_cast<std::size_t>(i - 1)] - start, text);
  text_ = line;
  Split();
}

double FieldParser::Value() const { return evaluator_->Evaluate(text_); }

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
  std::string pending;    // the start of a line that runs past the chunk
  bool firstChunk = true;
  bool crEnds = false;    // whether a CR alone ends a line in this file
  bool afterCr = false;   // the chunk before ended in a CR: a LF first in this one ends no second line
  auto deliver = [&](const char* data, std::size_t size) {
    if (size > 0 && data[size - 1] == '\r') --size;  // the CR of a CR LF
    ++lineNumber_;
    ViewLine(std::string_view(data, size));
    handler.Line(*this);
  };
  auto finish = [&](const char* from, const char* to) {
    if (pending.empty()) return deliver(from, static_cast<std::size_t>(to - from));
    pending.append(from, to);
    deliver(pending.data(), pending.size());
    pending.clear();
  };
  while (in) {
    in.read(chunk.data(), static_cast<std::streamsize>(chunk.size()));
    std::size_t got = static_cast<std::size_t>(in.gcount());
    if (got == 0) break;
    const char* p = chunk.data();
    const char* end = p + got;
    if (firstChunk) {
      if (std::string_view(p, got).starts_with(ByteOrderMark)) p += ByteOrderMark.size();  // no text of the first line
      crEnds = EndsLinesWithCr(p, end);
      firstChunk = false;
    }
    if (afterCr && p < end && *p == '\n') ++p;
    afterCr = false;
    while (p < end) {
      const char* nl = static_cast<const char*>(std::memchr(p, '\n', static_cast<std::size_t>(end - p)));
      if (crEnds) {
        const char* stop = nl ? nl : end;
        if (const char* cr = static_cast<const char*>(std::memchr(p, '\r', static_cast<std::size_t>(stop - p)))) {
          finish(p, cr);
          p = cr + 1;
          if (p == end) afterCr = true;
          else if (*p == '\n') ++p;
          continue;
        }
      }
      if (!nl) {
        pending.append(p, end);
        break;
      }
      finish(p, nl);
      p = nl + 1;
    }
  }
  if (!pending.empty()) deliver(pending.data(), pending.size());
  OwnLine();  // the read buffer goes: the last line stays readable as the parser's own
  text_ = line_;
  handler.EndOfFile(*this);
}

}  // namespace orl
