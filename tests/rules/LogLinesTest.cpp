#include <gtest/gtest.h>

#include <ctime>
#include <string>
#include <vector>

#include "LogLines.h"
#include "Sha256.h"

namespace zorvi {
namespace {

TEST(LogLines, NumberListJoinedWithCommaAndBlank) {
    EXPECT_EQ(LogLines::NumberList({}), "");
    EXPECT_EQ(LogLines::NumberList({7}), "7");
    EXPECT_EQ(LogLines::NumberList({5, 23, 41}), "5, 23, 41");
}

// What the program writes, the tools read back as the same values.
TEST(LogLines, WrittenLinesReadBack) {
    const std::string bingo = LogLines::BingoFound(999999, 5);
    EXPECT_EQ(bingo, "Bingo found in coupon 999999 (row 5)");
    const auto read =
        LogLines::ParseBingo(std::string_view(bingo).substr(LogLines::kBingoPrefix.size()));
    ASSERT_TRUE(read.has_value());
    EXPECT_EQ(read->coupon, 999999);
    EXPECT_EQ(read->row, 5);

    for (const std::vector<int>& drawn : {std::vector<int>{}, {17}, {17, 4, 75, 90}}) {
        const std::string line = LogLines::DrawnNumbers(drawn);
        ASSERT_EQ(line.rfind(LogLines::kDrawnPrefix, 0), 0u);
        EXPECT_EQ(
            LogLines::ParseDrawn(std::string_view(line).substr(LogLines::kDrawnPrefix.size())),
            drawn);
    }

    EXPECT_EQ(LogLines::WinningNow(3, 2), "Winning now: 3 (row 2)");
    EXPECT_EQ(LogLines::CouponsInPlayNote(""), "Coupons in play: the whole series");
    EXPECT_EQ(LogLines::CouponsInPlayNote("1-500, 7"), "Coupons in play: 1-500, 7");

    std::tm at{};
    at.tm_year = 2024 - 1900;
    at.tm_mon = 2;
    at.tm_mday = 5;
    at.tm_hour = 9;
    at.tm_min = 5;
    at.tm_sec = 3;
    std::string stamped = LogLines::Stamped(at, "Starting new game");
    ASSERT_EQ(stamped.substr(stamped.size() - 2), "\r\n");
    stamped.pop_back(); // as a line reader hands it over, CR still on
    const auto split = LogLines::Split(stamped);
    ASSERT_TRUE(split.has_value());
    EXPECT_EQ(split->time, "2024-03-05 09:05:03");
    EXPECT_EQ(split->message, LogLines::kNewGame);
}

// Each event line as written, and back: the reader gives what the writer was given, and a line
// changed out of its shape is not read at all.
TEST(LogLines, EventLinesReadBack) {
    const auto after = [](const std::string& line, std::string_view prefix) {
        EXPECT_EQ(line.rfind(prefix, 0), 0u) << line;
        return std::string_view(line).substr(prefix.size());
    };
    const std::string drawn = LogLines::NumberDrawn(23, 5);
    EXPECT_EQ(drawn, "Number drawn: 23 (count 5)");
    const auto counted = LogLines::ParseCounted(after(drawn, LogLines::kNumberDrawnPrefix));
    ASSERT_TRUE(counted);
    EXPECT_EQ(counted->number, 23);
    EXPECT_EQ(counted->count, 5);

    const std::string miss = LogLines::CheckedCoupon(36, 1, 12, true);
    EXPECT_EQ(miss, "Checked coupon 36 (row 1) after 12 numbers: wrong");
    const auto checked = LogLines::ParseChecked(after(miss, LogLines::kCheckedPrefix));
    ASSERT_TRUE(checked);
    EXPECT_EQ(checked->coupon, 36);
    EXPECT_EQ(checked->count, 12);
    EXPECT_TRUE(checked->inSeries);
    EXPECT_FALSE(LogLines::ParseChecked(
                     after(LogLines::CheckedCoupon(9, 1, 0, false), LogLines::kCheckedPrefix))
                     ->inSeries);

    const std::string rules = LogLines::GameRulesNote(90, true, 30);
    EXPECT_EQ(rules, "Game rules: 90 numbers, free middle on, number limit 30");
    const auto read = LogLines::ParseRules(after(rules, LogLines::kGameRulesPrefix));
    ASSERT_TRUE(read);
    EXPECT_EQ(read->numberCount, 90);
    EXPECT_TRUE(read->freeMiddle);
    EXPECT_EQ(read->numberLimit, 30);
    EXPECT_EQ(LogLines::ParseRules(
                  after(LogLines::GameRulesNote(75, false, 0), LogLines::kGameRulesPrefix))
                  ->numberLimit,
              0);

    const std::string digest(64, 'c');
    const auto series = LogLines::ParseSeries(
        after(LogLines::CouponSeriesNote("kup75.hex", digest), LogLines::kCouponSeriesPrefix));
    ASSERT_TRUE(series);
    EXPECT_EQ(series->fileName, "kup75.hex");
    EXPECT_EQ(series->digest, digest);
    EXPECT_EQ(LogLines::CouponSeriesNote("90.hex", ""), "Coupon series: 90.hex, not read");

    const auto continued = LogLines::ParseContinued(
        after(LogLines::GameContinued(2, {17, 4}), LogLines::kGameContinuedPrefix));
    ASSERT_TRUE(continued);
    EXPECT_EQ(continued->row, 2);
    EXPECT_EQ(continued->drawn, (std::vector<int>{17, 4}));
    EXPECT_EQ(LogLines::ParseBall(after(LogLines::BallRecalled(23), LogLines::kBallRecalledPrefix)),
              23);

    for (const char* broken : {"23 (count 5", "23 (count )", "x (count 5)", "23 (count 5) "})
        EXPECT_FALSE(LogLines::ParseCounted(broken)) << broken;
    for (const char* broken : {"36 (row 1) after 12 numbers: maybe", "36 (row 1) after 12"})
        EXPECT_FALSE(LogLines::ParseChecked(broken)) << broken;
    for (const char* broken : {"75 numbers, free middle perhaps, no number limit", "75 numbers"})
        EXPECT_FALSE(LogLines::ParseRules(broken)) << broken;
    for (const char* broken : {"kup75.hex, SHA-256 abc", "kup75.hex", ", not read"})
        EXPECT_FALSE(LogLines::ParseSeries(broken)) << broken;
    EXPECT_FALSE(LogLines::ParseBall("23 "));
}

// The chain value of a line: the SHA-256 of the previous value, a line feed and the line, as
// the documentation gives it for anyone to recompute.
TEST(LogLines, ChainIsTheDocumentedHash) {
    EXPECT_EQ(
        LogLines::ChainNext(LogLines::kChainStart, "2024-3-5 9:5:3: Starting program"),
        Sha256::HexOf(std::string(LogLines::kChainStart) + "\n2024-3-5 9:5:3: Starting program"));
    EXPECT_NE(LogLines::ChainNext(LogLines::kChainStart, "a"),
              LogLines::ChainNext(LogLines::kChainStart, "b"));
}

} // namespace
} // namespace zorvi
