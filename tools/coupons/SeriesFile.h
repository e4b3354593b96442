#pragma once

#include <cstdint>
#include <optional>
#include <string>
#include <vector>

namespace zorvi {

// Whole-file access to a coupon-series file.
class SeriesFile {
public:
    // Larger files are refused: 10 million cards, far beyond any printed series, so an endless
    // input such as a device or a pipe cannot exhaust memory.
    static constexpr std::size_t kMaxBytes = 250'000'000;

    // The file's bytes, or nothing when it cannot be read or is too large (`error` says why).
    static std::optional<std::vector<std::uint8_t>> Read(const std::string& path,
                                                         std::string* error = nullptr);
    // Writes through a temporary file in the same folder and renames it, so a reader never sees
    // half a series and a failed write leaves an existing file as it was.
    static bool Write(const std::string& path, const std::vector<std::uint8_t>& bytes,
                      std::string* error = nullptr);
};

} // namespace zorvi
