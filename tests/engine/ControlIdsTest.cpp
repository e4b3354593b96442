#include <gtest/gtest.h>

#include "ControlIds.h"

namespace zorvi {
namespace {

struct NameCase {
    int id;
    const char* name;
};

class ControlNameTest : public ::testing::TestWithParam<NameCase> {};

TEST_P(ControlNameTest, NamesTheControl) {
    EXPECT_EQ(ControlName(GetParam().id), GetParam().name);
}

INSTANTIATE_TEST_SUITE_P(
    Table, ControlNameTest,
    ::testing::Values(NameCase{Control::Draw, "Draw"}, NameCase{Control::BoardFrame, "BoardFrame"},
                      NameCase{Control::NumberLimit, "NumberLimit"},
                      // The cells: a board cell by its number, a coupon cell by its position.
                      NameCase{Control::FirstBoardCell, "BoardCell1"},
                      NameCase{Control::FirstBoardCell + 89, "BoardCell90"},
                      NameCase{Control::FirstCouponCell, "CouponCell0"},
                      NameCase{Control::FirstCouponCell + 24, "CouponCell24"},
                      // An identifier without a name still shows, as its number.
                      NameCase{1099, "1099"}, NameCase{-1, "-1"}, NameCase{0, "0"}));

TEST(TimerNameTest, NamesEachTimerAndShowsAnUnknownOneAsItsNumber) {
    EXPECT_EQ(TimerName(Timer::Automatic), "Automatic");
    EXPECT_EQ(TimerName(Timer::DrawLock), "DrawLock");
    EXPECT_EQ(TimerName(Timer::OtherScreenWatch), "OtherScreenWatch");
    EXPECT_EQ(TimerName(Control::Draw), "1016");
}

} // namespace
} // namespace zorvi
