#pragma once

#include <cstddef>
#include <cstdint>
#include <vector>

namespace zorvi {

// Where the game's randomness comes from. The program passes one in (the operating system's
// generator); tests pass a reproducible one. Nothing here is global.
class DrawSource {
public:
    virtual ~DrawSource() = default;

    // A uniformly distributed integer r with 0 <= r < n, for n >= 1 (0 for any other n).
    virtual int UniformBelow(int n) = 0;
    // Fills the bytes with random values (the commitment's nonce).
    virtual void FillBytes(std::uint8_t* data, std::size_t size) = 0;
};

// A source over a stream of uniformly random bytes: the 32-bit words it reads are turned into
// uniform integers by rejection, so no result is favoured (no modulo bias).
class ByteStreamSource : public DrawSource {
public:
    int UniformBelow(int n) override;
    void FillBytes(std::uint8_t* data, std::size_t size) override;

    // The next 32 random bits.
    std::uint32_t NextWord();

protected:
    // Fills the buffer with fresh random bytes.
    virtual void Refill(std::uint8_t* data, std::size_t size) = 0;

private:
    static constexpr std::size_t kBufferSize = 512;
    std::uint8_t buffer_[kBufferSize] = {};
    std::size_t used_ = kBufferSize;
};

// The operating system's cryptographically secure generator: getrandom() on Linux,
// BCryptGenRandom() on Windows. Unpredictable, never seeded from the time; two programs
// started together draw different games. The program's only draw source.
class OsRandomSource final : public ByteStreamSource {
protected:
    void Refill(std::uint8_t* data, std::size_t size) override;
};

// A deterministic secure source: the ChaCha20 key stream of a fixed 32-byte key (nonce 0,
// counter from 0). The same key gives the same games: for reproducible statistics and tools.
class KeyedSource final : public ByteStreamSource {
public:
    explicit KeyedSource(const std::uint8_t (&key)[32]);
    // A key of exactly 64 hexadecimal digits; false (key untouched) for any other text.
    static bool ParseKey(const char* hex, std::size_t length, std::uint8_t (&key)[32]);

protected:
    void Refill(std::uint8_t* data, std::size_t size) override;

private:
    std::uint8_t key_[32];
    std::uint32_t counter_ = 0;
};

namespace Helpers {

// Permutes the list in place: for i = 1 .. k-1, swap entry i with a uniform j in 0 .. i. Every
// order is equally likely when the source is uniform.
void ShuffleSequence(DrawSource& source, std::vector<int>& list);

// 1, 2, ..., n shuffled: the draw sequence of one game.
std::vector<int> ShuffledSequence(DrawSource& source, int n);

} // namespace Helpers
} // namespace zorvi
