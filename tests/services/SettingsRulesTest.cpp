// The integer fields' one rule and the settings dialog's value rules, as tables.
#include <gtest/gtest.h>

#include <optional>
#include <string>

#include "IntegerField.h"
#include "SettingsRules.h"

namespace zorvi {
namespace {

constexpr IntegerFieldRule kCoupon{1, 999999, false};
constexpr IntegerFieldRule kLimit{0, 90, true};
const IntegerFieldRule& kSize = SettingsRules::kScreenSizeField;

const std::string kPositive = "Enter a positive integer.";
const std::string kInteger = "Enter an integer.";

struct FieldCase {
    const char* name;
    const IntegerFieldRule* rule;
    const char* text;
    std::optional<long long> value;
    std::string message;
};

class IntegerFieldTest : public ::testing::TestWithParam<FieldCase> {};

TEST_P(IntegerFieldTest, TakesOrRefuses) {
    const FieldCase& c = GetParam();
    const IntegerFieldVerdict verdict = ReadIntegerField(c.text, *c.rule);
    EXPECT_EQ(verdict.value, c.value);
    EXPECT_EQ(verdict.message, c.message);
}

const std::string kCouponRange = "Enter an integer between 1 and 999999.";
const std::string kSizeRange = "Enter an integer between 0 and 99999.";
const std::string kLimitRange = "Enter an integer between 0 and 90.";

INSTANTIATE_TEST_SUITE_P(
    Cases, IntegerFieldTest,
    ::testing::Values(FieldCase{"CouponEmpty", &kCoupon, "", std::nullopt, kPositive},
                      FieldCase{"CouponBlanksOnly", &kCoupon, "   ", std::nullopt, kPositive},
                      FieldCase{"CouponZero", &kCoupon, "0", std::nullopt, kCouponRange},
                      FieldCase{"CouponOne", &kCoupon, "1", 1, ""},
                      FieldCase{"CouponLargest", &kCoupon, "999999", 999999, ""},
                      FieldCase{"CouponTooBig", &kCoupon, "1000000", std::nullopt, kCouponRange},
                      FieldCase{"CouponBeyondAnyInteger", &kCoupon, "99999999999999999999999",
                                std::nullopt, kCouponRange},
                      FieldCase{"CouponLeadingZeros", &kCoupon, "0000000000000000000000042", 42,
                                ""},
                      FieldCase{"CouponMinus", &kCoupon, "-5", std::nullopt, kPositive},
                      FieldCase{"SizeBlanksAndPlus", &kSize, " +1280 ", 1280, ""},
                      FieldCase{"SizeZero", &kSize, "0", 0, ""},
                      FieldCase{"SizeLargest", &kSize, "99999", 99999, ""},
                      FieldCase{"SizeTooBig", &kSize, "100000", std::nullopt, kSizeRange},
                      FieldCase{"SizeTrailingText", &kSize, "12px", std::nullopt, kPositive},
                      FieldCase{"SizeInnerBlank", &kSize, "1 2", std::nullopt, kPositive},
                      FieldCase{"SizeSignOnly", &kSize, "+", std::nullopt, kPositive},
                      FieldCase{"SizeNonAsciiDigit", &kSize, "\xd9\xa3", std::nullopt, kPositive},
                      FieldCase{"LimitNegative", &kLimit, "-2", std::nullopt, kLimitRange},
                      FieldCase{"LimitMinusZero", &kLimit, "-0", 0, ""},
                      FieldCase{"LimitLetters", &kLimit, "abc", std::nullopt, kInteger},
                      FieldCase{"LimitEmpty", &kLimit, "", std::nullopt, kInteger},
                      FieldCase{"LimitHighest", &kLimit, "90", 90, ""},
                      FieldCase{"LimitAbove", &kLimit, "91", std::nullopt, kLimitRange},
                      FieldCase{"LimitHugeNegative", &kLimit, "-99999999999999999999", std::nullopt,
                                kLimitRange}),
    [](const auto& info) { return std::string(info.param.name); });

struct ChoiceCase {
    const char* name;
    int stored;
    int last;
    int index;
};

class ChoiceIndexTest : public ::testing::TestWithParam<ChoiceCase> {};

TEST_P(ChoiceIndexTest, StoredValueSelectsItsItemOrTheFirst) {
    const ChoiceCase& c = GetParam();
    EXPECT_EQ(SettingsRules::ChoiceIndex(c.stored, c.last), c.index);
}

INSTANTIATE_TEST_SUITE_P(Cases, ChoiceIndexTest,
                         ::testing::Values(ChoiceCase{"First", 0, 2, 0},
                                           ChoiceCase{"Last", 2, 2, 2},
                                           ChoiceCase{"AboveLast", 7, 2, 0},
                                           ChoiceCase{"Negative", -1, 2, 0},
                                           ChoiceCase{"Lowest", -2147483647 - 1, 2, 0}),
                         [](const auto& info) { return std::string(info.param.name); });

TEST(SettingsRulesTest, NumberCountListHoldsSeventyFiveAndNinety) {
    EXPECT_EQ(SettingsRules::NumberCountIndex(75), 0);
    EXPECT_EQ(SettingsRules::NumberCountIndex(90), 1);
    EXPECT_EQ(SettingsRules::NumberCountIndex(80), 0);
    EXPECT_EQ(SettingsRules::NumberCountOfIndex(0), 75);
    EXPECT_EQ(SettingsRules::NumberCountOfIndex(1), 90);
    EXPECT_EQ(SettingsRules::NumberCountOfIndex(-1), 0);
}

TEST(SettingsRulesTest, StoredScreenSizeIsBroughtIntoTheFieldsRange) {
    EXPECT_EQ(SettingsRules::ScreenSizeShown(-5), 0);
    EXPECT_EQ(SettingsRules::ScreenSizeShown(800), 800);
    EXPECT_EQ(SettingsRules::ScreenSizeShown(123456), 99999);
}

using SettingsRules::CouponBoxes;
using SettingsRules::Tick;

struct BoxesCase {
    const char* name;
    int numberCount;
    int series;
    CouponBoxes atOpening;
    CouponBoxes afterChoice;
};

class CouponBoxesTest : public ::testing::TestWithParam<BoxesCase> {};

TEST_P(CouponBoxesTest, CountAndSeriesSteerTheBoxes) {
    const BoxesCase& c = GetParam();
    EXPECT_EQ(SettingsRules::CouponBoxesAtOpening(c.numberCount, c.series), c.atOpening);
    EXPECT_EQ(SettingsRules::CouponBoxesAfterChoice(c.numberCount, c.series), c.afterChoice);
}

// Columns of CouponBoxes: series enabled, free middle enabled, free-middle tick.
INSTANTIATE_TEST_SUITE_P(
    Cases, CouponBoxesTest,
    ::testing::Values(
        BoxesCase{"SeriesA", 75, 0, {true, true, Tick::Keep}, {true, true, Tick::Keep}},
        BoxesCase{"SeriesB", 75, 1, {true, false, Tick::Keep}, {true, false, Tick::Set}},
        BoxesCase{"SeriesC", 75, 2, {true, true, Tick::Keep}, {true, true, Tick::Keep}},
        BoxesCase{"Ninety", 90, 0, {false, false, Tick::Keep}, {false, false, Tick::Clear}},
        BoxesCase{
            "NinetyWithSeriesB", 90, 1, {false, false, Tick::Keep}, {false, false, Tick::Clear}}),
    [](const auto& info) { return std::string(info.param.name); });

} // namespace
} // namespace zorvi
