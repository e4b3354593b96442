#include <gtest/gtest.h>

#include <cctype>
#include <ostream>
#include <string>
#include <utility>
#include <vector>

#include "CouponsInPlay.h"
#include "CouponsInPlayText.h"

namespace zorvi {
namespace {

using Ranges = std::vector<std::pair<int, int>>;
using Kind = CouponsInPlay::ParseError::Kind;

struct Taken {
    const char* text;
    Ranges ranges;
    const char* canonical;
};

// The text in test names: digits, letters, dashes, commas and blanks as they are, any other
// byte in hexadecimal, so that the name stays one plain line for ctest.
void PrintText(const char* text, std::ostream* os) {
    *os << '[';
    for (const char* c = text; *c; ++c) {
        const auto byte = static_cast<unsigned char>(*c);
        if (std::isalnum(byte) || byte == '-' || byte == ',' || byte == ' ')
            *os << *c;
        else
            *os << 'x' << std::hex << int(byte) << std::dec;
    }
    *os << ']';
}

void PrintTo(const Taken& row, std::ostream* os) {
    PrintText(row.text, os);
}

class CouponsInPlayTaken : public ::testing::TestWithParam<Taken> {};

TEST_P(CouponsInPlayTaken, SortsAndMergesTheRanges) {
    const Taken& row = GetParam();
    CouponsInPlay::ParseError why{Kind::Reversed, "untouched"};
    const auto parsed = CouponsInPlay::Parse(row.text, &why);
    ASSERT_TRUE(parsed.has_value()) << DescribeCouponsInPlay(why);
    EXPECT_EQ(why.part, "untouched");
    EXPECT_EQ(parsed->Ranges(), row.ranges);
    EXPECT_EQ(parsed->Text(), row.canonical);
    EXPECT_EQ(parsed->All(), row.ranges.empty());
    // The canonical text reads back as the same ranges.
    EXPECT_EQ(CouponsInPlay::Parse(parsed->Text()), parsed);
}

INSTANTIATE_TEST_SUITE_P(
    Texts, CouponsInPlayTaken,
    ::testing::Values(Taken{"", {}, ""}, Taken{"   \t ", {}, ""}, Taken{",, ,", {}, ""},
                      Taken{"1-500, 1201-1300", {{1, 500}, {1201, 1300}}, "1-500, 1201-1300"},
                      Taken{"7", {{7, 7}}, "7"}, Taken{" 7 ,", {{7, 7}}, "7"},
                      Taken{"1201-1300,1-500", {{1, 500}, {1201, 1300}}, "1-500, 1201-1300"},
                      Taken{"  10 -  20 ", {{10, 20}}, "10-20"},
                      // Overlapping, touching, contained and repeated ranges merge.
                      Taken{"1-10, 5-20", {{1, 20}}, "1-20"},
                      Taken{"1-5, 6-9, 11", {{1, 9}, {11, 11}}, "1-9, 11"},
                      Taken{"1-100, 20-30, 20-30", {{1, 100}}, "1-100"},
                      Taken{"3, 2, 1", {{1, 3}}, "1-3"}, Taken{"5-5", {{5, 5}}, "5"},
                      Taken{"007-0010", {{7, 10}}, "7-10"},
                      Taken{"1-999999", {{1, 999999}}, "1-999999"},
                      // The en dash that word processors put between numbers.
                      Taken{"1\xE2\x80\x93"
                            "50",
                            {{1, 50}},
                            "1-50"}));

struct Refused {
    const char* text;
    Kind kind;
    const char* part;
    const char* message;
};

void PrintTo(const Refused& row, std::ostream* os) {
    PrintText(row.text, os);
}

class CouponsInPlayRefused : public ::testing::TestWithParam<Refused> {};

TEST_P(CouponsInPlayRefused, NamesTheOffendingPart) {
    const Refused& row = GetParam();
    CouponsInPlay::ParseError why;
    EXPECT_FALSE(CouponsInPlay::Parse(row.text, &why).has_value());
    EXPECT_EQ(why.kind, row.kind);
    EXPECT_EQ(why.part, row.part);
    EXPECT_EQ(DescribeCouponsInPlay(why), row.message);
    // Refusing without a place for the reason is fine too.
    EXPECT_FALSE(CouponsInPlay::Parse(row.text).has_value());
}

INSTANTIATE_TEST_SUITE_P(
    Texts, CouponsInPlayRefused,
    ::testing::Values(
        Refused{"1-500, 500-1", Kind::Reversed, "500-1",
                "The range \"500-1\" ends before it begins."},
        Refused{"0", Kind::OutOfRange, "0", "Coupon number 0 is outside 1 to 999999."},
        Refused{"0-10", Kind::OutOfRange, "0", "Coupon number 0 is outside 1 to 999999."},
        Refused{"1-1000000", Kind::OutOfRange, "1000000",
                "Coupon number 1000000 is outside 1 to 999999."},
        // Far past any integer: no overflow, the digits are named as typed.
        Refused{"99999999999999999999999", Kind::OutOfRange, "99999999999999999999999",
                "Coupon number 99999999999999999999999 is outside 1 to 999999."},
        Refused{"5-", Kind::MissingNumber, "5-", "\"5-\" lacks a number: write a range as 1-500."},
        Refused{"1-5, -9", Kind::MissingNumber, "-9",
                "\"-9\" lacks a number: write a range as 1-500."},
        Refused{"1 - ", Kind::MissingNumber, "1 -",
                "\"1 -\" lacks a number: write a range as 1-500."},
        Refused{"abc", Kind::Garbage, "abc",
                "\"abc\" is not a coupon number or a range: write ranges as 1-500, 1201-1300."},
        Refused{"1 500", Kind::Garbage, "1 500",
                "\"1 500\" is not a coupon number or a range: write ranges as 1-500, "
                "1201-1300."},
        Refused{"1-5-9", Kind::Garbage, "1-5-9",
                "\"1-5-9\" is not a coupon number or a range: write ranges as 1-500, "
                "1201-1300."},
        Refused{"1;5", Kind::Garbage, "1;5",
                "\"1;5\" is not a coupon number or a range: write ranges as 1-500, "
                "1201-1300."},
        Refused{"+5", Kind::Garbage, "+5",
                "\"+5\" is not a coupon number or a range: write ranges as 1-500, "
                "1201-1300."},
        // A line break would split the settings file's line: refused like any other stray
        // character.
        Refused{"1-5\n6", Kind::Garbage, "1-5\n6",
                "\"1-5\n6\" is not a coupon number or a range: write ranges as 1-500, "
                "1201-1300."},
        // A long part is quoted shortened, never inside a letter of two bytes.
        Refused{"1-5, \xC3\xA4\xC3\xA4\xC3\xA4\xC3\xA4\xC3\xA4\xC3\xA4\xC3\xA4\xC3\xA4\xC3\xA4"
                "\xC3\xA4\xC3\xA4\xC3\xA4\xC3\xA4",
                Kind::Garbage,
                "\xC3\xA4\xC3\xA4\xC3\xA4\xC3\xA4\xC3\xA4\xC3\xA4\xC3\xA4\xC3\xA4\xC3\xA4\xC3"
                "\xA4\xC3\xA4\xC3\xA4...",
                "\"\xC3\xA4\xC3\xA4\xC3\xA4\xC3\xA4\xC3\xA4\xC3\xA4\xC3\xA4\xC3\xA4\xC3\xA4\xC3"
                "\xA4\xC3\xA4\xC3\xA4...\" is not a coupon number or a range: write ranges as "
                "1-500, 1201-1300."}));

TEST(CouponsInPlay, RefusesATextLongerThanTheLimit) {
    // The limit itself is taken: 1000 parts of "1," are 2000 bytes.
    std::string text;
    for (int i = 0; i < 1000; ++i)
        text += "1,";
    ASSERT_EQ(text.size(), CouponsInPlay::kMaxTextLength);
    EXPECT_TRUE(CouponsInPlay::Parse(text).has_value());
    text += "2";
    CouponsInPlay::ParseError why;
    EXPECT_FALSE(CouponsInPlay::Parse(text, &why).has_value());
    EXPECT_EQ(DescribeCouponsInPlay(why),
              "The coupons in play are too long a text: at most 2000 characters.");
}

TEST(CouponsInPlay, ContainsTheEdgesOfEveryRangeAndNothingBetween) {
    const auto parsed = CouponsInPlay::Parse("1-500, 1201-1300, 999999");
    ASSERT_TRUE(parsed.has_value());
    const std::vector<std::pair<int, bool>> cases = {
        {-1, false},   {0, false},      {1, true},      {500, true},
        {501, false},  {1200, false},   {1201, true},   {1300, true},
        {1301, false}, {999998, false}, {999999, true}, {1000000, false}};
    for (const auto& [coupon, in] : cases)
        EXPECT_EQ(parsed->Contains(coupon), in) << coupon;
}

TEST(CouponsInPlay, TheWholeSeriesHoldsEveryCouponNumber) {
    const CouponsInPlay all;
    EXPECT_TRUE(all.All());
    EXPECT_EQ(all.Text(), "");
    EXPECT_EQ(all.Highest(), 0);
    EXPECT_TRUE(all.Contains(1));
    EXPECT_TRUE(all.Contains(999999));
    EXPECT_FALSE(all.Contains(0));
    EXPECT_FALSE(all.Contains(1000000));
}

} // namespace
} // namespace zorvi
