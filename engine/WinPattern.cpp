#include "WinPattern.h"

#include <bit>
#include <initializer_list>

#include "GameRules.h"

namespace zorvi {

namespace {

constexpr int kSide = WinPatterns::kGridSide;

constexpr std::uint32_t Square(int row, int column) {
    return 1u << static_cast<unsigned>(row * kSide + column);
}

std::uint32_t RowMask(int row) {
    std::uint32_t mask = 0;
    for (int c = 0; c < kSide; ++c)
        mask |= Square(row, c);
    return mask;
}

std::uint32_t ColumnMask(int column) {
    std::uint32_t mask = 0;
    for (int r = 0; r < kSide; ++r)
        mask |= Square(r, column);
    return mask;
}

std::uint32_t Diagonal(bool down) {
    std::uint32_t mask = 0;
    for (int i = 0; i < kSide; ++i)
        mask |= Square(i, down ? i : kSide - 1 - i);
    return mask;
}

std::uint32_t Frame(int from, int to) {
    std::uint32_t mask = 0;
    for (int r = from; r <= to; ++r)
        for (int c = from; c <= to; ++c)
            if (r == from || r == to || c == from || c == to)
                mask |= Square(r, c);
    return mask;
}

std::uint32_t Block(int row, int column) {
    return Square(row, column) | Square(row, column + 1) | Square(row + 1, column) |
           Square(row + 1, column + 1);
}

WinPattern Make(std::string key, PatternNames names, std::initializer_list<std::uint32_t> masks) {
    WinPattern pattern;
    pattern.key = std::move(key);
    pattern.names = std::move(names);
    pattern.squares = WinPatterns::kGridSquares;
    pattern.masks = masks;
    return pattern;
}

// The names of "row k": the count of rows, and the full coupon for the last.
PatternNames RowsNames(int k, int rowCount) {
    if (rowCount == GameRules::RowsPerGame(GameRules::kNumbers90)) {
        static const PatternNames ninety[] = {
            {"Yksi rivi", "En rad", "One line"},
            {"Kaksi riviä", "Två rader", "Two lines"},
            {"Täysi kuponki", "Full bricka", "Full house"},
        };
        return ninety[k - 1];
    }
    const std::string n = std::to_string(k);
    if (k == 1)
        return {"1 rivi", "1 rad", "1 row"};
    return {n + " riviä", n + " rader", n + " rows"};
}

std::vector<WinPattern> BuildLibrary(int numberCount) {
    std::vector<WinPattern> library;
    const int rows = GameRules::RowsPerGame(numberCount);
    for (int k = 1; k <= rows; ++k)
        library.push_back(WinPatterns::Rows(k, numberCount));
    if (numberCount != GameRules::kNumbers75)
        return library;

    WinPattern anyLine = Make("any_line", {"Mikä tahansa suora", "Valfri linje", "Any line"}, {});
    for (int i = 0; i < kSide; ++i)
        anyLine.masks.push_back(RowMask(i));
    for (int i = 0; i < kSide; ++i)
        anyLine.masks.push_back(ColumnMask(i));
    anyLine.masks.push_back(Diagonal(true));
    anyLine.masks.push_back(Diagonal(false));
    library.push_back(anyLine);

    const std::uint32_t top = RowMask(0), bottom = RowMask(kSide - 1), middleRow = RowMask(2);
    const std::uint32_t left = ColumnMask(0), right = ColumnMask(kSide - 1),
                        middleColumn = ColumnMask(2);
    library.push_back(Make("four_corners", {"Neljä kulmaa", "Fyra hörn", "Four corners"},
                           {Square(0, 0) | Square(0, 4) | Square(4, 0) | Square(4, 4)}));
    library.push_back(
        Make("small_frame", {"Pieni kehys", "Liten ram", "Small frame"}, {Frame(1, 3)}));
    library.push_back(
        Make("large_frame", {"Iso kehys", "Stor ram", "Large frame"}, {Frame(0, kSide - 1)}));
    library.push_back(Make("x", {"X-kuvio", "X-mönster", "X"}, {Diagonal(true) | Diagonal(false)}));
    library.push_back(Make("plus", {"Plus", "Plus", "Plus"}, {middleRow | middleColumn}));
    library.push_back(Make("postage_stamp", {"Postimerkki", "Frimärke", "Postage stamp"},
                           {Block(0, 0), Block(0, 3), Block(3, 0), Block(3, 3)}));
    library.push_back(
        Make("letter_t", {"T-kirjain", "Bokstaven T", "Letter T"}, {top | middleColumn}));
    library.push_back(Make("letter_l", {"L-kirjain", "Bokstaven L", "Letter L"}, {left | bottom}));
    library.push_back(
        Make("letter_u", {"U-kirjain", "Bokstaven U", "Letter U"}, {left | right | bottom}));
    library.push_back(
        Make("letter_h", {"H-kirjain", "Bokstaven H", "Letter H"}, {left | right | middleRow}));
    library.push_back(Make("full_card", {"Täysi kuponki", "Full bricka", "Full card"},
                           {(1u << WinPatterns::kGridSquares) - 1u}));
    return library;
}

} // namespace

const std::string& PatternNames::In(int language) const {
    switch (language) {
    case 1:
        return sv;
    case 2:
        return en;
    default:
        return fi;
    }
}

namespace WinPatterns {

std::vector<std::uint32_t> RowMasks(int k, int rowCount) {
    std::vector<std::uint32_t> masks;
    if (k < 1 || k > rowCount || rowCount * GameRules::kRowLength > 32)
        return masks;
    const std::uint32_t oneRow = (1u << GameRules::kRowLength) - 1u;
    // Every set of k rows, as the subsets of rowCount bits with k bits set.
    for (std::uint32_t rowsChosen = 0; rowsChosen < (1u << rowCount); ++rowsChosen) {
        if (std::popcount(rowsChosen) != k)
            continue;
        std::uint32_t mask = 0;
        for (int r = 0; r < rowCount; ++r)
            if ((rowsChosen >> r) & 1u)
                mask |= oneRow << (r * GameRules::kRowLength);
        masks.push_back(mask);
    }
    return masks;
}

WinPattern Rows(int k, int numberCount) {
    const int rowCount = GameRules::RowsPerGame(numberCount);
    WinPattern pattern;
    pattern.key = std::string(kRowsPrefix) + std::to_string(k);
    pattern.squares = GameRules::CouponSize(numberCount);
    pattern.rows = k;
    pattern.masks = RowMasks(k, rowCount);
    if (k >= 1 && k <= rowCount)
        pattern.names = RowsNames(k, rowCount);
    return pattern;
}

const std::vector<WinPattern>& Library(int numberCount) {
    static const std::vector<WinPattern> seventyFive = BuildLibrary(GameRules::kNumbers75);
    static const std::vector<WinPattern> ninety = BuildLibrary(GameRules::kNumbers90);
    return numberCount == GameRules::kNumbers75 ? seventyFive : ninety;
}

std::optional<WinPattern> Find(std::string_view key, int numberCount) {
    for (const WinPattern& pattern : Library(numberCount))
        if (pattern.key == key)
            return pattern;
    return std::nullopt;
}

std::optional<WinPattern> Drawn(const std::string& name, std::uint32_t mask) {
    mask &= (1u << kGridSquares) - 1u;
    if (name.empty() || mask == 0)
        return std::nullopt;
    WinPattern pattern;
    pattern.key = name;
    pattern.names = {name, name, name};
    pattern.squares = kGridSquares;
    pattern.masks = {mask};
    pattern.drawn = true;
    return pattern;
}

std::string GridText(std::uint32_t mask) {
    std::string text;
    for (int r = 0; r < kSide; ++r) {
        if (r > 0)
            text += '/';
        for (int c = 0; c < kSide; ++c)
            text += (mask & Square(r, c)) != 0 ? '#' : '.';
    }
    return text;
}

std::optional<std::uint32_t> ParseGrid(std::string_view text) {
    if (text.size() != std::size_t(kSide * (kSide + 1) - 1))
        return std::nullopt;
    std::uint32_t mask = 0;
    for (int r = 0; r < kSide; ++r) {
        const std::size_t at = std::size_t(r * (kSide + 1));
        if (r > 0 && text[at - 1] != '/')
            return std::nullopt;
        for (int c = 0; c < kSide; ++c) {
            const char ch = text[at + std::size_t(c)];
            if (ch == '#')
                mask |= Square(r, c);
            else if (ch != '.')
                return std::nullopt;
        }
    }
    return mask;
}

} // namespace WinPatterns

} // namespace zorvi
