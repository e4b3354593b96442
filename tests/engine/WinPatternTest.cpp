#include <gtest/gtest.h>

#include <algorithm>
#include <cstdint>
#include <numeric>
#include <random>
#include <set>
#include <string>
#include <vector>

#include "BingoCoupon.h"
#include "BingoHelpers.h"
#include "GameRules.h"
#include "Settings.h"
#include "WinPattern.h"
#include "WinningMarks.h"

namespace zorvi {
namespace {

// The rule written out square by square, sharing nothing with the program's bit masks: a
// drawn number marks the first square that holds it, the free middle is marked and holds its
// own number, and a mask wins when all its squares are marked and one of them holds the last
// number drawn.
bool SimplyHolds(const std::vector<int>& coupon, const std::vector<std::uint32_t>& masks,
                 const std::vector<int>& drawn, bool freeMiddle) {
    if (drawn.empty())
        return false;
    const int last = drawn.back();
    const int size = static_cast<int>(coupon.size());
    std::vector<bool> marked(coupon.size(), false);
    std::vector<bool> holdsLast(coupon.size(), false);
    for (int p = 0; p < size; ++p) {
        bool first = true;
        for (int q = 0; q < p; ++q)
            first = first && coupon[q] != coupon[p];
        const bool isDrawn = std::find(drawn.begin(), drawn.end(), coupon[p]) != drawn.end();
        marked[p] = first && isDrawn;
        holdsLast[p] = marked[p] && coupon[p] == last;
    }
    const int middle = size == 25 ? 12 : size == 15 ? 7 : -1;
    if (freeMiddle && middle >= 0) {
        marked[middle] = true;
        holdsLast[middle] = coupon[middle] == last;
    }
    for (const std::uint32_t mask : masks) {
        bool all = true;
        bool last = false;
        for (int p = 0; p < size; ++p) {
            if (((mask >> p) & 1u) == 0)
                continue;
            all = all && marked[p];
            last = last || holdsLast[p];
        }
        if (all && last)
            return true;
    }
    return false;
}

struct SeriesCase {
    const char* name;
    int n;
    bool freeMiddle;
    bool crowded; // numbers 1 to 12 only, so repeats and many winners
    std::uint32_t seed;
};

void PrintTo(const SeriesCase& c, std::ostream* out) {
    *out << c.name;
}

std::vector<std::uint8_t> MakeSeries(const SeriesCase& c, int coupons, std::mt19937& random) {
    const int size = GameRules::CouponSize(c.n);
    std::vector<int> numbers(static_cast<std::size_t>(c.n));
    std::iota(numbers.begin(), numbers.end(), 1);
    std::uniform_int_distribution<int> crowded(1, 12);
    std::vector<std::uint8_t> bytes;
    for (int k = 0; k < coupons; ++k) {
        std::shuffle(numbers.begin(), numbers.end(), random);
        for (int p = 0; p < size; ++p)
            bytes.push_back(static_cast<std::uint8_t>(c.crowded ? crowded(random) : numbers[p]));
    }
    return bytes;
}

// Every pattern a game offers, and one the hall drew.
std::vector<WinPattern> PatternsOf(int n) {
    std::vector<WinPattern> patterns = WinPatterns::Library(n);
    if (n == GameRules::kNumbers75)
        patterns.push_back(
            *WinPatterns::Drawn("Arrow", *WinPatterns::ParseGrid("..#../.###./#.#.#/..#../..#..")));
    return patterns;
}

class WinPatternSeriesTest : public ::testing::TestWithParam<SeriesCase> {};

// Every pattern, every coupon of a small series, every draw of a whole game: the coupon
// check and winning now say what the rule written out says.
TEST_P(WinPatternSeriesTest, CheckAndWinningNowFollowTheRule) {
    const SeriesCase& c = GetParam();
    constexpr int kCoupons = 80;
    std::mt19937 random(c.seed);
    Settings settings{Settings::NoLoad{}};
    settings.free_middle = c.freeMiddle ? 1 : 0;
    BingoHelpers series;
    series.AttachSettings(settings);
    const auto size = static_cast<std::uint32_t>(GameRules::CouponSize(c.n));
    series.SetSeriesBytes(MakeSeries(c, kCoupons, random), size);

    std::vector<int> sequence(static_cast<std::size_t>(c.n));
    std::iota(sequence.begin(), sequence.end(), 1);
    std::shuffle(sequence.begin(), sequence.end(), random);

    int allWins = 0;
    for (const WinPattern& pattern : PatternsOf(c.n)) {
        WinningMarks marks;
        int wins = 0;
        for (int count = 1; count <= c.n; ++count) {
            const std::vector<int> drawn(sequence.begin(), sequence.begin() + count);
            WinningNow expected;
            for (int k = 1; k <= kCoupons; ++k) {
                const std::vector<int> coupon = series.GetCoupon(k).Numbers();
                const bool holds = SimplyHolds(coupon, pattern.masks, drawn, c.freeMiddle);
                ASSERT_EQ(series.CheckCouponNumber(pattern, drawn, k) == CouponCheck::Wins, holds)
                    << pattern.key << ", coupon " << k << ", " << count << " drawn";
                if (holds) {
                    ++expected.count;
                    if (expected.first.size() < WinningNow::kFirstKept)
                        expected.first.push_back(k);
                }
            }
            WinningQuery query{series.SeriesBytes(), size, drawn, 1,
                               settings.free_middle, {},   {},    0};
            if (pattern.rows > 0)
                query.rowsNeeded = pattern.rows;
            else {
                query.patternMasks = pattern.masks;
                query.patternSquares = pattern.squares;
            }
            const auto answer = marks.Answer(query);
            ASSERT_TRUE(answer.has_value());
            ASSERT_EQ(*answer, expected) << pattern.key << ", " << count << " drawn";
            wins += expected.count;
        }
        // A pattern that never wins in the table proves nothing. On crowded coupons a repeat
        // marks only its first square, so the large patterns cannot win there.
        if (!c.crowded) {
            EXPECT_GT(wins, 0) << pattern.key;
        }
        allWins += wins;
    }
    EXPECT_GT(allWins, 0);
}

// clang-format off
INSTANTIATE_TEST_SUITE_P(Series, WinPatternSeriesTest, ::testing::Values(
    SeriesCase{"Printed75", 75, false, false, 1},
    SeriesCase{"Printed75FreeMiddle", 75, true, false, 2},
    SeriesCase{"Crowded75FreeMiddle", 75, true, true, 3},
    SeriesCase{"Printed90", 90, false, false, 4},
    SeriesCase{"Crowded90FreeMiddle", 90, true, true, 5}),
    [](const ::testing::TestParamInfo<SeriesCase>& info) { return std::string(info.param.name); });
// clang-format on

// "Row k" as masks gives exactly the answers the game always gave, for every k and one beyond,
// on coupons with repeats, zeros and numbers outside the game.
TEST(WinPatternRowsTest, RowsAsMasksAreTheRowsOfOld) {
    std::mt19937 random(77);
    for (const int n : {GameRules::kNumbers75, GameRules::kNumbers90}) {
        const int size = GameRules::CouponSize(n);
        const int rows = GameRules::RowsPerGame(n);
        std::uniform_int_distribution<int> value(0, 20);
        for (int trial = 0; trial < 400; ++trial) {
            std::vector<std::uint8_t> bytes(static_cast<std::size_t>(size));
            for (auto& b : bytes)
                b = static_cast<std::uint8_t>(value(random));
            const BingoCoupon coupon(bytes.data(), static_cast<std::uint32_t>(size));
            std::vector<int> order(21);
            std::iota(order.begin(), order.end(), 0);
            std::shuffle(order.begin(), order.end(), random);
            for (int count = 1; count <= 21; ++count) {
                const std::vector<int> drawn(order.begin(), order.begin() + count);
                for (int free = 0; free <= 1; ++free)
                    for (int k = 1; k <= rows + 1; ++k)
                        ASSERT_EQ(SimplyHolds(coupon.Numbers(), WinPatterns::RowMasks(k, rows),
                                              drawn, free == 1),
                                  coupon.HasBingo(k, drawn, free))
                            << n << " numbers, row " << k << ", trial " << trial;
            }
        }
    }
}

// The library as a hall knows it: each pattern's squares, its variants, three names.
TEST(WinPatternLibraryTest, ShapesAndNames) {
    struct Shape {
        const char* key;
        int squares; // in each mask
        int variants;
    };
    const Shape shapes[] = {
        {"rows_1", 5, 5},       {"rows_2", 10, 10},
        {"rows_5", 25, 1},      {"any_line", 5, 12},
        {"four_corners", 4, 1}, {"small_frame", 8, 1},
        {"large_frame", 16, 1}, {"x", 9, 1},
        {"plus", 9, 1},         {"postage_stamp", 4, 4},
        {"letter_t", 9, 1},     {"letter_l", 9, 1},
        {"letter_u", 13, 1},    {"letter_h", 13, 1},
        {"full_card", 25, 1},
    };
    for (const Shape& shape : shapes) {
        const auto pattern = WinPatterns::Find(shape.key, GameRules::kNumbers75);
        ASSERT_TRUE(pattern.has_value()) << shape.key;
        EXPECT_EQ(static_cast<int>(pattern->masks.size()), shape.variants) << shape.key;
        for (const std::uint32_t mask : pattern->masks)
            EXPECT_EQ(std::popcount(mask), shape.squares) << shape.key;
    }
    for (const int n : {GameRules::kNumbers75, GameRules::kNumbers90}) {
        std::set<std::string> keys;
        std::set<std::string> english;
        for (const WinPattern& pattern : WinPatterns::Library(n)) {
            EXPECT_TRUE(keys.insert(pattern.key).second) << pattern.key;
            EXPECT_TRUE(english.insert(pattern.names.en).second) << pattern.key;
            EXPECT_FALSE(pattern.names.fi.empty() || pattern.names.sv.empty()) << pattern.key;
            EXPECT_EQ(pattern.squares, GameRules::CouponSize(n));
        }
    }
    EXPECT_EQ(WinPatterns::Library(GameRules::kNumbers90).size(), 3u);
    EXPECT_EQ(WinPatterns::Find("rows_3", GameRules::kNumbers90)->names.en, "Full house");
    EXPECT_FALSE(WinPatterns::Find("four_corners", GameRules::kNumbers90).has_value());
}

TEST(WinPatternGridTest, ReadsAndWritesTheHallsDrawing) {
    const std::string arrow = "..#../.###./#.#.#/..#../..#..";
    const auto mask = WinPatterns::ParseGrid(arrow);
    ASSERT_TRUE(mask.has_value());
    EXPECT_EQ(std::popcount(*mask), 9);
    EXPECT_EQ(WinPatterns::GridText(*mask), arrow);
    for (const char* bad : {"", "..#../.###./#.#.#/..#..", "..#../.###./#.#.#/..#../..#...",
                            "..#..-.###./#.#.#/..#../..#..", "..x../.###./#.#.#/..#../..#.."})
        EXPECT_FALSE(WinPatterns::ParseGrid(bad).has_value()) << bad;
    EXPECT_FALSE(WinPatterns::Drawn("Empty", 0).has_value());
    EXPECT_FALSE(WinPatterns::Drawn("", *mask).has_value());
}

} // namespace
} // namespace zorvi
