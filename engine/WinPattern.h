#pragma once

#include <cstdint>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

namespace zorvi {

// A name in the three languages of the program (Finnish, Swedish, English).
struct PatternNames {
    std::string fi;
    std::string sv;
    std::string en;

    // By the language index of the settings; anything unknown is Finnish.
    const std::string& In(int language) const;
    friend bool operator==(const PatternNames&, const PatternNames&) = default;
};

// What a coupon must hold to win a stage: one or more masks over its squares, bit i for square
// i row by row (25 squares of a 75-number coupon, 15 of a 90-number one). A coupon holds the
// pattern when every square of one mask is marked (the free middle counts as marked) and, by the
// strict last-number rule, that mask holds the last number drawn.
//
// "Row k" keeps the meaning the game always had: any k complete rows, one of them holding the
// last number. Its masks are every choice of k rows.
struct WinPattern {
    // The name the programme file uses: "four_corners", "rows_2"; a drawn pattern's own name.
    std::string key;
    PatternNames names;
    int squares = 25;
    std::vector<std::uint32_t> masks;
    int rows = 0;       // k for "row k", else 0
    bool drawn = false; // drawn by the hall on the 5 x 5 grid

    friend bool operator==(const WinPattern&, const WinPattern&) = default;
};

namespace WinPatterns {

inline constexpr int kGridSide = 5;
inline constexpr int kGridSquares = kGridSide * kGridSide;
inline constexpr std::string_view kRowsPrefix = "rows_";

// "Row k" of a game of `numberCount` numbers (5 rows for 75, 3 for 90); k outside 1 to the rows
// of the game gives a pattern no coupon holds.
WinPattern Rows(int k, int numberCount);
// Any k of `rowCount` rows of five, as masks (for coupons of any size up to 32 squares).
std::vector<std::uint32_t> RowMasks(int k, int rowCount);
// The built-in patterns of a game: for 75 numbers the rows, any line, four corners, the frames,
// X, plus, postage stamp, the letters T, L, U, H and the full card; for 90 the rows.
const std::vector<WinPattern>& Library(int numberCount);
// A built-in pattern by its key.
std::optional<WinPattern> Find(std::string_view key, int numberCount);
// A pattern the hall drew on the 5 x 5 grid and named; nothing for an empty mask or name.
std::optional<WinPattern> Drawn(const std::string& name, std::uint32_t mask);
// The grid as text, five rows of '#' (in the pattern) and '.', joined by '/': "#...#/...".
std::string GridText(std::uint32_t mask);
// The grid from that text; nothing when it is not five rows of five '#' or '.'.
std::optional<std::uint32_t> ParseGrid(std::string_view text);

// The strict last-number rule over masks: `marked` one bit per marked square, the free middle
// included; `lastSquares` the squares that hold the last number drawn.
inline bool HoldsAnyMask(std::uint32_t marked, std::uint32_t lastSquares,
                         const std::vector<std::uint32_t>& masks) {
    for (const std::uint32_t mask : masks)
        if ((mask & lastSquares) != 0 && (marked & mask) == mask)
            return true;
    return false;
}

} // namespace WinPatterns

} // namespace zorvi
