#pragma once

#include <cstdint>
#include <vector>

namespace zorvi {

struct WinPattern;

// One coupon: a view of its numbers (one byte each, 0 to 255) inside the series' block.
// Valid as long as the series it came from is not read again.
class BingoCoupon {
public:
    BingoCoupon() = default;
    BingoCoupon(const std::uint8_t* bytes, std::uint32_t size) : bytes_(bytes), size_(size) {}
    virtual ~BingoCoupon() = default;

    std::uint32_t size() const { return size_; }
    bool empty() const { return size_ == 0; }
    int Number(std::uint32_t position) const { return position < size_ ? bytes_[position] : 0; }
    std::vector<int> Numbers() const;
    const std::uint8_t* data() const { return bytes_; }

    // True when at least `rowsNeeded` rows are complete and one complete row holds the
    // last drawn number. Free middle: position 12 of 25, position 7 of 15, counts as drawn.
    bool HasBingo(int rowsNeeded, const std::vector<int>& drawn, int freeMiddle) const;
    // True when the coupon holds `pattern` on the last drawn number, as WinPattern says. "Row k"
    // is HasBingo(k) itself, for a coupon of any size; any other pattern needs a coupon of its
    // own size.
    bool HoldsPattern(const WinPattern& pattern, const std::vector<int>& drawn,
                      int freeMiddle) const;

    friend bool operator==(const BingoCoupon& a, const BingoCoupon& b) {
        return a.bytes_ == b.bytes_ && a.size_ == b.size_;
    }

private:
    const std::uint8_t* bytes_ = nullptr;
    std::uint32_t size_ = 0;
};

} // namespace zorvi
