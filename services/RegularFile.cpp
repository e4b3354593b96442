#include "RegularFile.h"

#include <algorithm>

#ifdef _WIN32
#include <windows.h>
#else
#include <cerrno>
#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>
#endif

namespace zorvi {

namespace fs = std::filesystem;

namespace {

// The platform's open, type check and read; everything else is shared.
#ifdef _WIN32

class PlatformFile {
public:
    PlatformFile() = default;
    ~PlatformFile() {
        if (handle_ != INVALID_HANDLE_VALUE)
            CloseHandle(handle_);
    }
    PlatformFile(const PlatformFile&) = delete;
    PlatformFile& operator=(const PlatformFile&) = delete;

    FileRead Open(const fs::path& path) {
        const DWORD attributes = GetFileAttributesW(path.c_str());
        if (attributes == INVALID_FILE_ATTRIBUTES) {
            const DWORD error = GetLastError();
            return error == ERROR_FILE_NOT_FOUND || error == ERROR_PATH_NOT_FOUND
                       ? FileRead::Missing
                       : FileRead::Unreadable;
        }
        if ((attributes & FILE_ATTRIBUTE_DIRECTORY) != 0)
            return FileRead::NotRegular;
        handle_ = CreateFileW(path.c_str(), GENERIC_READ,
                              FILE_SHARE_READ | FILE_SHARE_WRITE | FILE_SHARE_DELETE, nullptr,
                              OPEN_EXISTING, FILE_ATTRIBUTE_NORMAL, nullptr);
        if (handle_ == INVALID_HANDLE_VALUE)
            return FileRead::Unreadable;
        // Pipes and devices (a link to "NUL", "CON") are no files of the program.
        if (GetFileType(handle_) != FILE_TYPE_DISK)
            return FileRead::NotRegular;
        LARGE_INTEGER size{};
        if (GetFileSizeEx(handle_, &size) && size.QuadPart > 0)
            size_ = static_cast<std::uint64_t>(size.QuadPart);
        return FileRead::Ok;
    }

    std::uint64_t SizeHint() const { return size_; }

    // Bytes read, 0 at the end, -1 on an error.
    long long Read(void* buffer, std::size_t count) {
        const DWORD ask = static_cast<DWORD>(std::min<std::size_t>(count, 1u << 30));
        DWORD got = 0;
        if (!ReadFile(handle_, buffer, ask, &got, nullptr))
            return -1;
        return static_cast<long long>(got);
    }

private:
    HANDLE handle_ = INVALID_HANDLE_VALUE;
    std::uint64_t size_ = 0;
};

#else

class PlatformFile {
public:
    PlatformFile() = default;
    ~PlatformFile() {
        if (fd_ >= 0)
            ::close(fd_);
    }
    PlatformFile(const PlatformFile&) = delete;
    PlatformFile& operator=(const PlatformFile&) = delete;

    FileRead Open(const fs::path& path) {
        // Non-blocking: opening a named pipe would otherwise wait for a writer for ever.
        fd_ = ::open(path.c_str(), O_RDONLY | O_NONBLOCK | O_CLOEXEC | O_NOCTTY);
        if (fd_ < 0) {
            if (errno == ENOENT || errno == ENOTDIR)
                return FileRead::Missing;
            struct stat info {};
            if (::stat(path.c_str(), &info) == 0 && !S_ISREG(info.st_mode))
                return FileRead::NotRegular;
            return errno == ELOOP ? FileRead::NotRegular : FileRead::Unreadable;
        }
        struct stat info {};
        if (::fstat(fd_, &info) != 0)
            return FileRead::Unreadable;
        if (!S_ISREG(info.st_mode))
            return FileRead::NotRegular;
        if (info.st_size > 0)
            size_ = static_cast<std::uint64_t>(info.st_size);
        return FileRead::Ok;
    }

    std::uint64_t SizeHint() const { return size_; }

    long long Read(void* buffer, std::size_t count) {
        for (;;) {
            const ssize_t got = ::read(fd_, buffer, count);
            if (got < 0 && errno == EINTR)
                continue;
            return static_cast<long long>(got);
        }
    }

private:
    int fd_ = -1;
    std::uint64_t size_ = 0;
};

#endif

template <typename Buffer>
FileRead ReadInto(const fs::path& path, std::uint64_t limit, Buffer& out) {
    out.clear();
    PlatformFile file;
    const FileRead opened = file.Open(path);
    if (opened != FileRead::Ok)
        return opened;

    // One byte past the limit tells a file that is too long from one that fits exactly.
    limit = std::min<std::uint64_t>(limit, (std::uint64_t{1} << 40));
    const std::uint64_t wanted = limit + 1;
    // The size is only a hint: the file may grow or shrink while it is read.
    out.resize(static_cast<std::size_t>(std::min(file.SizeHint() + 1, wanted)));
    std::size_t filled = 0;
    for (;;) {
        if (filled == out.size()) {
            if (out.size() >= wanted)
                break;
            const std::uint64_t grown = std::max<std::uint64_t>(out.size() * 2u, 65536u);
            out.resize(static_cast<std::size_t>(std::min(grown, wanted)));
        }
        const long long got = file.Read(out.data() + filled, out.size() - filled);
        if (got < 0) {
            out.clear();
            return FileRead::Unreadable;
        }
        if (got == 0)
            break;
        filled += static_cast<std::size_t>(got);
    }
    if (filled > limit) {
        out.resize(static_cast<std::size_t>(limit));
        return FileRead::TooLarge;
    }
    out.resize(filled);
    return FileRead::Ok;
}

} // namespace

FileRead ReadRegularFile(const fs::path& path, std::uint64_t limit, std::string& out) {
    return ReadInto(path, limit, out);
}

FileRead ReadRegularFile(const fs::path& path, std::uint64_t limit,
                         std::vector<std::uint8_t>& out) {
    return ReadInto(path, limit, out);
}

} // namespace zorvi
