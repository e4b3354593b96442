#include "SeriesFile.h"

#include <cerrno>
#include <cstring>
#include <filesystem>
#include <fstream>
#include <string_view>

#include "AtomicFile.h"

namespace zorvi {

namespace {

void SetError(std::string* error, const std::string& text) {
    if (error != nullptr)
        *error = text;
}

} // namespace

std::optional<std::vector<std::uint8_t>> SeriesFile::Read(const std::string& path,
                                                          std::string* error) {
    std::error_code ec;
    if (std::filesystem::is_directory(path, ec)) {
        SetError(error, path + ": is a folder");
        return std::nullopt;
    }
    std::ifstream in(path, std::ios::binary);
    if (!in) {
        SetError(error, path + ": " + std::strerror(errno));
        return std::nullopt;
    }
    std::vector<std::uint8_t> bytes;
    char block[65536];
    while (in) {
        in.read(block, sizeof block);
        bytes.insert(bytes.end(), block, block + in.gcount());
        if (bytes.size() > kMaxBytes) {
            SetError(error, path + ": larger than " + std::to_string(kMaxBytes) + " bytes");
            return std::nullopt;
        }
    }
    if (in.bad()) {
        SetError(error, path + ": read failed");
        return std::nullopt;
    }
    return bytes;
}

bool SeriesFile::Write(const std::string& path, const std::vector<std::uint8_t>& bytes,
                       std::string* error) {
    // A temporary of its own name in the same folder, flushed to disk and renamed over the
    // target: a failed or interrupted run leaves an existing series whole.
    const std::string_view content(reinterpret_cast<const char*>(bytes.data()), bytes.size());
    if (!WriteFileAtomically(std::filesystem::path(path), content)) {
        SetError(error, path + ": cannot be written");
        return false;
    }
    return true;
}

} // namespace zorvi
