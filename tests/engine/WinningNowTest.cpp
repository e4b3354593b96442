#include <gtest/gtest.h>

#include <algorithm>
#include <chrono>
#include <condition_variable>
#include <cstdint>
#include <mutex>
#include <numeric>
#include <ostream>
#include <random>
#include <string>
#include <utility>
#include <vector>

#include "BingoHelpers.h"
#include "GameRules.h"
#include "Settings.h"
#include "WinningMarks.h"
#include "WinningNowScan.h"

namespace zorvi {
namespace {

// How a small series is made.
enum class Kind {
    Printed, // every coupon n distinct numbers of the game
    Raw,     // any bytes: repeats on a coupon, 0, 255, numbers outside the game
    Crowded, // numbers 1 to 12 only: many repeats and many winners early
};

struct GameCase {
    const char* name;
    int n;          // 75 or 90
    int freeMiddle; // 0 or 1
    Kind kind;
    int coupons;
    std::uint32_t seed;
    int startAt; // numbers already drawn at the first answer (a resumed game)
    std::vector<std::pair<int, int>> inPlay;
};

void PrintTo(const GameCase& game, std::ostream* out) {
    *out << game.name;
}

std::vector<std::uint8_t> MakeSeries(const GameCase& game, std::mt19937& random) {
    const int size = GameRules::CouponSize(game.n);
    std::vector<std::uint8_t> bytes;
    std::vector<int> numbers(static_cast<std::size_t>(game.n));
    std::iota(numbers.begin(), numbers.end(), 1);
    std::uniform_int_distribution<int> raw(0, game.n + 3);
    std::uniform_int_distribution<int> crowded(1, 12);
    for (int c = 0; c < game.coupons; ++c) {
        switch (game.kind) {
        case Kind::Printed:
            std::shuffle(numbers.begin(), numbers.end(), random);
            bytes.insert(bytes.end(), numbers.begin(), numbers.begin() + size);
            break;
        case Kind::Raw:
            for (int p = 0; p < size; ++p) {
                const int v = raw(random);
                bytes.push_back(static_cast<std::uint8_t>(v > game.n + 2 ? 255 : v));
            }
            break;
        case Kind::Crowded:
            for (int p = 0; p < size; ++p)
                bytes.push_back(static_cast<std::uint8_t>(crowded(random)));
            break;
        }
    }
    // A short tail that is no coupon: the series ignores it, so must the scan.
    bytes.push_back(1);
    bytes.push_back(2);
    return bytes;
}

bool InPlay(const std::vector<std::pair<int, int>>& ranges, int coupon) {
    return ranges.empty() || std::any_of(ranges.begin(), ranges.end(), [&](const auto& r) {
               return r.first <= coupon && coupon <= r.second;
           });
}

// What the coupon check says of every coupon in play.
WinningNow ByTheCheck(const BingoHelpers& coupons, const std::vector<int>& drawn, int row,
                      const std::vector<std::pair<int, int>>& inPlay) {
    WinningNow expected;
    for (int k = 1; k <= static_cast<int>(coupons.CouponCount()); ++k) {
        if (!InPlay(inPlay, k) || coupons.CheckCouponNumber(row, drawn, k) != 1)
            continue;
        ++expected.count;
        if (expected.first.size() < WinningNow::kFirstKept)
            expected.first.push_back(k);
    }
    return expected;
}

class WinningNowGameTest : public ::testing::TestWithParam<GameCase> {};

// Every coupon of a small series, at every draw and after cancels, on every row (and one row
// beyond), checked one by one with the coupon check: the scan's answer is the same.
TEST_P(WinningNowGameTest, MatchesTheCouponCheckAtEveryMoment) {
    const GameCase& game = GetParam();
    std::mt19937 random(game.seed);
    Settings settings{Settings::NoLoad{}};
    settings.free_middle = game.freeMiddle;
    BingoHelpers coupons;
    coupons.AttachSettings(settings);
    coupons.SetSeriesBytes(MakeSeries(game, random),
                           static_cast<std::uint32_t>(GameRules::CouponSize(game.n)));

    std::vector<int> sequence(static_cast<std::size_t>(game.n));
    std::iota(sequence.begin(), sequence.end(), 1);
    std::shuffle(sequence.begin(), sequence.end(), random);

    WinningMarks marks;
    const int rows = GameRules::RowsPerGame(game.n);
    int winnersSeen = 0;
    auto compareAll = [&](int drawnCount, const std::string& moment) {
        const std::vector<int> drawn(sequence.begin(), sequence.begin() + drawnCount);
        for (int row = 1; row <= rows + 1; ++row) {
            WinningQuery query{coupons.SeriesBytes(), coupons.CouponSize(), drawn, row,
                               game.freeMiddle,       game.inPlay,          {},    0};
            const std::optional<WinningNow> answer = marks.Answer(query);
            ASSERT_TRUE(answer.has_value());
            const WinningNow expected = ByTheCheck(coupons, drawn, row, game.inPlay);
            ASSERT_EQ(*answer, expected) << moment << ", " << drawnCount << " drawn, row " << row;
            winnersSeen += expected.count;
        }
    };

    std::bernoulli_distribution cancelHere(0.15);
    std::uniform_int_distribution<int> howMany(1, 3);
    for (int count = game.startAt; count <= game.n; ++count) {
        compareAll(count, "draw");
        if (count > 0 && cancelHere(random)) {
            // The operator cancels one or more numbers, then the same numbers come again.
            const int back = std::min(count, howMany(random));
            for (int c = count - 1; c >= count - back; --c)
                compareAll(c, "cancel");
        }
    }
    // The table is only worth its time when the check finds winners in it.
    EXPECT_GT(winnersSeen, 0);
}

// clang-format off
INSTANTIATE_TEST_SUITE_P(Games, WinningNowGameTest, ::testing::Values(
    GameCase{"Printed75", 75, 0, Kind::Printed, 400, 1, 0, {}},
    GameCase{"Printed75FreeMiddle", 75, 1, Kind::Printed, 400, 2, 0, {}},
    GameCase{"Printed90", 90, 0, Kind::Printed, 400, 3, 0, {}},
    GameCase{"Printed90FreeMiddle", 90, 1, Kind::Printed, 400, 4, 0, {}},
    GameCase{"Raw75FreeMiddle", 75, 1, Kind::Raw, 400, 5, 0, {}},
    GameCase{"Raw90", 90, 0, Kind::Raw, 400, 6, 0, {}},
    GameCase{"Crowded75", 75, 0, Kind::Crowded, 300, 7, 0, {}},
    GameCase{"Crowded75FreeMiddle", 75, 1, Kind::Crowded, 300, 8, 0, {}},
    GameCase{"Crowded90FreeMiddle", 90, 1, Kind::Crowded, 300, 9, 0, {}},
    GameCase{"ResumedAt40", 75, 1, Kind::Printed, 400, 10, 40, {}},
    GameCase{"InPlayRanges", 75, 0, Kind::Printed, 400, 11, 0, {{3, 50}, {120, 121}, {390, 5000}}},
    GameCase{"InPlayBeyondSeries", 90, 0, Kind::Crowded, 100, 12, 0, {{90, 999999}}}),
    [](const ::testing::TestParamInfo<GameCase>& info) { return std::string(info.param.name); });
// clang-format on

// Coupons whose squares are fixed by hand: the corners of the rule the table may miss.
struct CornerCase {
    const char* name;
    std::vector<int> coupon; // 25 numbers
    std::vector<int> drawn;
    int row;
    int freeMiddle;
};

void PrintTo(const CornerCase& corner, std::ostream* out) {
    *out << corner.name;
}

class WinningNowCornerTest : public ::testing::TestWithParam<CornerCase> {};

TEST_P(WinningNowCornerTest, SameAsTheCheck) {
    const CornerCase& corner = GetParam();
    Settings settings{Settings::NoLoad{}};
    settings.free_middle = corner.freeMiddle;
    BingoHelpers coupons;
    coupons.AttachSettings(settings);
    coupons.SetSeriesBytes(std::vector<std::uint8_t>(corner.coupon.begin(), corner.coupon.end()),
                           25);
    WinningMarks marks;
    // Fresh marks, and marks brought there one number at a time.
    for (int way = 0; way < 2; ++way) {
        if (way == 1)
            for (std::size_t i = 1; i < corner.drawn.size(); ++i)
                marks.Answer({coupons.SeriesBytes(),
                              25,
                              std::vector<int>(corner.drawn.begin(), corner.drawn.begin() + i),
                              corner.row,
                              corner.freeMiddle,
                              {},
                              {},
                              0});
        const auto answer = marks.Answer(
            {coupons.SeriesBytes(), 25, corner.drawn, corner.row, corner.freeMiddle, {}, {}, 0});
        ASSERT_TRUE(answer.has_value());
        EXPECT_EQ(answer->count,
                  coupons.CheckCouponNumber(corner.row, corner.drawn, 1) == 1 ? 1 : 0)
            << (way == 0 ? "fresh" : "step by step");
    }
}

// clang-format off
const std::vector<int> kRows = {3, 18, 33, 48, 63,  1, 16, 31, 46, 61,  5, 20, 0, 50, 65,
                                7, 22, 37, 52, 67,  9, 24, 39, 54, 69};
const std::vector<int> kRepeats = {3, 3, 3, 3, 3,  1, 16, 31, 46, 61,  5, 3, 40, 50, 65,
                                   7, 22, 37, 52, 67,  9, 24, 39, 54, 69};
const std::vector<int> kMiddleRepeats = {40, 2, 4, 6, 8,  10, 12, 14, 16, 18,  5, 20, 40, 50, 65,
                                         7, 22, 37, 52, 67,  9, 24, 39, 54, 69};
INSTANTIATE_TEST_SUITE_P(Corners, WinningNowCornerTest, ::testing::Values(
    CornerCase{"LastCompletesRow", kRows, {70, 3, 18, 33, 63, 48}, 1, 0},
    CornerCase{"RowCompletedEarlier", kRows, {3, 18, 33, 63, 48, 71}, 1, 0},
    CornerCase{"TwoRowsNeededOneComplete", kRows, {3, 18, 33, 63, 48}, 2, 0},
    CornerCase{"FreeMiddleCompletesRow", kRows, {5, 20, 50, 65}, 1, 1},
    CornerCase{"FreeMiddleOffRowOpen", kRows, {5, 20, 50, 65}, 1, 0},
    CornerCase{"NothingDrawn", kRows, {}, 1, 1},
    CornerCase{"RepeatMarksFirstSquareOnly", kRepeats, {3}, 1, 0},
    CornerCase{"RepeatInAnotherRow", kRepeats, {5, 50, 65, 3}, 1, 1},
    // The middle holds 40, drawn last, whose first square is in row 1: the free middle still
    // holds the last number for row 3.
    CornerCase{"FreeMiddleHoldsLastRepeat", kMiddleRepeats, {5, 20, 50, 65, 40}, 1, 1},
    CornerCase{"FreeMiddleZeroNeverLast", kRows, {5, 20, 50, 65, 0}, 1, 1},
    CornerCase{"RowBeyondTheCoupon", kRows, {3, 18, 33, 63, 48}, 6, 0},
    CornerCase{"RowZero", kRows, {3, 18, 33, 63, 48}, 0, 0},
    CornerCase{"OutOfRangeLast", kRows, {3, 18, 33, 63, 48, 300}, 1, 0},
    CornerCase{"NegativeAndHugeDrawn", kRows, {-5, 3, 18, 100000, 33, 63, 48}, 1, 0}),
    [](const ::testing::TestParamInfo<CornerCase>& info) { return std::string(info.param.name); });
// clang-format on

TEST(WinningNowSeriesTest, NoSeriesOrNoCompleteCouponWinsNothing) {
    WinningMarks marks;
    const std::vector<int> drawn = {1, 2, 3, 4, 5};
    EXPECT_EQ(marks.Answer({nullptr, 25, drawn, 1, 0, {}, {}, 0}), WinningNow{});
    auto shortSeries =
        std::make_shared<const std::vector<std::uint8_t>>(std::vector<std::uint8_t>{1, 2, 3, 4, 5});
    EXPECT_EQ(marks.Answer({shortSeries, 25, drawn, 1, 0, {}, {}, 0}), WinningNow{});
    EXPECT_EQ(marks.Answer({shortSeries, 0, drawn, 1, 0, {}, {}, 0}), WinningNow{});
}

TEST(WinningNowSeriesTest, ASeriesReadAnewIsScannedAnew) {
    WinningMarks marks;
    const std::vector<int> drawn = {1, 2, 3, 4, 5};
    auto first = std::make_shared<const std::vector<std::uint8_t>>(
        std::vector<std::uint8_t>{1, 2, 3, 4, 5, 6, 7, 8, 9, 10, 11, 12, 13, 14, 15});
    EXPECT_EQ(marks.Answer({first, 15, drawn, 1, 0, {}, {}, 0})->count, 1);
    // The same numbers in another series object: its own marks, not the old ones.
    auto second = std::make_shared<const std::vector<std::uint8_t>>(
        std::vector<std::uint8_t>{9, 2, 3, 4, 5, 6, 7, 8, 9, 10, 11, 12, 13, 14, 15});
    EXPECT_EQ(marks.Answer({second, 15, drawn, 1, 0, {}, {}, 0})->count, 0);
    // The old series is not kept alive by the scan.
    std::weak_ptr<const std::vector<std::uint8_t>> old = first;
    first.reset();
    EXPECT_TRUE(old.expired());
}

TEST(WinningNowSeriesTest, CouponsLargerThanAMaskAreJudgedByTheCheck) {
    Settings settings{Settings::NoLoad{}};
    BingoHelpers coupons;
    coupons.AttachSettings(settings);
    std::vector<std::uint8_t> bytes(40 * 3);
    std::iota(bytes.begin(), bytes.end(), 1);
    coupons.SetSeriesBytes(bytes, 40);
    WinningMarks marks;
    const std::vector<int> drawn = {45, 41, 42, 43, 44};
    const auto answer = marks.Answer({coupons.SeriesBytes(), 40, drawn, 1, 0, {}, {}, 0});
    ASSERT_TRUE(answer.has_value());
    EXPECT_EQ(*answer, (WinningNow{1, {2}}));
    EXPECT_EQ(coupons.CheckCouponNumber(1, drawn, 2), 1);
}

TEST(WinningNowSeriesTest, AStoppedAnswerGivesNothingAndTheNextIsStillRight) {
    std::mt19937 random(3);
    GameCase game{"", 75, 0, Kind::Crowded, 70000, 3, 0, {}};
    Settings settings{Settings::NoLoad{}};
    BingoHelpers coupons;
    coupons.AttachSettings(settings);
    coupons.SetSeriesBytes(MakeSeries(game, random), 25);
    WinningMarks marks;
    const std::vector<int> drawn = {1, 2, 3, 4, 5, 6, 7, 8};
    // Stopped half way through a pass that changes the marks.
    int asked = 0;
    const auto stopLate = [&asked] { return ++asked > 1; };
    ASSERT_TRUE(marks.Answer({coupons.SeriesBytes(), 25, {1, 2, 3, 4, 5, 6, 7}, 1, 0, {}, {}, 0}));
    EXPECT_FALSE(
        marks.Answer({coupons.SeriesBytes(), 25, drawn, 1, 0, {}, {}, 0}, stopLate).has_value());
    const auto answer = marks.Answer({coupons.SeriesBytes(), 25, drawn, 1, 0, {}, {}, 0});
    ASSERT_TRUE(answer.has_value());
    EXPECT_EQ(*answer, ByTheCheck(coupons, drawn, 1, {}));
    EXPECT_GT(answer->count, 0);
}

// The threaded scan: requests in quick succession; what is delivered comes in order, is the
// answer to its own request, and the newest request is always answered.
TEST(WinningNowScanTest, NewerRequestsSupersedeAndTheNewestIsAnswered) {
    std::mt19937 random(4);
    GameCase game{"", 75, 1, Kind::Printed, 200000, 4, 0, {}};
    Settings settings{Settings::NoLoad{}};
    settings.free_middle = 1;
    BingoHelpers coupons;
    coupons.AttachSettings(settings);
    coupons.SetSeriesBytes(MakeSeries(game, random), 25);
    std::vector<int> sequence(75);
    std::iota(sequence.begin(), sequence.end(), 1);
    std::shuffle(sequence.begin(), sequence.end(), random);

    std::mutex mutex;
    std::condition_variable delivered;
    std::vector<std::pair<std::uint64_t, WinningNow>> answers;
    WinningNowScan scan(WinningNowScan::Mode::Threaded);
    scan.SetDeliver([&](std::uint64_t generation, const WinningNow& answer) {
        const std::lock_guard lock(mutex);
        answers.emplace_back(generation, answer);
        delivered.notify_all();
    });
    std::vector<std::vector<int>> asked(1); // index: generation
    for (int count = 1; count <= 60; ++count) {
        std::vector<int> drawn(sequence.begin(), sequence.begin() + count);
        const std::uint64_t generation =
            scan.Request({coupons.SeriesBytes(), 25, drawn, 1, 1, {}, {}, 0});
        ASSERT_EQ(generation, asked.size());
        asked.push_back(drawn);
    }
    std::unique_lock lock(mutex);
    // A safety time-out only; the scan answers within milliseconds.
    ASSERT_TRUE(delivered.wait_for(lock, std::chrono::seconds(60), [&] {
        return !answers.empty() && answers.back().first == scan.Latest();
    }));
    for (std::size_t i = 0; i < answers.size(); ++i) {
        const auto& [generation, answer] = answers[i];
        if (i > 0) {
            EXPECT_GT(generation, answers[i - 1].first);
        }
        EXPECT_EQ(answer, ByTheCheck(coupons, asked[generation], 1, {})) << generation;
    }
}

TEST(WinningNowScanTest, NothingIsDeliveredAfterStop) {
    WinningNowScan scan(WinningNowScan::Mode::Threaded);
    int deliveries = 0;
    scan.SetDeliver([&](std::uint64_t, const WinningNow&) { ++deliveries; });
    scan.Stop();
    auto series = std::make_shared<const std::vector<std::uint8_t>>(
        std::vector<std::uint8_t>{1, 2, 3, 4, 5, 6, 7, 8, 9, 10, 11, 12, 13, 14, 15});
    scan.Request({series, 15, {1, 2, 3, 4, 5}, 1, 0, {}, {}, 0});
    scan.Stop();
    EXPECT_EQ(deliveries, 0);
}

} // namespace
} // namespace zorvi
