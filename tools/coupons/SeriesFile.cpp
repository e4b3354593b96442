#include "SeriesFile.h"

#include <cerrno>
#include <cstring>
#include <filesystem>
#include <fstream>

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
    const std::string temporary = path + ".tmp";
    {
        std::ofstream out(temporary, std::ios::binary | std::ios::trunc);
        if (!out) {
            SetError(error, temporary + ": " + std::strerror(errno));
            return false;
        }
        out.write(reinterpret_cast<const char*>(bytes.data()),
                  static_cast<std::streamsize>(bytes.size()));
        out.flush();
        if (!out) {
            SetError(error, temporary + ": write failed");
            out.close();
            std::filesystem::remove(temporary);
            return false;
        }
    }
    std::error_code ec;
    std::filesystem::rename(temporary, path, ec);
    if (ec) {
        SetError(error, path + ": " + ec.message());
        std::filesystem::remove(temporary, ec);
        return false;
    }
    return true;
}

} // namespace zorvi
