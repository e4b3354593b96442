#include "Folders.h"

#include <cstdlib>
#include <system_error>

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

fs::path GetProgramFolder() {
    fs::path& folder = RememberedProgramFolder();
    if (folder.empty()) {
        std::error_code ec;
        folder = fs::current_path(ec);
    }
    return folder;
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
