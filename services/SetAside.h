#pragma once

#include <optional>
#include <string>
#include <vector>

namespace zorvi::Helpers {

// How many set-aside copies of one file the data folder keeps; older ones are removed.
inline constexpr int kKeptSetAsideCopies = 5;

// Moves a file of the data folder that the program read and found unusable (or that is no
// regular file at all: a folder, a named pipe, a link to a device) out of the way, as
// "<file>.corrupt-<year>-<month>-<day>-<hhmmss>" in local time, so the program starts over
// with a clean file and the old one stays for inspection. Of these copies the newest
// kKeptSetAsideCopies are kept.
// A regular file that cannot even be opened is left where it is: nothing was judged.
// Returns the name it was given, or nothing when there was nothing to move or the move failed.
std::optional<std::string> SetAsideFile(const std::string& file);

// The set-aside copies of a file in the data folder, oldest first.
std::vector<std::string> SetAsideCopies(const std::string& file);

} // namespace zorvi::Helpers
