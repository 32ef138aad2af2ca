#include "saw/optimizer/import_warnings.h"

namespace orl {

void ImportWarnings::Add(std::string text) {
  if (kept_.size() < MaxKept)
    kept_.push_back(std::move(text));
  else
    ++dropped_;
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
