#include "AtomicFile.h"

#include "RegularFile.h"

#include <cstdio>
#include <random>
#include <system_error>

#ifdef _WIN32
#include <io.h>
#include <windows.h>
#else
#include <cerrno>
#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>
#endif

namespace zorvi {

namespace fs = std::filesystem;

std::optional<std::string> ReadWholeFile(const fs::path& path) {
    std::string content;
    if (ReadRegularFile(path, kIniFileLimit, content) != FileRead::Ok)
        return std::nullopt;
    return content;
}

#ifdef _WIN32

namespace {

fs::path TempPathFor(const fs::path& path) {
    std::random_device rd;
    return path.parent_path() /
           (L"." + path.filename().wstring() + L".tmp-" + std::to_wstring(rd()));
}

} // namespace

bool WriteFileAtomically(const fs::path& path, std::string_view content) {
    const fs::path temp = TempPathFor(path);
    std::FILE* file = _wfopen(temp.c_str(), L"wbx");
    if (file == nullptr)
        return false;
    bool ok = std::fwrite(content.data(), 1, content.size(), file) == content.size();
    ok = std::fflush(file) == 0 && ok;
    ok = _commit(_fileno(file)) == 0 && ok;
    ok = std::fclose(file) == 0 && ok;
    ok = ok && MoveFileExW(temp.c_str(), path.c_str(),
                           MOVEFILE_REPLACE_EXISTING | MOVEFILE_WRITE_THROUGH) != 0;
    if (!ok) {
        std::error_code ec;
        fs::remove(temp, ec);
    }
    return ok;
}

#else

namespace {

bool WriteAll(int fd, std::string_view content) {
    while (!content.empty()) {
        const ssize_t written = ::write(fd, content.data(), content.size());
        if (written < 0) {
            if (errno == EINTR)
                continue;
            return false;
        }
        content.remove_prefix(static_cast<std::size_t>(written));
    }
    return true;
}

// The rename itself is made durable by syncing the folder that holds the entry.
void SyncFolder(const fs::path& folder) {
    const int fd = ::open(folder.empty() ? "." : folder.c_str(), O_RDONLY | O_DIRECTORY);
    if (fd >= 0) {
        ::fsync(fd);
        ::close(fd);
    }
}

} // namespace

bool WriteFileAtomically(const fs::path& path, std::string_view content) {
    const fs::path folder = path.parent_path();
    // Hidden, so that a temporary left by a power cut is never taken for a voice or a file
    // of the program.
    std::string name = ".";
    name += path.filename().string();
    name += ".tmp-XXXXXX";
    std::string pattern = (folder / name).string();
    const int fd = ::mkstemp(pattern.data());
    if (fd < 0)
        return false;
    const fs::path temp = pattern;

    // mkstemp makes the file private; keep the mode of the file it replaces, if any.
    struct stat old {};
    const mode_t mode = ::stat(path.c_str(), &old) == 0 ? (old.st_mode & 07777) : 0644;
    bool ok = ::fchmod(fd, mode) == 0;
    ok = ok && WriteAll(fd, content);
    ok = ok && ::fsync(fd) == 0;
    ok = ::close(fd) == 0 && ok;
    ok = ok && ::rename(temp.c_str(), path.c_str()) == 0;
    if (!ok) {
        std::error_code ec;
        fs::remove(temp, ec);
        return false;
    }
    SyncFolder(folder);
    return true;
}

#endif

} // namespace zorvi
