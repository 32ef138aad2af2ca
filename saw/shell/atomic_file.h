#pragma once
// Whole-file replacement that never leaves a half-written file behind.
#include <filesystem>
#include <string_view>

namespace orl {

// Writes contents to a temporary file beside path, flushes it, then renames
// it over path. On any failure path keeps its old contents and false is
// returned.
bool WriteFileAtomically(const std::filesystem::path& path, std::string_view contents);

}  // namespace orl
