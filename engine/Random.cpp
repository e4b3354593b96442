#include "Random.h"

#include <utility>

namespace zorvi::Helpers {

int RandomBelow(Random15& generator, int n) {
    // Outside the generator's range no uniform draw exists; 0 is the only safe answer.
    if (n < 1 || n > Random15::kMax)
        return 0;
    const int bucket = Random15::kMax / n;
    const int limit = Random15::kMax - Random15::kMax % n;
    int r = generator.Next();
    // Values in the short last bucket would favour the low results: draw again.
    while (r == Random15::kMax || r >= limit)
        r = generator.Next();
    return r / bucket;
}

void ShuffleSequence(Random15& generator, std::vector<int>& list) {
    const std::size_t k = list.size();
    if (k < 2)
        return;
    for (std::size_t i = 1; i < k; ++i) {
        const auto j = static_cast<std::size_t>(RandomBelow(generator, static_cast<int>(i + 1)));
        std::swap(list[i], list[j]);
    }
}

} // namespace zorvi::Helpers
