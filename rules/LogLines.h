#pragma once

#include <ctime>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

namespace zorvi::LogLines {

// The game log's lines, defined once: the program writes them, and the verifier and the report
// in the tools read them back.
inline constexpr std::string_view kProgramStart = "Starting program";
inline constexpr std::string_view kNewGame = "Starting new game";
inline constexpr std::string_view kReadCoupons = "Read coupons";
inline constexpr std::string_view kReadCouponsAfterChange = "Reading coupons after settings change";
inline constexpr std::string_view kDrawnPrefix = "Drawn numbers: ";
inline constexpr std::string_view kBingoPrefix = "Bingo found in coupon ";
inline constexpr std::string_view kWinningNowPrefix = "Winning now: ";
inline constexpr std::string_view kCouponsInPlayPrefix = "Coupons in play: ";
inline constexpr std::string_view kWholeSeries = "the whole series";
inline constexpr std::string_view kCommitmentPrefix = "Game commitment: ";
inline constexpr std::string_view kRevealPrefix = "Game reveal: ";
inline constexpr std::string_view kHallServerNotStartedPrefix = "Hall server not started: ";

// "Bingo found in coupon 1045 (row 2)".
std::string BingoFound(int coupon, int row);
// "Drawn numbers: 17, 4, 75", in draw order.
std::string DrawnNumbers(const std::vector<int>& drawn);
// "17, 4, 75": the numbers as the drawn-numbers line and the operator window list them.
std::string NumberList(const std::vector<int>& numbers);
// "Winning now: 3 (row 2)".
std::string WinningNow(int count, int row);
// "Coupons in play: 1-500, 1201-1300", or "Coupons in play: the whole series" for an empty
// (canonical) text.
std::string CouponsInPlayNote(const std::string& canonical);

// The line as it stands in the file: "2024-3-5 9:5:3: message" and CR LF, because the log is
// read in a text editor on every platform.
std::string Stamped(const std::tm& time, const std::string& message);

// A line "2024-3-5 9:5:3: message": its time as "2024-03-05 09:05:03" and its message.
struct Line {
    std::string time;
    std::string message;
};
std::optional<Line> Split(const std::string& line);

bool IsHexDigest(std::string_view text);

// "17, 4, 75" as written by the coupon check; nothing when it is not such a list.
std::optional<std::vector<int>> ParseDrawn(std::string_view text);

// True when the sequence holds each of 1 to its length once.
bool IsPermutation(const std::vector<int>& sequence);

// "Bingo found in coupon 1045 (row 2)" without its prefix: the coupon and the row.
struct Bingo {
    int coupon = 0;
    int row = 0;
};
std::optional<Bingo> ParseBingo(std::string_view afterPrefix);

} // namespace zorvi::LogLines
