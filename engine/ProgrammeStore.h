#pragma once

#include <filesystem>
#include <optional>
#include <string_view>

#include "ProgrammeFile.h"

namespace zorvi {

inline constexpr std::string_view kProgrammeFileName = "programme.ini";
// The last programme.ini the program read without a fault, or wrote itself: what the evening
// plays when a person's edit of programme.ini is refused.
inline constexpr std::string_view kProgrammeLastGoodFileName = "programme.last-good.ini";

struct ProgrammeLoad {
    // The programme to play: programme.ini's, or the last good copy's when that file was
    // refused; nothing when there is no programme.ini (the program plays as it always did).
    std::optional<Programme> programme;
    // Set when programme.ini was refused; the file itself is left as it is.
    std::optional<ProgrammeFault> fault;
    bool fromLastGood = false;
};

namespace ProgrammeStore {

// Reads the programme of the data folder `folder`. A good file is copied to the last good copy
// when that differs.
ProgrammeLoad Load(const std::filesystem::path& folder);

// Writes programme.ini and the last good copy, each as one step. A programme.ini there that is
// refused is set aside first (Helpers::SetAsideFile), so a person's edit is never lost; it is
// never overwritten when `folder` is not the data folder. False when nothing was written or a
// write failed, and for a programme that would not read back unchanged.
bool Save(const std::filesystem::path& folder, const Programme& programme);

// A programme file from anywhere, with the bounds of programme.ini.
ProgrammeRead Import(const std::filesystem::path& path);
// Writes the programme there as one step; false on failure or for a programme that would not
// read back unchanged.
bool Export(const std::filesystem::path& path, const Programme& programme);

} // namespace ProgrammeStore

} // namespace zorvi
