#pragma once

#include <array>
#include <cstddef>
#include <cstdint>

namespace zorvi {

// The ChaCha20 stream cipher's key stream (RFC 8439): 32-byte key, 12-byte nonce and a 32-bit
// block counter. In-tree so the deterministic draw source builds on every platform.
class ChaCha20 {
public:
    using Key = std::array<std::uint8_t, 32>;
    using Nonce = std::array<std::uint8_t, 12>;
    using Block = std::array<std::uint8_t, 64>;

    ChaCha20(const Key& key, const Nonce& nonce, std::uint32_t counter);
    virtual ~ChaCha20() = default;

    // The key-stream block at the current counter; the counter then moves on by one.
    Block NextBlock();
    // XORs the key stream into the data (encryption and decryption alike).
    void Apply(std::uint8_t* data, std::size_t size);

private:
    std::array<std::uint32_t, 16> input_{};
};

} // namespace zorvi
