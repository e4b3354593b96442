#pragma once

#include <cstdint>
#include <vector>

namespace zorvi {

// A hash set of the coupons of a series, each held as its index into the series' bytes, so a
// repeated coupon is found in constant time without copying any coupon. Open addressing with
// the low 32 bits of a 64-bit hash kept in the slot, so a probe rarely compares bytes.
class CouponIndex {
public:
    static constexpr std::int64_t kNone = -1;

    CouponIndex(std::uint32_t couponSize, std::size_t expectedCoupons);
    virtual ~CouponIndex() = default;

    // The index of an added coupon whose bytes equal `coupon`, or kNone.
    std::int64_t Find(const std::uint8_t* base, const std::uint8_t* coupon) const;
    // Adds coupon `index`, which lies at base + index * couponSize.
    void Add(const std::uint8_t* base, std::uint32_t index);
    // Find, and add when not found.
    std::int64_t FindOrAdd(const std::uint8_t* base, std::uint32_t index);

    std::size_t size() const { return count_; }

private:
    struct Slot {
        std::uint32_t tag = 0;
        std::uint32_t indexPlusOne = 0; // 0: empty
    };

    std::uint64_t Hash(const std::uint8_t* coupon) const;
    void Grow();

    std::uint32_t size_;
    std::vector<Slot> slots_;
    std::size_t mask_ = 0;
    std::size_t count_ = 0;
};

} // namespace zorvi
