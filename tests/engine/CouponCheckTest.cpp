#include <gtest/gtest.h>

#include <algorithm>
#include <string>
#include <vector>

#include "BingoHelpers.h"
#include "ProgramState.h"
#include "Settings.h"

namespace zorvi {
namespace {

// A 75-number coupon, rows of five; no number repeats unless a test says so.
const std::vector<int> kCoupon75 = {3, 18, 33, 48, 63, //
                                    1, 16, 31, 46, 61, //
                                    5, 20, 0,  50, 65, //
                                    7, 22, 37, 52, 67, //
                                    9, 24, 39, 54, 69};

std::vector<std::uint8_t> ToBytes(const std::vector<int>& numbers) {
    return std::vector<std::uint8_t>(numbers.begin(), numbers.end());
}

class CouponCheckTest : public ::testing::Test {
protected:
    CouponCheckTest() { coupons.AttachSettings(settings); }

    void UseCoupons(const std::vector<int>& numbers, std::uint32_t size) {
        coupons.SetSeriesBytes(ToBytes(numbers), size);
    }

    Settings settings{Settings::NoLoad{}};
    BingoHelpers coupons;
};

TEST_F(CouponCheckTest, RowWinsOnlyWhenTheLastNumberIsInIt) {
    UseCoupons(kCoupon75, 25);
    std::vector<int> drawn = {70, 3, 18, 33, 63, 48};
    EXPECT_EQ(coupons.CheckCouponNumber(1, drawn, 1), 1);
    const std::vector<int> marks = BingoHelpers::MarkDrawnNumbers(kCoupon75, drawn, 0);
    EXPECT_EQ(std::vector<int>(marks.begin(), marks.begin() + 5),
              (std::vector<int>{1, 1, 1, 2, 1}));
    EXPECT_EQ(std::count(marks.begin() + 5, marks.end(), 0), 20);

    drawn.push_back(71); // not on the coupon: the row was not called in time
    EXPECT_EQ(coupons.CheckCouponNumber(1, drawn, 1), 0);
}

struct RowsCase {
    const char* name;
    int rowsNeeded;
    std::vector<int> drawn;
    int freeMiddle;
    int expected;
};

class RowsTest : public CouponCheckTest, public ::testing::WithParamInterface<RowsCase> {};

TEST_P(RowsTest, Verdict) {
    const RowsCase& c = GetParam();
    settings.free_middle = c.freeMiddle;
    UseCoupons(kCoupon75, 25);
    EXPECT_EQ(coupons.CheckCouponNumber(c.rowsNeeded, c.drawn, 1), c.expected);
}

INSTANTIATE_TEST_SUITE_P(
    Cases, RowsTest,
    ::testing::Values(
        RowsCase{"nothingDrawn", 1, {}, 1, 0},
        RowsCase{"rowTwoWithOneRow", 2, {3, 18, 33, 63, 48}, 0, 0},
        RowsCase{"rowTwoLastInSecondRow", 2, {3, 18, 33, 48, 63, 1, 16, 31, 61, 46}, 0, 1},
        RowsCase{"rowTwoLastInFirstRow", 2, {1, 16, 31, 46, 61, 3, 18, 33, 63, 48}, 0, 1},
        RowsCase{"rowTwoLastOutside", 2, {3, 18, 33, 48, 63, 1, 16, 31, 61, 46, 7}, 0, 0},
        RowsCase{"moreRowsThanNeeded", 1, {3, 18, 33, 48, 63, 1, 16, 31, 61, 46}, 0, 1},
        RowsCase{"incompleteRowHoldsLast", 1, {3, 18, 33, 48, 63, 1}, 0, 0},
        RowsCase{"freeMiddleCompletesRow", 1, {5, 20, 50, 65}, 1, 1},
        RowsCase{"noFreeMiddle", 1, {5, 20, 50, 65}, 0, 0},
        RowsCase{"freeMiddleOnlyIsNoWin", 1, {}, 1, 0},
        RowsCase{"fullCoupon",
                 5,
                 {3,  18, 33, 48, 63, 1,  16, 31, 46, 61, 5,  20,
                  50, 65, 7,  22, 37, 52, 67, 9,  24, 39, 54, 69},
                 1,
                 1},
        RowsCase{
            "fullCouponMissingOne",
            5,
            {3, 18, 33, 48, 63, 1, 16, 31, 46, 61, 5, 20, 50, 65, 7, 22, 37, 52, 67, 9, 24, 39, 69},
            1,
            0},
        RowsCase{"numbersOutsideBytesIgnored", 1, {-1, 256, 3, 18, 33, 63, 1000, 48}, 0, 1}),
    [](const auto& info) { return std::string(info.param.name); });

TEST_F(CouponCheckTest, FreeMiddleRowMarksCellTwelve) {
    const std::vector<int> drawn = {5, 20, 50, 65};
    const std::vector<int> marks = BingoHelpers::MarkDrawnNumbers(kCoupon75, drawn, 1);
    EXPECT_EQ(BingoHelpers::JoinComma(marks), "0,0,0,0,0,0,0,0,0,0,1,1,1,1,2,0,0,0,0,0,0,0,0,0,0");
}

TEST_F(CouponCheckTest, RepeatedNumberCountsOnlyAtItsFirstSquare) {
    // 7 stands in both the first and the second row; the second row never completes.
    const std::vector<int> coupon = {7, 8, 9, 10, 11, 7, 12, 13, 14, 15, 90, 91, 92, 93, 94};
    UseCoupons(coupon, 15);
    const std::vector<int> drawn = {12, 13, 14, 15, 7};
    EXPECT_EQ(coupons.CheckCouponNumber(1, drawn, 1), 0);
    const std::vector<int> marks = BingoHelpers::MarkDrawnNumbers(coupon, drawn, 0);
    EXPECT_EQ(marks[0], 2);
    EXPECT_EQ(marks[5], 0);
    EXPECT_EQ(coupons.CheckCouponNumber(1, {8, 9, 10, 11, 7}, 1), 1);
}

TEST_F(CouponCheckTest, FreeMiddleOfFifteenIsPositionSeven) {
    const std::vector<int> coupon = {1, 2, 3, 4, 5, 6, 7, 99, 9, 10, 11, 12, 13, 14, 15};
    UseCoupons(coupon, 15);
    settings.free_middle = 1;
    EXPECT_EQ(coupons.CheckCouponNumber(1, {6, 7, 9, 10}, 1), 1);
    settings.free_middle = 0;
    EXPECT_EQ(coupons.CheckCouponNumber(1, {6, 7, 9, 10}, 1), 0);
    // Marks give a free middle only to the 25-cell layout.
    EXPECT_EQ(BingoHelpers::MarkDrawnNumbers(coupon, {}, 1), std::vector<int>(15, 0));
}

TEST_F(CouponCheckTest, BlankCouponMarks) {
    const std::vector<int> blank(25, 0);
    std::vector<int> expected(25, 0);
    EXPECT_EQ(BingoHelpers::MarkDrawnNumbers(blank, {4, 5}, 0), expected);
    expected[12] = 1;
    EXPECT_EQ(BingoHelpers::MarkDrawnNumbers(blank, {4, 5}, 1), expected);
    EXPECT_EQ(BingoHelpers::MarkDrawnNumbers(
                  BingoHelpers::LayoutNinetyTicket(std::vector<int>(15, 0)), {4, 5}, 1),
              std::vector<int>(27, 0));
    EXPECT_EQ(BingoHelpers::JoinComma(blank).size(), 25u + 24u);
}

TEST(LayoutNinetyTicket, PlacesNumbersByTheirTens) {
    const std::vector<int> coupon = {5, 23, 41, 67, 88, 12, 34, 56, 70, 90, 1, 19, 38, 45, 81};
    const std::vector<int> expected = {5, 0,  23, 0,  41, 0,  67, 0,  88, //
                                       0, 12, 0,  34, 0,  56, 0,  70, 90, //
                                       1, 19, 0,  38, 45, 0,  0,  0,  81};
    EXPECT_EQ(BingoHelpers::LayoutNinetyTicket(coupon), expected);
}

TEST(LayoutNinetyTicket, OddValuesAndSizes) {
    EXPECT_EQ(BingoHelpers::LayoutNinetyTicket(std::vector<int>(15, 0)), std::vector<int>(27, 0));
    EXPECT_EQ(BingoHelpers::LayoutNinetyTicket({}), std::vector<int>(27, 0));
    // An out-of-range value takes the column of the number before it, overwriting it.
    std::vector<int> cells = BingoHelpers::LayoutNinetyTicket({35, 200, 9, 10, 80});
    EXPECT_EQ(cells[3], 200);
    EXPECT_EQ(cells[0], 9);
    EXPECT_EQ(cells[1], 10);
    EXPECT_EQ(cells[8], 80);
    // More than fifteen numbers: the extra ones have no cell.
    EXPECT_EQ(BingoHelpers::LayoutNinetyTicket(std::vector<int>(40, 50)).size(), 27u);
}

TEST(MarkDrawnNumbers, FirstCellOnlyAndLastIsTwo) {
    const std::vector<int> layout = {4, 8, 4, 9};
    EXPECT_EQ(BingoHelpers::MarkDrawnNumbers(layout, {9, 4}, 0), (std::vector<int>{2, 0, 0, 1}));
    EXPECT_EQ(BingoHelpers::MarkDrawnNumbers(layout, {}, 0), (std::vector<int>{0, 0, 0, 0}));
}

TEST(FormatWinners, EnglishColumns) {
    const std::vector<Winner> winners = {{2, 31, 1045}, {3, 40, 77}};
    const std::string text = BingoHelpers::FormatWinners(winners, 2);
    EXPECT_EQ(text, " 2    31            1045\r\n 3    40            77");
    EXPECT_EQ(text.find("\r\n"), 24u);
}

TEST(FormatWinners, FinnishWidthsCountCharacters) {
    // "Rivi" is 4 characters, "Numeromäärä" 11 characters (13 bytes).
    EXPECT_EQ(BingoHelpers::FormatWinners({{2, 31, 1045}}, 0), " 2     31           1045");
}

TEST(FormatWinners, EmptyAndWide) {
    EXPECT_EQ(BingoHelpers::FormatWinners({}, 2), "");
    EXPECT_EQ(BingoHelpers::FormatWinners({{-2147483647 - 1, 2147483647, 999999}}, 2),
              " -2147483648  2147483647    999999");
}

TEST(JoinComma, WithoutBlanks) {
    EXPECT_EQ(BingoHelpers::JoinComma({5, 23, 41}), "5,23,41");
    EXPECT_EQ(BingoHelpers::JoinComma({}), "");
}

} // namespace
} // namespace zorvi
