#include "Random.h"

namespace zorvi {

int Random15::UniformBelow(int n) {
    return Helpers::RandomBelow(*this, n);
}

void Random15::FillBytes(std::uint8_t* data, std::size_t size) {
    for (std::size_t i = 0; i < size; ++i)
        data[i] = static_cast<std::uint8_t>(Next() & 0xff);
}

namespace Helpers {

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

} // namespace Helpers
} // namespace zorvi
