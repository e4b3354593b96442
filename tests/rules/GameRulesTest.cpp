#include <gtest/gtest.h>

#include "GameRules.h"

namespace zorvi {
namespace {

struct GameShape {
    int numbers;
    int rows;
    int couponSize;
    int middleCell;
};

class GameRulesShape : public ::testing::TestWithParam<GameShape> {};

TEST_P(GameRulesShape, RowsCouponSizeAndMiddleFollowTheNumberCount) {
    const GameShape& game = GetParam();
    EXPECT_EQ(GameRules::RowsPerGame(game.numbers), game.rows);
    EXPECT_EQ(GameRules::CouponSize(game.numbers), game.couponSize);
    EXPECT_EQ(GameRules::MiddleCell(GameRules::CouponSize(game.numbers)), game.middleCell);
}

// A count that is neither 75 nor 90 (only a settings file can hold one before it is mended)
// has the shape of the 90-number game, as the rows and the series file name have always had.
INSTANTIATE_TEST_SUITE_P(Games, GameRulesShape,
                         ::testing::Values(GameShape{75, 5, 25, 12}, GameShape{90, 3, 15, 7},
                                           GameShape{0, 3, 15, 7}, GameShape{76, 3, 15, 7}));

TEST(GameRules, OnlyTheTwoGamesAreNumberCounts) {
    EXPECT_TRUE(GameRules::IsNumberCount(75));
    EXPECT_TRUE(GameRules::IsNumberCount(90));
    EXPECT_FALSE(GameRules::IsNumberCount(0));
    EXPECT_FALSE(GameRules::IsNumberCount(89));
    EXPECT_EQ(GameRules::kDefaultNumberCount, 75);
}

TEST(GameRules, CouponsWithoutAMiddleHaveNone) {
    EXPECT_EQ(GameRules::MiddleCell(0), -1);
    EXPECT_EQ(GameRules::MiddleCell(27), -1);
}

TEST(GameRules, StoredValuesKeepTheirNumbers) {
    // These values are written to the state and settings files and passed to the page: the
    // names must never change what is stored.
    EXPECT_EQ(AutoMode::Manual, 0);
    EXPECT_EQ(AutoMode::Stopped, 1);
    EXPECT_EQ(AutoMode::Running, 2);
    EXPECT_EQ(PublicScreenMode::None, 0);
    EXPECT_EQ(PublicScreenMode::SameScreen, 1);
    EXPECT_EQ(PublicScreenMode::OtherScreen, 2);
    EXPECT_EQ(StateLoad::Loaded, 1);
    EXPECT_EQ(StateLoad::NoFile, 0);
    EXPECT_EQ(StateLoad::Corrupted, -1);
    EXPECT_EQ(CouponCheck::Wins, 1);
    EXPECT_EQ(CouponCheck::DoesNotWin, 0);
    EXPECT_EQ(CouponCheck::NotInSeries, -1);
}

} // namespace
} // namespace zorvi
