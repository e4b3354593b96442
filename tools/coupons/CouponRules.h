#pragma once

#include <cstdint>

#include "GameRules.h"

namespace zorvi::coupon_rules {

// A 75-number card: 5 rows of 5, written row by row; column c (B I N G O) holds
// 15c + 1 .. 15c + 15; byte 12 is the middle square, 0 when it is printed free.
constexpr std::uint32_t kCardSize = GameRules::CouponSize(GameRules::kNumbers75);
constexpr std::uint32_t kCardSide = GameRules::kRowLength;
constexpr std::uint32_t kMiddle = GameRules::MiddleCell(kCardSize);

// A 90-number ticket: 3 rows of 5 numbers, written row by row, each row in column order; the
// nine printed columns hold 1-9, 10-19, ..., 70-79 and 80-90. Six tickets make a strip that
// holds 1..90 once.
constexpr std::uint32_t kTicketSize = GameRules::CouponSize(GameRules::kNumbers90);
constexpr std::uint32_t kTicketRows = GameRules::RowsPerGame(GameRules::kNumbers90);
constexpr std::uint32_t kRowLength = GameRules::kRowLength;
constexpr std::uint32_t kTicketColumns = GameRules::kNinetyTicketColumns;
constexpr std::uint32_t kStripTickets = 6;
constexpr std::uint32_t kMaxPerColumn = 3;

constexpr std::uint32_t CouponSize(int numbers) {
    return GameRules::CouponSize(numbers);
}

// Column of a 75-number card that number v (1..75) belongs to.
constexpr int CardColumn(int v) {
    return (v - 1) / 15;
}

// Printed column of number v (1..90) on a 90-number ticket.
constexpr int TicketColumn(int v) {
    return v == GameRules::kNumbers90 ? kTicketColumns - 1 : v / 10;
}
constexpr int TicketColumnFirst(int c) {
    return c == 0 ? 1 : c * 10;
}
constexpr int TicketColumnLast(int c) {
    return c == kTicketColumns - 1 ? GameRules::kNumbers90 : c * 10 + 9;
}

} // namespace zorvi::coupon_rules
