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

// The folder the program reads its shipped files from (voices, pages, sample coupon series),
// chosen at the first request of the run and kept (asked again only while empty): see
// ChooseProgramFolder, with the working directory and the installed program's folders.
std::filesystem::path GetProgramFolder();

// The working directory when it holds the program's files (an "html" or "audio" folder), so a
// prepared folder started as the working directory keeps working; otherwise the first of the
// installed program's folders that holds them; otherwise the working directory all the same.
std::filesystem::path ChooseProgramFolder(const std::filesystem::path& workingDirectory,
                                          const std::vector<std::filesystem::path>& installed);

// Where an installed program finds its shipped files, from the executable's own location:
// "../share/zorvi" beside its "bin" folder, then the executable's folder itself (a portable
// Windows folder). Empty when the executable cannot be located.
std::vector<std::filesystem::path> InstalledProgramFolders();

// The coupon-series file of that bare name to read: the data folder's when there is an entry
// of that name there (a hall's own series, which the operator may write), else the program
// folder's.
std::filesystem::path FindSeriesFile(const std::string& name);

// For tests: forget the remembered program folder.
void ResetProgramFolderForTests();

// Names of the subfolders of a folder directly under the program folder, skipping names
// that begin with "." and plain files; a missing folder gives an empty list.
std::vector<std::string> ListSubfolders(const std::string& name);

} // namespace zorvi::Helpers
