#include "CouponIndex.h"

#include <cstring>

namespace zorvi {

namespace {

std::uint64_t Mix(std::uint64_t h) {
    h ^= h >> 33;
    h *= 0xFF51AFD7ED558CCDULL;
    h ^= h >> 33;
    h *= 0xC4CEB9FE1A85EC53ULL;
    return h ^ (h >> 33);
}

} // namespace

CouponIndex::CouponIndex(std::uint32_t couponSize, std::size_t expectedCoupons)
    : size_(couponSize) {
    std::size_t capacity = 64;
    while (capacity < expectedCoupons * 2)
        capacity *= 2;
    slots_.resize(capacity);
    mask_ = capacity - 1;
}

std::uint64_t CouponIndex::Hash(const std::uint8_t* coupon) const {
    std::uint64_t h = 0x243F6A8885A308D3ULL ^ size_;
    std::uint32_t p = 0;
    for (; p + 8 <= size_; p += 8) {
        std::uint64_t word;
        std::memcpy(&word, coupon + p, 8);
        h = (h ^ word) * 0x9E3779B97F4A7C15ULL;
        h ^= h >> 29;
    }
    std::uint64_t tail = 0;
    for (std::uint32_t shift = 0; p < size_; ++p, shift += 8)
        tail |= static_cast<std::uint64_t>(coupon[p]) << shift;
    return Mix(h ^ tail);
}

std::int64_t CouponIndex::Find(const std::uint8_t* base, const std::uint8_t* coupon) const {
    const auto tag = static_cast<std::uint32_t>(Hash(coupon));
    for (std::size_t i = tag & mask_;; i = (i + 1) & mask_) {
        const Slot& slot = slots_[i];
        if (slot.indexPlusOne == 0)
            return kNone;
        if (slot.tag == tag) {
            const std::uint32_t index = slot.indexPlusOne - 1;
            if (std::memcmp(base + static_cast<std::size_t>(index) * size_, coupon, size_) == 0)
                return index;
        }
    }
}

void CouponIndex::Add(const std::uint8_t* base, std::uint32_t index) {
    if ((count_ + 1) * 2 > slots_.size())
        Grow();
    const auto tag =
        static_cast<std::uint32_t>(Hash(base + static_cast<std::size_t>(index) * size_));
    std::size_t i = tag & mask_;
    while (slots_[i].indexPlusOne != 0)
        i = (i + 1) & mask_;
    slots_[i] = Slot{tag, index + 1};
    ++count_;
}

std::int64_t CouponIndex::FindOrAdd(const std::uint8_t* base, std::uint32_t index) {
    const std::int64_t earlier = Find(base, base + static_cast<std::size_t>(index) * size_);
    if (earlier == kNone)
        Add(base, index);
    return earlier;
}

void CouponIndex::Grow() {
    std::vector<Slot> old;
    old.swap(slots_);
    slots_.resize(old.size() * 2);
    mask_ = slots_.size() - 1;
    for (const Slot& slot : old) {
        if (slot.indexPlusOne == 0)
            continue;
        std::size_t i = slot.tag & mask_;
        while (slots_[i].indexPlusOne != 0)
            i = (i + 1) & mask_;
        slots_[i] = slot;
    }
}

} // namespace zorvi
