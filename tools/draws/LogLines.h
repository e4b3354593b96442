#pragma once

#include <optional>
#include <string>
#include <string_view>
#include <vector>

#include "CouponsInPlay.h"

namespace zorvi::LogLines {

// What the game log writes, as the verifier and the report read it.
inline constexpr std::string_view kDrawnPrefix = "Drawn numbers: ";
inline constexpr std::string_view kBingoPrefix = "Bingo found in coupon ";
inline constexpr std::string_view kNewGame = "Starting new game";
inline constexpr std::string_view kProgramStart = "Starting program";
inline constexpr std::string_view kWinningNowPrefix = "Winning now: ";
inline constexpr std::string_view kCouponsInPlayPrefix = CouponsInPlay::kLogPrefix;

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
