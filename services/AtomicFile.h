#pragma once

#include <filesystem>
#include <optional>
#include <string>
#include <string_view>

namespace zorvi {

// The whole content of a regular file of at most kIniFileLimit bytes, or nothing when there
// is no such file or it cannot be read.
std::optional<std::string> ReadWholeFile(const std::filesystem::path& path);

// Replaces the file with the content as one step: a temporary file in the same folder is
// written, flushed to disk and renamed over the target, so a crash leaves either the old
// or the new file, never a torn one. Returns false when the file could not be replaced.
bool WriteFileAtomically(const std::filesystem::path& path, std::string_view content);

} // namespace zorvi
