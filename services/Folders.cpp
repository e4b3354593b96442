#include "Folders.h"

#include <cstdlib>
#include <system_error>

#ifdef _WIN32
#include <windows.h>
#endif

namespace zorvi::Helpers {

namespace fs = std::filesystem;

namespace {

constexpr const char* kFolderName = "ZORVI";

fs::path& RememberedProgramFolder() {
    static fs::path folder;
    return folder;
}

#ifdef _WIN32
fs::path Environment(const wchar_t* name) {
    const wchar_t* value = _wgetenv(name);
    return value != nullptr ? fs::path(value) : fs::path();
}
#else
fs::path Environment(const char* name) {
    const char* value = std::getenv(name);
    return value != nullptr ? fs::path(value) : fs::path();
}
#endif

// The platform's per-user folder for application data, or empty when there is none.
fs::path ApplicationDataFolder() {
#ifdef _WIN32
    return Environment(L"APPDATA");
#else
    // Relative values of XDG_DATA_HOME are invalid and ignored, as the XDG rules ask.
    const fs::path xdg = Environment("XDG_DATA_HOME");
    if (!xdg.empty() && xdg.is_absolute())
        return xdg;
    const fs::path home = Environment("HOME");
    if (!home.empty())
        return home / ".local" / "share";
    return {};
#endif
}

bool HoldsProgramFiles(const fs::path& folder) {
    std::error_code ec;
    return !folder.empty() &&
           (fs::is_directory(folder / "html", ec) || fs::is_directory(folder / "audio", ec));
}

// The running executable's full path, or empty.
fs::path ExecutablePath() {
#if defined(_WIN32)
    std::wstring buffer(MAX_PATH, L'\0');
    for (;;) {
        const DWORD length =
            GetModuleFileNameW(nullptr, buffer.data(), static_cast<DWORD>(buffer.size()));
        if (length == 0)
            return {};
        if (length < buffer.size())
            return fs::path(buffer.substr(0, length));
        if (buffer.size() >= 32768)
            return {};
        buffer.resize(buffer.size() * 2);
    }
#elif defined(__linux__)
    std::error_code ec;
    const fs::path path = fs::read_symlink("/proc/self/exe", ec);
    return ec ? fs::path() : path;
#else
    return {};
#endif
}

} // namespace

fs::path GetDataFolder() {
    fs::path base = ApplicationDataFolder();
    if (base.empty()) {
        // No per-user folder: the temporary folder still lets the program save and log.
        std::error_code ec;
        base = fs::temp_directory_path(ec);
    }
    return base / kFolderName;
}

void EnsureDataFolder() {
    std::error_code ec;
    fs::create_directories(GetDataFolder(), ec);
}

fs::path ChooseProgramFolder(const fs::path& workingDirectory,
                             const std::vector<fs::path>& installed) {
    if (HoldsProgramFiles(workingDirectory))
        return workingDirectory;
    for (const fs::path& folder : installed) {
        if (HoldsProgramFiles(folder))
            return folder;
    }
    return workingDirectory;
}

std::vector<fs::path> InstalledProgramFolders() {
    const fs::path executable = ExecutablePath();
    if (executable.empty())
        return {};
    const fs::path folder = executable.parent_path();
    return {(folder.parent_path() / "share" / "zorvi").lexically_normal(), folder};
}

fs::path GetProgramFolder() {
    fs::path& folder = RememberedProgramFolder();
    if (folder.empty()) {
        std::error_code ec;
        folder = ChooseProgramFolder(fs::current_path(ec), InstalledProgramFolders());
    }
    return folder;
}

fs::path FindSeriesFile(const std::string& name) {
    const fs::path own = GetDataFolder() / name;
    std::error_code ec;
    // Any entry counts, even one that cannot be read: a hall's broken series must be reported,
    // not silently replaced by the sample series of the same name.
    if (fs::exists(fs::symlink_status(own, ec)))
        return own;
    return GetProgramFolder() / name;
}

void ResetProgramFolderForTests() {
    RememberedProgramFolder().clear();
}

std::vector<std::string> ListSubfolders(const std::string& name) {
    std::vector<std::string> names;
    std::error_code ec;
    fs::directory_iterator it(GetProgramFolder() / name, ec);
    for (; !ec && it != fs::directory_iterator(); it.increment(ec)) {
        const std::u8string utf8 = it->path().filename().u8string();
        const std::string entry(utf8.begin(), utf8.end());
        if (entry.empty() || entry.front() == '.')
            continue;
        std::error_code typeError;
        if (it->is_directory(typeError))
            names.push_back(entry);
    }
    return names;
}

} // namespace zorvi::Helpers
