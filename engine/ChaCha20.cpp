#include "ChaCha20.h"

#include <algorithm>

namespace zorvi {

namespace {

std::uint32_t LoadLittle(const std::uint8_t* p) {
    return std::uint32_t(p[0]) | std::uint32_t(p[1]) << 8 | std::uint32_t(p[2]) << 16 |
           std::uint32_t(p[3]) << 24;
}

constexpr std::uint32_t Rotl(std::uint32_t x, int n) {
    return (x << n) | (x >> (32 - n));
}

inline void QuarterRound(std::uint32_t* x, int a, int b, int c, int d) {
    x[a] += x[b];
    x[d] = Rotl(x[d] ^ x[a], 16);
    x[c] += x[d];
    x[b] = Rotl(x[b] ^ x[c], 12);
    x[a] += x[b];
    x[d] = Rotl(x[d] ^ x[a], 8);
    x[c] += x[d];
    x[b] = Rotl(x[b] ^ x[c], 7);
}

} // namespace

ChaCha20::ChaCha20(const Key& key, const Nonce& nonce, std::uint32_t counter) {
    // "expand 32-byte k"
    input_[0] = 0x61707865;
    input_[1] = 0x3320646e;
    input_[2] = 0x79622d32;
    input_[3] = 0x6b206574;
    for (std::size_t i = 0; i < 8; ++i)
        input_[4 + i] = LoadLittle(key.data() + 4 * i);
    input_[12] = counter;
    for (std::size_t i = 0; i < 3; ++i)
        input_[13 + i] = LoadLittle(nonce.data() + 4 * i);
}

ChaCha20::Block ChaCha20::NextBlock() {
    std::uint32_t x[16];
    std::copy(input_.begin(), input_.end(), x);
    for (int round = 0; round < 10; ++round) {
        QuarterRound(x, 0, 4, 8, 12);
        QuarterRound(x, 1, 5, 9, 13);
        QuarterRound(x, 2, 6, 10, 14);
        QuarterRound(x, 3, 7, 11, 15);
        QuarterRound(x, 0, 5, 10, 15);
        QuarterRound(x, 1, 6, 11, 12);
        QuarterRound(x, 2, 7, 8, 13);
        QuarterRound(x, 3, 4, 9, 14);
    }
    Block block{};
    for (std::size_t i = 0; i < 16; ++i) {
        const std::uint32_t word = x[i] + input_[i];
        block[4 * i] = std::uint8_t(word);
        block[4 * i + 1] = std::uint8_t(word >> 8);
        block[4 * i + 2] = std::uint8_t(word >> 16);
        block[4 * i + 3] = std::uint8_t(word >> 24);
    }
    ++input_[12];
    return block;
}

void ChaCha20::Apply(std::uint8_t* data, std::size_t size) {
    while (size > 0) {
        const Block block = NextBlock();
        const std::size_t take = std::min(size, block.size());
        for (std::size_t i = 0; i < take; ++i)
            data[i] ^= block[i];
        data += take;
        size -= take;
    }
}

} // namespace zorvi
