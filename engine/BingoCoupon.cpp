#include "BingoCoupon.h"

#include <algorithm>
#include <array>
#include <bitset>
#include <vector>

#include "GameRules.h"
#include "WinPattern.h"

namespace zorvi {

namespace {

constexpr std::uint32_t kRowLength = GameRules::kRowLength;
constexpr int kNoNumberDrawn = -100;
constexpr int kUnmarked = -1;

// The square that counts as drawn with a free middle, or -1 for a coupon without one.
int FreeMiddlePosition(std::uint32_t size) {
    return GameRules::MiddleCell(static_cast<int>(size));
}

} // namespace

std::vector<int> BingoCoupon::Numbers() const {
    return std::vector<int>(bytes_, bytes_ + size_);
}

bool BingoCoupon::HasBingo(int rowsNeeded, const std::vector<int>& drawn, int freeMiddle) const {
    if (size_ == 0 || bytes_ == nullptr)
        return false;
    const int last = drawn.empty() ? kNoNumberDrawn : drawn.back();

    // Coupon values are bytes, so a 256-entry table answers "is it drawn" at once; numbers
    // outside 0 to 255 can match no square.
    std::bitset<256> isDrawn;
    for (const int number : drawn)
        if (number >= 0 && number <= 255)
            isDrawn.set(static_cast<std::size_t>(number));

    // A drawn number marks only the first square that holds it.
    // Coupons of the game fit the array on the stack; only an odd size needs the heap.
    std::array<int, 32> stackMarks;
    std::vector<int> heapMarks;
    int* marked = stackMarks.data();
    if (size_ > stackMarks.size()) {
        heapMarks.resize(size_);
        marked = heapMarks.data();
    }
    std::fill(marked, marked + size_, kUnmarked);
    std::bitset<256> seen;
    for (std::uint32_t p = 0; p < size_; ++p) {
        const std::uint8_t value = bytes_[p];
        if (!seen.test(value) && isDrawn.test(value))
            marked[p] = value;
        seen.set(value);
    }
    if (freeMiddle == 1) {
        const int middle = FreeMiddlePosition(size_);
        if (middle >= 0)
            marked[static_cast<std::size_t>(middle)] = bytes_[middle];
    }

    int completeRows = 0;
    bool lastInCompleteRow = false;
    for (std::uint32_t start = 0; start + kRowLength <= size_; start += kRowLength) {
        bool complete = true;
        bool holdsLast = false;
        for (std::uint32_t p = start; p < start + kRowLength; ++p) {
            if (marked[p] < 0) {
                complete = false;
                break;
            }
            holdsLast = holdsLast || marked[p] == last;
        }
        if (complete) {
            ++completeRows;
            lastInCompleteRow = lastInCompleteRow || holdsLast;
        }
    }
    return completeRows >= rowsNeeded && lastInCompleteRow;
}

bool BingoCoupon::HoldsPattern(const WinPattern& pattern, const std::vector<int>& drawn,
                               int freeMiddle) const {
    if (pattern.rows > 0)
        return HasBingo(pattern.rows, drawn, freeMiddle);
    if (bytes_ == nullptr || drawn.empty() || size_ != std::uint32_t(pattern.squares) || size_ > 32)
        return false;
    const int last = drawn.back();
    std::bitset<256> isDrawn;
    for (const int number : drawn)
        if (number >= 0 && number <= 255)
            isDrawn.set(static_cast<std::size_t>(number));

    // As in HasBingo: a drawn number marks the first square that holds it; the free middle is
    // marked and holds its own number.
    std::uint32_t marked = 0;
    std::uint32_t lastSquares = 0;
    std::bitset<256> seen;
    for (std::uint32_t p = 0; p < size_; ++p) {
        const std::uint8_t value = bytes_[p];
        if (!seen.test(value) && isDrawn.test(value)) {
            marked |= 1u << p;
            if (value == last)
                lastSquares |= 1u << p;
        }
        seen.set(value);
    }
    if (freeMiddle == 1) {
        const int middle = FreeMiddlePosition(size_);
        if (middle >= 0) {
            marked |= 1u << middle;
            if (bytes_[middle] == last)
                lastSquares |= 1u << middle;
        }
    }
    return WinPatterns::HoldsAnyMask(marked, lastSquares, pattern.masks);
}

} // namespace zorvi
