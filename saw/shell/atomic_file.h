#pragma once
// Whole-file replacement that never leaves a half-written file behind.
#include <filesystem>
#include <string_view>
#include <system_error>

namespace orl {

// Writes contents to a hidden temporary file in path's folder (".saving-"
// and six characters, whatever path's name), flushes it, then renames it
// over path. A symbolic
// link is followed: the file it names is replaced and the link stays. The
// old file's mode, owner and group are kept as far as the process may keep
// them. Temporary files of saves that died are removed from the folder
// first. On any failure path keeps its old contents and false is returned.
bool WriteFileAtomically(const std::filesystem::path& path, std::string_view contents);

// The same; on failure error holds the system's reason (ENOENT for a folder
// that is gone, EACCES for one the process may not write, ELOOP for a loop
// of symbolic links, ...).
bool WriteFileAtomically(const std::filesystem::path& path, std::string_view contents, std::error_code& error);

}  // namespace orl
