// The statistics battery of the draw: a reproducible stream of games through the program's own
// shuffle passes every test at alpha = 0.001, and the same tests reject two known faulty
// shuffles. Games per number count: ZORVI_STATISTICS_GAMES (compile definition) or the
// environment variable of the same name, else 100,000.
#include <gtest/gtest.h>

#include <cmath>
#include <cstdlib>
#include <functional>
#include <iostream>
#include <string>
#include <vector>

#include "DrawSource.h"
#include "DrawStatistics.h"
#include "Helpers.h"

#ifndef ZORVI_STATISTICS_GAMES
#define ZORVI_STATISTICS_GAMES 100000
#endif

namespace zorvi {
namespace {

constexpr double kAlpha = 0.001;

std::uint64_t GamesPerCount() {
    if (const char* text = std::getenv("ZORVI_STATISTICS_GAMES")) {
        const long long value = std::atoll(text);
        if (value >= 1000)
            return static_cast<std::uint64_t>(value);
    }
    return ZORVI_STATISTICS_GAMES;
}

// The fixed key of the battery's stream.
KeyedSource BatterySource(std::uint8_t salt) {
    std::uint8_t key[32];
    for (std::size_t i = 0; i < 32; ++i)
        key[i] = static_cast<std::uint8_t>(0x5a ^ (i * 13) ^ salt);
    return KeyedSource(key);
}

using Shuffle = std::function<std::vector<int>(int n)>;

std::vector<DrawTally::Test> Tally(int n, std::uint64_t games, const Shuffle& shuffle) {
    DrawTally tally(n);
    for (std::uint64_t g = 0; g < games; ++g)
        tally.Add(shuffle(n));
    return tally.Tests();
}

std::string Table(const std::vector<DrawTally::Test>& tests) {
    std::string text;
    for (const auto& t : tests)
        text += "  " + t.name + ": chi2 " + std::to_string(t.statistic) + ", df " +
                std::to_string(static_cast<long>(t.degrees)) + ", p " + std::to_string(t.p_value) +
                "\n";
    return text;
}

// ---- The distributions the tests rest on ------------------------------------------------------

TEST(ChiSquareTail, KnownQuantiles) {
    // Upper 0.001 points from the tables, and the median of 1 degree of freedom.
    EXPECT_NEAR(Statistics::ChiSquareUpperTail(10.828, 1), 0.001, 1e-5);
    EXPECT_NEAR(Statistics::ChiSquareUpperTail(20.515, 5), 0.001, 1e-5);
    EXPECT_NEAR(Statistics::ChiSquareUpperTail(0.45494, 1), 0.5, 1e-4);
    EXPECT_NEAR(Statistics::ChiSquareUpperTail(2, 2), std::exp(-1.0), 1e-12);
    // Large degrees of freedom: the statistic at its mean is a little under one half.
    const double p = Statistics::ChiSquareUpperTail(5476, 5476);
    EXPECT_GT(p, 0.49);
    EXPECT_LT(p, 0.50);
    EXPECT_DOUBLE_EQ(Statistics::ChiSquareUpperTail(0, 3), 1.0);
    EXPECT_LT(Statistics::ChiSquareUpperTail(7000, 5476), 1e-20);
}

TEST(RunsDistribution, SumsToOneWithTheKnownMean) {
    for (const auto& [low, high] : {std::pair{37, 38}, std::pair{45, 45}, std::pair{2, 3}}) {
        const std::vector<double> p = Statistics::RunsDistribution(low, high);
        double sum = 0, mean = 0;
        for (std::size_t r = 0; r < p.size(); ++r) {
            sum += p[r];
            mean += static_cast<double>(r) * p[r];
        }
        const double n = low + high;
        EXPECT_NEAR(sum, 1.0, 1e-12);
        EXPECT_NEAR(mean, 2.0 * low * high / n + 1.0, 1e-9);
    }
}

// ---- The battery -----------------------------------------------------------------------------

class BatteryTest : public ::testing::TestWithParam<int> {};

// Degrees of freedom: number x position (N-1)^2, first number N-1, consecutive pairs
// N(N-1)-1, order of three numbers 5, runs (the classes of runs after pooling) - 1.
TEST_P(BatteryTest, ProgramShufflePassesEveryTest) {
    const int n = GetParam();
    KeyedSource source = BatterySource(static_cast<std::uint8_t>(n));
    const auto tests = Tally(n, GamesPerCount(),
                             [&](int count) { return Helpers::ShuffledSequence(source, count); });
    ASSERT_EQ(tests.size(), 5u);
    EXPECT_DOUBLE_EQ(tests[0].degrees, (n - 1.0) * (n - 1.0));
    EXPECT_DOUBLE_EQ(tests[1].degrees, n - 1.0);
    EXPECT_DOUBLE_EQ(tests[2].degrees, n * (n - 1.0) - 1.0);
    EXPECT_DOUBLE_EQ(tests[3].degrees, 5.0);
    for (const auto& t : tests)
        EXPECT_GT(t.p_value, kAlpha) << t.name << "\n" << Table(tests);
    std::cout << "N = " << n << ", " << GamesPerCount() << " games\n" << Table(tests);
}

// j = (one random byte) mod (i + 1): the low values of j come up more often.
class ModuloBiasedSource final : public DrawSource {
public:
    explicit ModuloBiasedSource(DrawSource& bytes) : bytes_(bytes) {}
    int UniformBelow(int n) override {
        std::uint8_t byte = 0;
        bytes_.FillBytes(&byte, 1);
        return n > 0 ? byte % n : 0;
    }
    void FillBytes(std::uint8_t* data, std::size_t size) override { bytes_.FillBytes(data, size); }

private:
    DrawSource& bytes_;
};

// The classic naive shuffle: every entry swapped with a j from the whole list, 0 .. k-1.
std::vector<int> NaiveShuffle(DrawSource& source, int n) {
    std::vector<int> list = Helpers::MakeNumberSequence(n);
    for (int i = 0; i < n; ++i)
        std::swap(list[static_cast<std::size_t>(i)],
                  list[static_cast<std::size_t>(source.UniformBelow(n))]);
    return list;
}

bool AnyRejects(const std::vector<DrawTally::Test>& tests) {
    for (const auto& t : tests)
        if (t.p_value < kAlpha)
            return true;
    return false;
}

TEST_P(BatteryTest, RejectsTheModuloBiasedShuffle) {
    const int n = GetParam();
    KeyedSource bytes = BatterySource(0x80);
    ModuloBiasedSource biased(bytes);
    const auto tests = Tally(n, GamesPerCount(),
                             [&](int count) { return Helpers::ShuffledSequence(biased, count); });
    EXPECT_TRUE(AnyRejects(tests)) << Table(tests);
    EXPECT_LT(tests[0].p_value, kAlpha) << Table(tests); // number x position
    std::cout << "modulo bias, N = " << n << "\n" << Table(tests);
}

TEST_P(BatteryTest, RejectsTheNaiveShuffle) {
    const int n = GetParam();
    KeyedSource source = BatterySource(0x40);
    const auto tests =
        Tally(n, GamesPerCount(), [&](int count) { return NaiveShuffle(source, count); });
    EXPECT_TRUE(AnyRejects(tests)) << Table(tests);
    EXPECT_LT(tests[0].p_value, kAlpha) << Table(tests); // number x position
    std::cout << "naive shuffle, N = " << n << "\n" << Table(tests);
}

INSTANTIATE_TEST_SUITE_P(Counts, BatteryTest, ::testing::Values(75, 90),
                         [](const auto& info) { return std::to_string(info.param); });

} // namespace
} // namespace zorvi
