#include "CouponGenerator.h"

#include <algorithm>
#include <cstring>

#include "CouponIndex.h"
#include "CouponRandom.h"
#include "CouponRules.h"

namespace zorvi {

using namespace coupon_rules;

namespace {

constexpr int kColumnSizes[kTicketColumns] = {9, 10, 10, 10, 10, 10, 10, 10, 11};
// The rows of a row set (bit r: row r), top first.
constexpr std::uint8_t kRowsOfMask[8][3] = {{0, 0, 0}, {0, 0, 0}, {1, 0, 0}, {0, 1, 0},
                                            {2, 0, 0}, {0, 2, 0}, {1, 2, 0}, {0, 1, 2}};

// The n-th set bit (from the lowest) of every 6-bit ticket set.
struct NthBitTable {
    std::uint8_t bit[64][kStripTickets] = {};
    std::uint8_t count[64] = {};
    constexpr NthBitTable() {
        for (std::uint32_t mask = 0; mask < 64; ++mask)
            for (std::uint8_t t = 0; t < kStripTickets; ++t)
                if ((mask >> t) & 1)
                    bit[mask][count[mask]++] = t;
    }
};
constexpr NthBitTable kNthBit;

// How many numbers of each column every ticket of a strip holds: 1 to 3 each, 15 a ticket,
// and the column's whole range over the six tickets. Every cell starts at 1; the column's
// remaining numbers go one by one to a random ticket that still has room, the fullest column
// first. A dead end (no ticket can take a column's next number) starts over; it is rare.
void DealColumnCounts(CouponRandom& random, std::uint8_t counts[kStripTickets][kTicketColumns]) {
    for (;;) {
        int need[kStripTickets];
        for (std::uint32_t t = 0; t < kStripTickets; ++t) {
            need[t] = static_cast<int>(kTicketSize - kTicketColumns);
            for (std::uint32_t c = 0; c < kTicketColumns; ++c)
                counts[t][c] = 1;
        }
        std::uint32_t wanting = (1u << kStripTickets) - 1; // tickets that need more numbers
        bool placed = true;
        for (int c = static_cast<int>(kTicketColumns) - 1; c >= 0 && placed; --c) {
            std::uint32_t open = wanting; // of those, the ones with room in this column
            for (int left = kColumnSizes[c] - static_cast<int>(kStripTickets); left > 0; --left) {
                const std::uint32_t n = kNthBit.count[open];
                if (n == 0) {
                    placed = false;
                    break;
                }
                const std::uint8_t t = kNthBit.bit[open][random.Below(n)];
                if (++counts[t][c] == kMaxPerColumn)
                    open &= ~(1u << t);
                if (--need[t] == 0) {
                    wanting &= ~(1u << t);
                    open &= ~(1u << t);
                }
            }
        }
        if (placed)
            return;
    }
}

// Which rows of a ticket hold a number of each column, five numbers a row. Each column takes
// a random choice among the row sets that have room and leave the remaining columns placeable.
// With three rows the Gale-Ryser conditions are two comparisons: the roomiest row needs no
// more than one number from every remaining column, the two roomiest no more than two.
bool ChooseRows(CouponRandom& random, const std::uint8_t counts[kTicketColumns],
                std::uint8_t rowMask[kTicketColumns]) {
    // The row sets of one, two and three rows, as bit masks.
    static constexpr std::uint8_t kSets[3][3] = {{1, 2, 4}, {3, 5, 6}, {7, 7, 7}};
    static constexpr std::uint32_t kSetCount[3] = {3, 3, 1};

    int room[kTicketRows] = {kRowLength, kRowLength, kRowLength};
    int columnsLeft = static_cast<int>(kTicketColumns); // sum of min(count, 1)
    int pairsLeft = 0;                                  // sum of min(count, 2)
    for (std::uint32_t c = 0; c < kTicketColumns; ++c)
        pairsLeft += counts[c] < 2 ? counts[c] : 2;

    for (std::uint32_t c = 0; c < kTicketColumns; ++c) {
        const std::uint32_t k = counts[c];
        --columnsLeft;
        pairsLeft -= k < 2 ? static_cast<int>(k) : 2;
        std::uint8_t feasible[3];
        std::uint32_t n = 0;
        for (std::uint32_t s = 0; s < kSetCount[k - 1]; ++s) {
            const std::uint8_t set = kSets[k - 1][s];
            int after[kTicketRows];
            for (std::uint32_t r = 0; r < kTicketRows; ++r)
                after[r] = room[r] - ((set >> r) & 1);
            const int least = std::min({after[0], after[1], after[2]});
            const int most = std::max({after[0], after[1], after[2]});
            const int total = after[0] + after[1] + after[2];
            // The roomiest row, and the two roomiest (all but the least), must be fillable.
            feasible[n] = set;
            n += static_cast<std::uint32_t>(least >= 0 && most <= columnsLeft &&
                                            total - least <= pairsLeft);
        }
        if (n == 0)
            return false; // cannot happen from a placeable start; the caller starts over
        const std::uint8_t set = feasible[n == 1 ? 0 : random.Below(n)];
        rowMask[c] = set;
        for (std::uint32_t r = 0; r < kTicketRows; ++r)
            room[r] -= (set >> r) & 1;
    }
    return true;
}

} // namespace

void CouponGenerator::MakeCard(CouponRandom& random, bool freeMiddle, std::uint8_t* card) {
    for (std::uint32_t c = 0; c < kCardSide; ++c) {
        std::uint8_t pool[15];
        for (std::uint32_t i = 0; i < 15; ++i)
            pool[i] = static_cast<std::uint8_t>(15 * c + 1 + i);
        // A partial Fisher-Yates: the first five places get five distinct numbers.
        for (std::uint32_t i = 0; i < kCardSide; ++i)
            std::swap(pool[i], pool[i + random.Below(15 - i)]);
        for (std::uint32_t r = 0; r < kCardSide; ++r)
            card[r * kCardSide + c] = pool[r];
    }
    if (freeMiddle)
        card[kMiddle] = 0;
}

void CouponGenerator::MakeStrip(CouponRandom& random, std::uint8_t* strip) {
    std::uint8_t counts[kStripTickets][kTicketColumns];
    std::uint8_t rowMask[kStripTickets][kTicketColumns];
    bool placed = false;
    while (!placed) {
        DealColumnCounts(random, counts);
        placed = true;
        for (std::uint32_t t = 0; t < kStripTickets && placed; ++t)
            placed = ChooseRows(random, counts[t], rowMask[t]);
    }

    // cells[t][r][c]: the number in row r, column c of ticket t, 0 when empty.
    std::uint8_t cells[kStripTickets][kTicketRows][kTicketColumns] = {};

    // Each column's numbers, taken in rising order, go to the tickets in a random order of
    // ticket places (a ticket has as many places as it holds numbers of the column), so each
    // ticket's share comes out rising and fills its rows from the top down.
    for (std::uint32_t c = 0; c < kTicketColumns; ++c) {
        std::uint8_t places[11];
        std::uint32_t size = 0;
        for (std::uint8_t t = 0; t < kStripTickets; ++t)
            for (std::uint32_t i = 0; i < counts[t][c]; ++i)
                places[size++] = t;
        random.Shuffle(places, size);
        std::uint32_t taken[kStripTickets] = {};
        auto number = static_cast<std::uint8_t>(TicketColumnFirst(static_cast<int>(c)));
        for (std::uint32_t i = 0; i < size; ++i, ++number) {
            const std::uint8_t t = places[i];
            cells[t][kRowsOfMask[rowMask[t][c]][taken[t]++]][c] = number;
        }
    }

    // Room for the empty cells that the last row writes past its end.
    std::uint8_t written[kStripTickets * kTicketSize + kTicketColumns];
    std::uint8_t* out = written;
    for (std::uint32_t t = 0; t < kStripTickets; ++t)
        for (std::uint32_t r = 0; r < kTicketRows; ++r)
            for (std::uint32_t c = 0; c < kTicketColumns; ++c) {
                *out = cells[t][r][c]; // an empty cell is overwritten by the next number
                out += cells[t][r][c] != 0;
            }
    std::memcpy(strip, written, kStripTickets * kTicketSize);
}

std::string CouponGenerator::Validate(const GenerateOptions& options) {
    if (!GameRules::IsNumberCount(options.numbers))
        return "the number count must be 75 or 90";
    if (options.count == 0 || options.count > kMaxCount)
        return "the coupon count must be 1 to " + std::to_string(kMaxCount);
    if (options.freeMiddle && options.numbers != GameRules::kNumbers75)
        return "a free middle exists on 75-number cards only";
    return {};
}

std::vector<std::uint8_t> CouponGenerator::Generate(const GenerateOptions& options) {
    if (!Validate(options).empty())
        return {};
    const std::uint32_t size = CouponSize(options.numbers);
    const auto count = static_cast<std::uint32_t>(options.count);
    std::vector<std::uint8_t> bytes(static_cast<std::size_t>(count) * size);
    CouponIndex index(size, count);
    CouponRandom random(options.seed);

    if (options.numbers == GameRules::kNumbers75) {
        for (std::uint32_t k = 0; k < count;) {
            MakeCard(random, options.freeMiddle, bytes.data() + static_cast<std::size_t>(k) * size);
            if (index.FindOrAdd(bytes.data(), k) == CouponIndex::kNone)
                ++k; // a repeated card is drawn again in its place
        }
        return bytes;
    }

    std::uint8_t strip[kStripTickets * kTicketSize];
    for (std::uint32_t k = 0; k < count;) {
        MakeStrip(random, strip);
        const std::uint32_t take = std::min<std::uint32_t>(kStripTickets, count - k);
        bool fresh = true;
        for (std::uint32_t t = 0; t < take && fresh; ++t)
            fresh = index.Find(bytes.data(), strip + t * size) == CouponIndex::kNone;
        if (!fresh)
            continue; // the whole strip is drawn again, so it still holds 1..90 once
        std::memcpy(bytes.data() + static_cast<std::size_t>(k) * size, strip,
                    static_cast<std::size_t>(take) * size);
        for (std::uint32_t t = 0; t < take; ++t)
            index.Add(bytes.data(), k + t);
        k += take;
    }
    return bytes;
}

const std::vector<SampleSeries>& SampleSeriesList() {
    static const std::vector<SampleSeries> list = {
        {"kup75.hex", 75, false, 7501},
        {"VORPA.hex", 75, true, 7502},
        {"KASTIRO.hex", 75, false, 7503},
        {"90.hex", 90, false, 9001},
    };
    return list;
}

} // namespace zorvi
