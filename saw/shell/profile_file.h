#pragma once
// Private-profile (INI) access: the settings file is read afresh on every
// call, as the operator may edit it between runs, and written one key at a
// time.
#include <filesystem>
#include <string>
#include <string_view>

namespace orl {

class ProfileFile {
 public:
  explicit ProfileFile(std::filesystem::path path) : path_(std::move(path)) {}

  const std::filesystem::path& Path() const { return path_; }

  // Value of key in section, or empty text when the file, the section or
  // the key is missing, or when the stored value is "END.-" (the marker of
  // a missing key). Values are cut to their first 79 characters.
  std::string ReadSetting(std::string_view section, std::string_view key) const;

  // Writes key = value, creating the file, section or key as needed. The
  // file is replaced atomically so a failed write never leaves it half
  // written; the outcome is reported but callers may ignore it.
  bool WriteSetting(std::string_view section, std::string_view key, std::string_view value) const;

 private:
  std::filesystem::path path_;
};

}  // namespace orl
