// Warnings gathered while a file is read. A hostile file can earn one per
// line, so only the first ones are kept and the rest are counted.
#pragma once

#include <cstddef>
#include <cstdint>
#include <string>
#include <vector>

namespace orl {

class ImportWarnings {
 public:
  static constexpr std::size_t MaxKept = 100;

  void Add(std::string text);
  // Adds "line N: text".
  void AddAtLine(std::int64_t line, const std::string& text);
  void Clear();
  // The kept warnings, followed by a count of the others when there were more.
  std::vector<std::string> Texts() const;
  bool Empty() const { return kept_.empty(); }
  // Whether a further warning would only be counted: its text need not be made.
  bool Full() const { return kept_.size() >= MaxKept; }

 private:
  std::vector<std::string> kept_;
  std::size_t dropped_ = 0;
};

}  // namespace orl
