#pragma once

// The rules of the game in one place: the two games, their rows and coupons, the coupon
// numbers an operator can type, the automatic-drawing interval and the draw lock, and the
// named values of the modes and results that are stored or passed as plain integers.
//
// Plain constants only, no includes: the services, the windows and the tools use this header
// as well as the engine.

namespace zorvi {

namespace GameRules {

// The number count N of a game: 1 to 75 or 1 to 90. A settings file with any other count
// plays the 75-number game.
inline constexpr int kNumbers75 = 75;
inline constexpr int kNumbers90 = 90;
inline constexpr int kDefaultNumberCount = kNumbers75;

constexpr bool IsNumberCount(int n) {
    return n == kNumbers75 || n == kNumbers90;
}

// A coupon row is five consecutive numbers of the coupon.
inline constexpr int kRowLength = 5;

// Rows of a game, and so the row of the full coupon: 5 for 75 numbers, 3 for any other count.
constexpr int RowsPerGame(int n) {
    return n == kNumbers75 ? 5 : 3;
}

// Numbers on one coupon: 25 (5 rows of 5) for 75 numbers, 15 (3 rows of 5) for any other count.
constexpr int CouponSize(int n) {
    return RowsPerGame(n) * kRowLength;
}

// The position that a free middle counts as drawn: the middle square of a 25-number coupon,
// the middle of the second row of a 15-number coupon; -1 for any other size.
constexpr int MiddleCell(int couponSize) {
    if (couponSize == CouponSize(kNumbers75))
        return couponSize / 2;
    if (couponSize == CouponSize(kNumbers90))
        return kRowLength + kRowLength / 2;
    return -1;
}

// A 90-number coupon shown to the players: 3 rows of 9 columns.
inline constexpr int kNinetyTicketColumns = 9;
inline constexpr int kNinetyTicketCells = RowsPerGame(kNumbers90) * kNinetyTicketColumns;

// Coupon numbers the operator can type and check: 1 to 999999.
inline constexpr int kLowestCouponNumber = 1;
inline constexpr int kHighestCouponNumber = 999999;

// The interval of automatic drawing, in seconds.
inline constexpr int kShortestInterval = 1;
inline constexpr int kLongestInterval = 60;
// The interval a game gets when no stored game is continued.
inline constexpr int kStartInterval = 5;
// The first automatic number comes after a tenth of the interval, every later one after the
// whole interval.
inline constexpr int kFirstTickMsPerSecond = 100;
inline constexpr int kTickMsPerSecond = 1000;

// After each Draw command the Draw buttons stay locked this long.
inline constexpr int kDrawLockMs = 1000;

// The number limit the operator can give a game: 0 (none) to 90, whatever the game.
inline constexpr int kHighestNumberLimit = kNumbers90;

} // namespace GameRules

// The automatic-drawing mode, `auto_new_number` of the game state.
namespace AutoMode {
inline constexpr int Manual = 0;  // each Draw command draws one number
inline constexpr int Stopped = 1; // automatic, stopped: the Draw command starts the timer
inline constexpr int Running = 2; // automatic, running: the Draw command stops the timer
} // namespace AutoMode

// Where the players' window is shown: the `public_screen` setting and `shown_public_screen`.
namespace PublicScreenMode {
inline constexpr int None = 0;
inline constexpr int SameScreen = 1;
inline constexpr int OtherScreen = 2;
} // namespace PublicScreenMode

// The result of reading the state file.
namespace StateLoad {
inline constexpr int Loaded = 1;
inline constexpr int NoFile = 0;
inline constexpr int Corrupted = -1;
} // namespace StateLoad

// The verdict on a coupon number.
namespace CouponCheck {
inline constexpr int Wins = 1;
inline constexpr int DoesNotWin = 0;
inline constexpr int NotInSeries = -1;
} // namespace CouponCheck

} // namespace zorvi
