#include "SetAside.h"

#include <algorithm>
#include <cstdio>
#include <cstdlib>
#include <ctime>
#include <filesystem>
#include <system_error>

#include "Folders.h"
#include "RegularFile.h"

namespace zorvi::Helpers {

namespace fs = std::filesystem;

namespace {

std::string Prefix(const std::string& file) {
    return file + ".corrupt-";
}

std::string Stamp() {
    const std::time_t now = std::time(nullptr);
    std::tm local{};
#ifdef _WIN32
    localtime_s(&local, &now);
#else
    localtime_r(&now, &local);
#endif
    char text[96];
    std::snprintf(text, sizeof text, "%04d-%02d-%02d-%02d%02d%02d", local.tm_year + 1900,
                  local.tm_mon + 1, local.tm_mday, local.tm_hour, local.tm_min, local.tm_sec);
    return text;
}

// True when something (a file, a folder, a dangling link) has that name.
bool Taken(const fs::path& path) {
    std::error_code ec;
    return fs::symlink_status(path, ec).type() != fs::file_type::not_found;
}

std::string Utf8Name(const fs::path& path) {
    const std::u8string name = path.filename().u8string();
    return std::string(name.begin(), name.end());
}

} // namespace

std::vector<std::string> SetAsideCopies(const std::string& file) {
    std::vector<std::string> names;
    const std::string prefix = Prefix(file);
    std::error_code ec;
    for (fs::directory_iterator it(GetDataFolder(), ec); !ec && it != fs::directory_iterator();
         it.increment(ec)) {
        std::string name = Utf8Name(it->path());
        if (name.compare(0, prefix.size(), prefix) == 0)
            names.push_back(std::move(name));
    }
    // The stamps and suffixes are zero-padded, so the names sort by time.
    std::sort(names.begin(), names.end());
    return names;
}

std::optional<std::string> SetAsideFile(const std::string& file) {
    const fs::path folder = GetDataFolder();
    const fs::path path = folder / file;
    if (!Taken(path))
        return std::nullopt;
    std::string scratch;
    if (ReadRegularFile(path, 0, scratch) == FileRead::Unreadable)
        return std::nullopt;

    // A second copy within the same second gets the next two-digit suffix, so the names keep
    // sorting by time even after older copies were removed.
    const std::string base = Prefix(file) + Stamp();
    std::string name = base;
    int last = Taken(folder / base) ? 1 : 0;
    for (const std::string& copy : SetAsideCopies(file)) {
        if (copy.size() == base.size() + 3 && copy.compare(0, base.size(), base) == 0 &&
            copy[base.size()] == '-')
            last = std::max(last, std::atoi(copy.c_str() + base.size() + 1));
    }
    if (last > 0) {
        if (last >= 99)
            return std::nullopt;
        char suffix[16];
        std::snprintf(suffix, sizeof suffix, "-%02d", last + 1);
        name = base + suffix;
    }
    // A rename moves the entry itself: a link stays a link, a pipe is never opened.
    std::error_code ec;
    fs::rename(path, folder / name, ec);
    if (ec)
        return std::nullopt;

    std::vector<std::string> copies = SetAsideCopies(file);
    const std::size_t kept = static_cast<std::size_t>(kKeptSetAsideCopies);
    for (std::size_t i = 0; i + kept < copies.size(); ++i) {
        // A folder that was set aside goes only when empty: its contents are not ours.
        std::error_code ignored;
        fs::remove(folder / copies[i], ignored);
    }
    return name;
}

} // namespace zorvi::Helpers
