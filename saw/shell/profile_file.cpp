#include "saw/shell/profile_file.h"

#include <SimpleIni.h>

#include <system_error>

#include "saw/shell/atomic_file.h"

namespace orl {
namespace {

constexpr std::string_view kMissingMarker = "END.-";
constexpr std::size_t kMaxValueLength = 79;  // an 80-character buffer with its terminator

}  // namespace

std::string ProfileFile::ReadSetting(std::string_view section, std::string_view key) const {
  std::error_code error;
  if (!std::filesystem::is_regular_file(path_, error)) return {};
  CSimpleIniA ini(/*isUtf8=*/true, /*multiKey=*/false, /*multiLine=*/false);
  if (ini.LoadFile(path_.c_str()) < 0) return {};
  const char* stored =
      ini.GetValue(std::string(section).c_str(), std::string(key).c_str(), kMissingMarker.data());
  std::string value = stored ? stored : "";
  if (value.size() > kMaxValueLength) value.resize(kMaxValueLength);
  if (value == kMissingMarker) return {};
  return value;
}

bool ProfileFile::WriteSetting(std::string_view section, std::string_view key, std::string_view value) const {
  CSimpleIniA ini(/*isUtf8=*/true, /*multiKey=*/false, /*multiLine=*/false);
  std::error_code error;
  if (std::filesystem::exists(path_, error) && ini.LoadFile(path_.c_str()) < 0) return false;
  ini.SetValue(std::string(section).c_str(), std::string(key).c_str(), std::string(value).c_str());
  std::string text;
  if (ini.Save(text) < 0) return false;
  return WriteFileAtomically(path_, text);
}

}  // namespace orl
