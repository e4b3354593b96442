#pragma once

#include <array>
#include <cstddef>
#include <cstdint>
#include <string>
#include <string_view>

namespace zorvi {

// SHA-256 (FIPS 180-4), in-tree so the engine needs no library on any platform.
class Sha256 {
public:
    using Digest = std::array<std::uint8_t, 32>;

    Sha256();
    virtual ~Sha256() = default;

    void Update(const std::uint8_t* data, std::size_t size);
    void Update(std::string_view text);
    Digest Finish();

    static Digest Of(std::string_view text);
    // The digest as 64 lower-case hexadecimal digits.
    static std::string HexOf(std::string_view text);

private:
    void Block(const std::uint8_t* block);

    std::array<std::uint32_t, 8> state_;
    std::array<std::uint8_t, 64> buffer_{};
    std::size_t buffered_ = 0;
    std::uint64_t length_ = 0; // bytes
};

// Lower-case hexadecimal text of bytes.
std::string HexText(const std::uint8_t* data, std::size_t size);

} // namespace zorvi
