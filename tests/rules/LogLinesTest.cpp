#include <gtest/gtest.h>

#include <ctime>
#include <string>
#include <vector>

#include "LogLines.h"

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

} // namespace
} // namespace zorvi
