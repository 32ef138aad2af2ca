#pragma once
// Private-profile (INI) access: the settings file is read afresh on every
// call, as the operator may edit it between runs, and written one key at a
// time. The file stays the operator's: a write changes only the line of its
// key (or adds that line to its section), leaving every other byte as it
// was: comments, unknown lines, duplicate sections, line ends and spacing.
#include <filesystem>
#include <functional>
#include <string>
#include <string_view>

namespace orl {

class ProfileFile {
 public:
  explicit ProfileFile(std::filesystem::path path) : path_(std::move(path)) {}

  const std::filesystem::path& Path() const { return path_; }

  // Value of key in section, whole and with blanks and one pair of
  // surrounding double quotes removed; empty text when the file, the
  // section or the key is missing, or when the stored value is "END.-" (the
  // marker of a missing key). Section and key names ignore letter case; of
  // duplicate keys the first in the file counts.
  std::string ReadSetting(std::string_view section, std::string_view key) const;

  // Writes key=value, creating the file, section or key as needed. The file
  // is replaced atomically; where its folder cannot take a new file but the
  // file itself is writable, it is rewritten in place (RewriteProfileInPlace
  // below). Either way a kill leaves the old text or the new one. False when
  // nothing could be written or the value holds a line break; callers may
  // ignore it.
  bool WriteSetting(std::string_view section, std::string_view key, std::string_view value) const;

 private:
  std::filesystem::path path_;
};

// The same rules on the file's text, for the file above and its tests.
std::string ProfileValue(std::string_view text, std::string_view section, std::string_view key);
std::string WithProfileValue(std::string_view text, std::string_view section, std::string_view key,
                             std::string_view value);

// The bytes an in-place rewrite puts over a file of fileSize bytes: text,
// and when it is shorter, a line of blanks that makes it as long, so the
// file is never cut.
std::string InPlaceProfileText(std::string_view text, std::size_t fileSize);

// The in-place route on its own: text (padded as above) over the existing
// file at path with one write from its start, then a flush. Before each of
// the two steps goOn is asked; false stops there, as a kill would (a seam
// for tests). False when the file cannot be written or a step was stopped.
bool RewriteProfileInPlace(const std::filesystem::path& path, std::string_view text,
                           const std::function<bool()>& goOn = [] { return true; });

}  // namespace orl
