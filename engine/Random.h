#pragma once

#include <cstdint>
#include <vector>

namespace zorvi {

// The program's one 15-bit pseudo-random generator: the linear congruential generator
// x <- x * 214013 + 2531011 (mod 2^32), returning (x >> 16) & 32767. Written out here so
// that every platform shuffles alike. Seeded once per run by the application.
class Random15 {
public:
    explicit Random15(std::uint32_t seed = 1) : state_(seed) {}
    virtual ~Random15() = default;

    void Seed(std::uint32_t seed) { state_ = seed; }
    int Next() {
        state_ = state_ * 214013u + 2531011u;
        return static_cast<int>((state_ >> 16) & 32767u);
    }

    static constexpr int kMax = 32767;

private:
    std::uint32_t state_;
};

namespace Helpers {

// A uniformly distributed integer in 0 to n - 1, for 1 <= n <= 32767 (rejection sampling).
int RandomBelow(Random15& generator, int n);

// Permutes the list in place: for i = 1 .. k-1, swap i with RandomBelow(i + 1).
void ShuffleSequence(Random15& generator, std::vector<int>& list);

} // namespace Helpers
} // namespace zorvi
