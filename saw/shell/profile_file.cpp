#include "saw/shell/profile_file.h"

#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

#include <algorithm>
#include <cctype>
#include <cerrno>
#include <fstream>
#include <optional>
#include <system_error>
#include <vector>

#include "saw/shell/atomic_file.h"

namespace orl {
namespace {

constexpr std::string_view kMissingMarker = "END.-";
constexpr std::string_view kBlanks = " \t";
constexpr std::string_view kByteOrderMark = "\xEF\xBB\xBF";

// One line of the file as it lies there: its text and its own line end.
struct Line {
  std::size_t start = 0;
  std::string_view text;  // without the line end
  std::string_view end;   // "\r\n", "\n" or empty on the last line
};

std::vector<Line> SplitLines(std::string_view text) {
  std::vector<Line> lines;
  // A byte-order mark an editor put first stays in the file but is no part
  // of the first line.
  std::size_t start = text.starts_with(kByteOrderMark) ? kByteOrderMark.size() : 0;
  while (start < text.size()) {
    const std::size_t lf = text.find('\n', start);
    const std::size_t stop = lf == std::string_view::npos ? text.size() : lf;
    const std::size_t textEnd = stop > start && text[stop - 1] == '\r' ? stop - 1 : stop;
    const std::size_t next = lf == std::string_view::npos ? text.size() : lf + 1;
    lines.push_back({start, text.substr(start, textEnd - start), text.substr(textEnd, next - textEnd)});
    start = next;
  }
  return lines;
}

std::string_view Trim(std::string_view text) {
  const std::size_t first = text.find_first_not_of(kBlanks);
  if (first == std::string_view::npos) return {};
  return text.substr(first, text.find_last_not_of(kBlanks) - first + 1);
}

bool SameName(std::string_view a, std::string_view b) {
  if (a.size() != b.size()) return false;
  for (std::size_t i = 0; i < a.size(); ++i)
    if (std::tolower(static_cast<unsigned char>(a[i])) != std::tolower(static_cast<unsigned char>(b[i]))) return false;
  return true;
}

// The section a line opens, if it is a section line.
std::optional<std::string_view> SectionName(std::string_view line) {
  const std::string_view trimmed = Trim(line);
  if (trimmed.empty() || trimmed.front() != '[') return std::nullopt;
  const std::size_t close = trimmed.find(']');
  return Trim(trimmed.substr(1, close == std::string_view::npos ? std::string_view::npos : close - 1));
}

// Where a key's line is, and where the last line of its section is (the
// place a missing key goes).
struct KeyPlace {
  std::optional<std::size_t> keyLine;
  std::optional<std::size_t> sectionEnd;
};

KeyPlace FindKey(const std::vector<Line>& lines, std::string_view section, std::string_view key) {
  KeyPlace place;
  bool inSection = false;
  bool inFirstSection = false;
  for (std::size_t i = 0; i < lines.size(); ++i) {
    if (const auto name = SectionName(lines[i].text)) {
      inSection = SameName(*name, Trim(section));
      inFirstSection = inSection && !place.sectionEnd;
      if (inFirstSection) place.sectionEnd = i;
      continue;
    }
    if (!inSection) continue;
    const std::size_t equals = lines[i].text.find('=');
    if (equals != std::string_view::npos && SameName(Trim(lines[i].text.substr(0, equals)), Trim(key))) {
      place.keyLine = i;
      return place;
    }
    // A missing key goes after the last line of the first section of that
    // name that is not blank.
    if (inFirstSection && !Trim(lines[i].text).empty()) place.sectionEnd = i;
  }
  return place;
}

std::string_view StripQuotes(std::string_view value) {
  if (value.size() >= 2 && value.front() == '"' && value.back() == '"') return value.substr(1, value.size() - 2);
  return value;
}

// The line end the file uses: that of its first line, LF in a new file.
std::string_view FileLineEnd(const std::vector<Line>& lines) {
  for (const Line& line : lines)
    if (!line.end.empty()) return line.end;
  return "\n";
}

std::optional<std::string> ReadWhole(const std::filesystem::path& path) {
  std::ifstream in(path, std::ios::binary);
  if (!in) return std::nullopt;
  return std::string(std::istreambuf_iterator<char>(in), {});
}

bool WriteAllAt(int fd, std::string_view bytes) {
  for (off_t offset = 0; !bytes.empty();) {
    const ssize_t written = ::pwrite(fd, bytes.data(), bytes.size(), offset);
    if (written < 0 && errno == EINTR) continue;
    if (written <= 0) return false;
    bytes.remove_prefix(static_cast<std::size_t>(written));
    offset += written;
  }
  return true;
}

}  // namespace

std::string InPlaceProfileText(std::string_view text, std::size_t fileSize) {
  std::string padded(text);
  if (padded.size() >= fileSize) return padded;
  if (padded.empty() || padded.back() != '\n') padded.push_back('\n');
  padded.append(fileSize - std::min(fileSize, padded.size()), ' ');
  return padded;
}

// Without a rename to hide behind, a kill may come between any two system
// calls. Writing the new text and then cutting the file to its length (the
// obvious way) leaves the new text followed by the old one's tail between
// the two: a damaged file. So the file is never cut: a text shorter than the
// file is padded with a line of blanks, which readers skip, to the file's
// length, and the whole is written by one write from offset 0. Before that
// write the file is the old text, after it the new one; a file of one page
// (a settings file is far smaller) is copied in by the kernel as a whole, a
// kill acting only between pages. The padding stays; a later longer text
// uses it up.
bool RewriteProfileInPlace(const std::filesystem::path& path, std::string_view text,
                           const std::function<bool()>& goOn) {
  const int fd = ::open(path.c_str(), O_WRONLY | O_CLOEXEC);
  if (fd < 0) return false;
  struct stat status {};
  bool ok = ::fstat(fd, &status) == 0;
  const std::string bytes = InPlaceProfileText(text, ok ? static_cast<std::size_t>(status.st_size) : 0);
  ok = ok && goOn() && WriteAllAt(fd, bytes);
  ok = ok && goOn() && ::fsync(fd) == 0;
  return ::close(fd) == 0 && ok;
}

std::string ProfileValue(std::string_view text, std::string_view section, std::string_view key) {
  const auto lines = SplitLines(text);
  const KeyPlace place = FindKey(lines, section, key);
  if (!place.keyLine) return {};
  const std::string_view line = lines[*place.keyLine].text;
  const std::string_view value = StripQuotes(Trim(line.substr(line.find('=') + 1)));
  return value == kMissingMarker ? std::string() : std::string(value);
}

std::string WithProfileValue(std::string_view text, std::string_view section, std::string_view key,
                             std::string_view value) {
  const auto lines = SplitLines(text);
  const KeyPlace place = FindKey(lines, section, key);
  std::string result;
  if (place.keyLine) {
    // Keep the key and the spacing around '=' as the operator wrote them.
    const Line& line = lines[*place.keyLine];
    const std::size_t equals = line.text.find('=');
    const std::size_t valueStart = line.text.find_first_not_of(kBlanks, equals + 1);
    const std::size_t prefixEnd = line.start + (valueStart == std::string_view::npos ? line.text.size() : valueStart);
    result.append(text.substr(0, prefixEnd)).append(value).append(text.substr(line.start + line.text.size()));
    return result;
  }
  const std::string_view eol = FileLineEnd(lines);
  const std::string keyLine = std::string(key) + "=" + std::string(value);
  if (place.sectionEnd) {
    const Line& last = lines[*place.sectionEnd];
    const std::size_t after = last.start + last.text.size() + last.end.size();
    result.append(text.substr(0, after));
    if (last.end.empty()) result.append(eol);
    result.append(keyLine).append(last.end.empty() ? std::string_view() : eol).append(text.substr(after));
    return result;
  }
  result.assign(text);
  if (!result.empty() && result.back() != '\n') result.append(eol);
  result.append("[").append(section).append("]").append(eol).append(keyLine).append(eol);
  return result;
}

std::string ProfileFile::ReadSetting(std::string_view section, std::string_view key) const {
  std::error_code error;
  if (!std::filesystem::is_regular_file(path_, error)) return {};
  const auto text = ReadWhole(path_);
  return text ? ProfileValue(*text, section, key) : std::string();
}

bool ProfileFile::WriteSetting(std::string_view section, std::string_view key, std::string_view value) const {
  if (value.find_first_of("\r\n") != std::string_view::npos) return false;
  std::error_code error;
  const bool exists = std::filesystem::exists(path_, error);
  std::optional<std::string> old = exists ? ReadWhole(path_) : std::string();
  if (!old) return false;
  const std::string text = WithProfileValue(*old, section, key, value);
  if (exists && text == *old) return true;  // nothing changes: the file is left alone
  return WriteFileAtomically(path_, text) || (exists && RewriteProfileInPlace(path_, text));
}

}  // namespace orl
