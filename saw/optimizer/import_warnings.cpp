#include "saw/optimizer/import_warnings.h"

#include "saw/optimizer/text_encoding.h"

namespace orl {

void ImportWarnings::Add(std::string text) {
  if (kept_.size() >= MaxKept) {
    ++dropped_;
    return;
  }
  // A warning may quote the file, whose text need not be UTF-8.
  if (!IsAscii(text)) {
    std::string quoted;
    AppendNonAsciiAsUtf8(quoted, text);
    text = std::move(quoted);
  }
  kept_.push_back(std::move(text));
}

void ImportWarnings::AddAtLine(std::int64_t line, const std::string& text) {
  if (kept_.size() >= MaxKept) {
    ++dropped_;
    return;
  }
  Add("line " + std::to_string(line) + ": " + text);
}

void ImportWarnings::Clear() {
  kept_.clear();
  dropped_ = 0;
}

std::vector<std::string> ImportWarnings::Texts() const {
  std::vector<std::string> texts = kept_;
  if (dropped_ > 0) texts.push_back(std::to_string(dropped_) + " more warnings not shown");
  return texts;
}

}  // namespace orl
