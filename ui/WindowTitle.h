#pragma once

#include <filesystem>
#include <string>

namespace zorvi {

// Version and build texts of the program, shown in the operator window's title.
inline constexpr const char* kVersionText = "1.7";
inline constexpr const char* kBuildText = "122";

// "ZORVI <version> (build <build>)", followed by a blank and the text of the file
// "extra-version" in the program folder when that is a regular file that can be read (a pipe
// or a device in its place is ignored, never waited on): at most its first four
// bytes, ending early at a zero byte, with every line feed removed.
std::string BuildWindowTitle(const std::filesystem::path& programFolder);

} // namespace zorvi
