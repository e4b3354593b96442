#include "ProgrammeStore.h"

#include <string>
#include <system_error>

#include "AtomicFile.h"
#include "Folders.h"
#include "RegularFile.h"
#include "SetAside.h"

namespace zorvi::ProgrammeStore {

namespace fs = std::filesystem;

namespace {

fs::path In(const fs::path& folder, std::string_view name) {
    return folder / fs::path(std::u8string(name.begin(), name.end()));
}

std::string FileName(const fs::path& path) {
    const std::u8string name = path.filename().u8string();
    return std::string(name.begin(), name.end());
}

// The bytes of a file, or the fault that keeps it from being read; nothing but Missing leaves
// `missing` set.
ProgrammeRead ReadFile(const fs::path& path, std::string& bytes, bool& missing) {
    missing = false;
    switch (ReadRegularFile(path, ProgrammeLimits::kLargestFile, bytes)) {
    case FileRead::Ok:
        return ParseProgramme(bytes);
    case FileRead::TooLarge:
        return {std::nullopt, {0, ProgrammeFaultKind::TooLarge, ""}};
    case FileRead::Missing:
        missing = true;
        break;
    case FileRead::NotRegular:
    case FileRead::Unreadable:
        break;
    }
    return {std::nullopt, {0, ProgrammeFaultKind::Unreadable, FileName(path)}};
}

bool SameFolder(const fs::path& a, const fs::path& b) {
    std::error_code ec;
    const bool same = fs::equivalent(a, b, ec);
    return !ec && same;
}

} // namespace

ProgrammeLoad Load(const fs::path& folder) {
    ProgrammeLoad load;
    std::string bytes;
    bool missing = false;
    ProgrammeRead read = ReadFile(In(folder, kProgrammeFileName), bytes, missing);
    if (missing)
        return load;
    const fs::path lastGood = In(folder, kProgrammeLastGoodFileName);
    if (read.programme) {
        std::string old;
        bool oldMissing = false;
        ReadFile(lastGood, old, oldMissing);
        if (oldMissing || old != bytes)
            WriteFileAtomically(lastGood, bytes);
        load.programme = std::move(read.programme);
        return load;
    }
    load.fault = read.fault;
    std::string old;
    bool oldMissing = false;
    ProgrammeRead previous = ReadFile(lastGood, old, oldMissing);
    if (previous.programme) {
        load.programme = std::move(previous.programme);
        load.fromLastGood = true;
    }
    return load;
}

bool Save(const fs::path& folder, const Programme& programme) {
    const std::string text = FormatProgramme(programme);
    const ProgrammeRead check = ParseProgramme(text);
    if (!check.programme || *check.programme != programme)
        return false;
    std::error_code ec;
    fs::create_directories(folder, ec);

    const fs::path path = In(folder, kProgrammeFileName);
    std::string bytes;
    bool missing = false;
    const ProgrammeRead current = ReadFile(path, bytes, missing);
    if (!missing && !current.programme) {
        // A refused file holds a person's edit: it moves aside, or nothing is written. The
        // set-aside works in the data folder only.
        if (!SameFolder(folder, Helpers::GetDataFolder()))
            return false;
        if (!Helpers::SetAsideFile(std::string(kProgrammeFileName)))
            return false;
    }
    if (!WriteFileAtomically(path, text))
        return false;
    return WriteFileAtomically(In(folder, kProgrammeLastGoodFileName), text);
}

ProgrammeRead Import(const fs::path& path) {
    std::string bytes;
    bool missing = false;
    return ReadFile(path, bytes, missing);
}

bool Export(const fs::path& path, const Programme& programme) {
    if (!ProgrammeWritable(programme))
        return false;
    return WriteFileAtomically(path, FormatProgramme(programme));
}

} // namespace zorvi::ProgrammeStore
