#pragma once

#include <filesystem>
#include <string>
#include <vector>

namespace zorvi::Helpers {

// Per-user folder for what the program writes: the platform's application-data folder
// joined with "ZORVI" ($XDG_DATA_HOME or ~/.local/share on Linux, %APPDATA% on Windows).
// Worked out anew at every call; not created.
std::filesystem::path GetDataFolder();

// Creates the data folder when it is missing; failures are ignored.
void EnsureDataFolder();

// The working directory at the first request of the run; asked again only while empty.
std::filesystem::path GetProgramFolder();

// For tests: forget the remembered program folder.
void ResetProgramFolderForTests();

// Names of the subfolders of a folder directly under the program folder, skipping names
// that begin with "." and plain files; a missing folder gives an empty list.
std::vector<std::string> ListSubfolders(const std::string& name);

} // namespace zorvi::Helpers
