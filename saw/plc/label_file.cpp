#include "saw/plc/label_file.h"

#include <algorithm>
#include <filesystem>
#include <fstream>

#include "saw/shell/path_parts.h"

namespace orl {
namespace {

// A book label may hold several part labels on lines of their own, joined
// with CR LF as the optimizer file had them; the label file ends lines with
// LF alone.
std::string WithLineFeeds(const std::string& label) {
  std::string text;
  for (std::size_t i = 0; i < label.size(); ++i) {
    if (label[i] == '\r') {
      text += '\n';
      if (i + 1 < label.size() && label[i + 1] == '\n') ++i;
    } else {
      text += label[i];
    }
  }
  return text;
}

bool LongerThanLimit(const std::string& path) {
  std::error_code error;
  const auto size = std::filesystem::file_size(path, error);
  return !error && size > kLabelFileLimit;
}

}  // namespace

bool IsValidFileName(const std::string& path) {
  if (FileNamePart(path).empty()) return false;
  return std::none_of(path.begin(), path.end(), [](unsigned char c) {
    return c < 0x20 || c == '*' || c == '?' || c == '"' || c == '<' || c == '>' || c == '|';
  });
}

bool AppendBookLabel(const std::string& path, const std::string& label) {
  const std::string file = WithForwardSlashes(path);
  const auto mode = LongerThanLimit(file) ? std::ios::trunc : std::ios::app;
  std::ofstream out(file, std::ios::out | mode);
  if (!out) return false;
  out << WithLineFeeds(label) << '\n';
  out.close();
  return !out.fail();
}

}  // namespace orl
