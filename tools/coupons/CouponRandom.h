#pragma once

#include <cstdint>
#include <utility>

namespace zorvi {

// The series generator's own random source: xoshiro256** (Blackman and Vigna), its state
// filled from the seed by splitmix64. It is independent of the game's draw generator, so the
// same seed gives the same series on every platform and compiler.
class CouponRandom {
public:
    explicit CouponRandom(std::uint64_t seed) {
        for (auto& word : state_)
            word = SplitMix64(seed);
    }
    virtual ~CouponRandom() = default;

    std::uint64_t Next() {
        const std::uint64_t result = Rotl(state_[1] * 5, 7) * 9;
        const std::uint64_t t = state_[1] << 17;
        state_[2] ^= state_[0];
        state_[3] ^= state_[1];
        state_[1] ^= state_[2];
        state_[0] ^= state_[3];
        state_[2] ^= t;
        state_[3] = Rotl(state_[3], 45);
        return result;
    }

    // Uniform in 0 .. bound - 1 (bound > 0), without modulo bias (Lemire's multiply and reject).
    std::uint32_t Below(std::uint32_t bound) {
        std::uint64_t m = static_cast<std::uint64_t>(Next() >> 32) * bound;
        auto low = static_cast<std::uint32_t>(m);
        if (low < bound) {
            const std::uint32_t threshold = static_cast<std::uint32_t>(-bound) % bound;
            while (low < threshold) {
                m = static_cast<std::uint64_t>(Next() >> 32) * bound;
                low = static_cast<std::uint32_t>(m);
            }
        }
        return static_cast<std::uint32_t>(m >> 32);
    }

    // Fisher-Yates shuffle of count elements.
    template <typename T> void Shuffle(T* items, std::uint32_t count) {
        for (std::uint32_t i = count; i > 1; --i)
            std::swap(items[i - 1], items[Below(i)]);
    }

    static std::uint64_t SplitMix64(std::uint64_t& x) {
        std::uint64_t z = (x += 0x9E3779B97F4A7C15ULL);
        z = (z ^ (z >> 30)) * 0xBF58476D1CE4E5B9ULL;
        z = (z ^ (z >> 27)) * 0x94D049BB133111EBULL;
        return z ^ (z >> 31);
    }

private:
    static std::uint64_t Rotl(std::uint64_t x, int k) { return (x << k) | (x >> (64 - k)); }

    std::uint64_t state_[4] = {};
};

} // namespace zorvi
