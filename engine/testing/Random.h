#pragma once

#include <cstdint>
#include <vector>

#include "DrawSource.h"

namespace zorvi {

// The classic 15-bit linear congruential generator x <- x * 214013 + 2531011 (mod 2^32),
// returning (x >> 16) & 32767. A test seam only: its 2^32 states reach a tiny part of the
// possible orders and a seed is easy to guess, so the program cannot link it. Tests use it for
// its known vectors and for games that repeat exactly.
class Random15 final : public DrawSource {
public:
    explicit Random15(std::uint32_t seed = 1) : state_(seed) {}

    void Seed(std::uint32_t seed) { state_ = seed; }
    int Next() {
        state_ = state_ * 214013u + 2531011u;
        return static_cast<int>((state_ >> 16) & 32767u);
    }

    int UniformBelow(int n) override;
    void FillBytes(std::uint8_t* data, std::size_t size) override;

    static constexpr int kMax = 32767;

private:
    std::uint32_t state_;
};

namespace Helpers {

// A uniformly distributed integer in 0 to n - 1, for 1 <= n <= 32767 (rejection sampling).
int RandomBelow(Random15& generator, int n);

} // namespace Helpers
} // namespace zorvi
