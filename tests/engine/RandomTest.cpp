#include <gtest/gtest.h>

#include <numeric>
#include <vector>

#include "Random.h"

namespace zorvi {
namespace {

TEST(Random15, SeedOneGivesTheKnownFirstValues) {
    Random15 generator(1);
    const std::vector<int> expected = {41, 18467, 6334, 26500, 19169};
    for (const int value : expected)
        EXPECT_EQ(generator.Next(), value);
}

TEST(Random15, SeedResetsTheSequence) {
    Random15 generator(99);
    generator.Next();
    generator.Seed(1);
    EXPECT_EQ(generator.Next(), 41);
}

TEST(RandomBelow, OneIsAlwaysZero) {
    Random15 generator(12345);
    for (int i = 0; i < 1000; ++i)
        ASSERT_EQ(Helpers::RandomBelow(generator, 1), 0);
}

TEST(RandomBelow, ResultsStayInRangeForEveryN) {
    Random15 generator(2024);
    for (const int n : {1, 2, 3, 7, 75, 90, 1000, 16384, 32766, 32767})
        for (int i = 0; i < 200; ++i) {
            const int r = Helpers::RandomBelow(generator, n);
            ASSERT_GE(r, 0) << n;
            ASSERT_LT(r, n) << n;
        }
}

TEST(RandomBelow, OutOfRangeArgumentsAreSafe) {
    Random15 generator(5);
    for (const int n : {0, -1, -32768, 32768, 1 << 30})
        EXPECT_EQ(Helpers::RandomBelow(generator, n), 0) << n;
}

// A seed whose first raw value satisfies `first` and whose second satisfies `second`.
template <typename First, typename Second> std::uint32_t FindSeed(First first, Second second) {
    for (std::uint32_t seed = 0;; ++seed) {
        Random15 probe(seed);
        const int a = probe.Next();
        const int b = probe.Next();
        if (first(a) && second(b))
            return seed;
    }
}

TEST(RandomBelow, SeventyFiveRejectsTheShortLastBucket) {
    // 32767 / 75 = 436 per result, 32700 values used; 32700 to 32767 are drawn again.
    const std::uint32_t seed =
        FindSeed([](int r) { return r >= 32700; }, [](int r) { return r < 32700; });
    Random15 raw(seed);
    raw.Next();
    const int second = raw.Next();

    Random15 generator(seed);
    EXPECT_EQ(Helpers::RandomBelow(generator, 75), second / 436);
    // Exactly two values were taken.
    EXPECT_EQ(generator.Next(), raw.Next());
}

TEST(RandomBelow, AcceptedValueIsNotDrawnAgain) {
    const std::uint32_t seed = FindSeed([](int r) { return r == 32699; }, [](int) { return true; });
    Random15 generator(seed);
    EXPECT_EQ(Helpers::RandomBelow(generator, 75), 32699 / 436);
    EXPECT_EQ(32699 / 436, 74);
}

TEST(RandomBelow, TopValueIsRejectedEvenWhenNDividesEvenly) {
    // For n = 1 the limit is 32767 itself; 32767 must still be drawn again.
    const std::uint32_t seed =
        FindSeed([](int r) { return r == 32767; }, [](int r) { return r != 32767; });
    Random15 raw(seed);
    raw.Next();
    raw.Next();
    Random15 generator(seed);
    EXPECT_EQ(Helpers::RandomBelow(generator, 1), 0);
    EXPECT_EQ(generator.Next(), raw.Next());
}

TEST(RandomBelow, NinetyUsesBucketsOf364) {
    const std::uint32_t seed =
        FindSeed([](int r) { return r >= 32760; }, [](int r) { return r < 32760; });
    Random15 raw(seed);
    raw.Next();
    const int second = raw.Next();
    Random15 generator(seed);
    EXPECT_EQ(Helpers::RandomBelow(generator, 90), second / 364);
}

TEST(ShuffleSequence, OneToFiveAfterSeedOne) {
    Random15 generator(1);
    std::vector<int> list = {1, 2, 3, 4, 5};
    Helpers::ShuffleSequence(generator, list);
    EXPECT_EQ(list, (std::vector<int>{4, 3, 1, 2, 5}));
}

TEST(ShuffleSequence, ShortListsUseNoRandomValue) {
    for (std::vector<int> list : {std::vector<int>{}, std::vector<int>{7}}) {
        Random15 generator(1);
        const std::vector<int> before = list;
        Helpers::ShuffleSequence(generator, list);
        EXPECT_EQ(list, before);
        EXPECT_EQ(generator.Next(), 41);
    }
}

TEST(ShuffleSequence, KeepsEveryEntryOfNinety) {
    Random15 generator(77);
    std::vector<int> list(90);
    std::iota(list.begin(), list.end(), 1);
    Helpers::ShuffleSequence(generator, list);
    std::vector<int> sorted = list;
    std::sort(sorted.begin(), sorted.end());
    std::vector<int> expected(90);
    std::iota(expected.begin(), expected.end(), 1);
    EXPECT_EQ(sorted, expected);
    EXPECT_NE(list, expected);
}

} // namespace
} // namespace zorvi
