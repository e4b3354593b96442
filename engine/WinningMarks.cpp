#include "WinningMarks.h"

#include <algorithm>
#include <array>
#include <bit>
#include <cstdint>
#if defined(__SSE2__)
#include <emmintrin.h>
#endif

#include "BingoCoupon.h"
#include "GameRules.h"
#include "WinPattern.h"

namespace zorvi {

namespace {

constexpr std::uint32_t kMaskBits = 32;
// Up to this many numbers added or taken away are followed one pass each; more (a resumed
// game, a new series) cost less as one build from scratch.
constexpr std::size_t kMostPassesPerAnswer = 4;
// The per-square step of a pass runs a third of a million times per draw: it must not be a call.
#if defined(__GNUC__)
#define ZORVI_INLINE __attribute__((always_inline)) inline
#define ZORVI_LAMBDA_INLINE __attribute__((always_inline))
#else
#define ZORVI_INLINE inline
#define ZORVI_LAMBDA_INLINE
#endif

// How often a pass asks whether its answer is still wanted: every this many coupons.
constexpr std::size_t kCouponsBetweenStopChecks = 1 << 15;

// The drawn numbers that can mark a square: a square holds a byte, so nothing else matches.
std::bitset<256> DrawnBytes(const std::vector<int>& drawn) {
    std::bitset<256> set;
    for (const int number : drawn)
        if (number >= 0 && number <= 255)
            set.set(static_cast<std::size_t>(number));
    return set;
}

// The coupon numbers in play, walked upwards with the scan.
class InPlay {
public:
    explicit InPlay(const std::vector<std::pair<int, int>>& ranges) : ranges_(ranges) {
        std::sort(ranges_.begin(), ranges_.end());
    }
    bool All() const { return ranges_.empty(); }
    // Asked with rising numbers only.
    ZORVI_INLINE bool Contains(long long number) {
        if (ranges_.empty())
            return true;
        while (next_ < ranges_.size() && ranges_[next_].second < number)
            ++next_;
        return next_ < ranges_.size() && ranges_[next_].first <= number;
    }

private:
    std::vector<std::pair<int, int>> ranges_;
    std::size_t next_ = 0;
};

// The coupon check's verdict from a coupon's marks, for a coupon that holds the last number:
// every square of one of the pattern's masks is marked, and that mask holds the last number (at
// the first square that holds it, or at a free middle that holds it). "Row k" is every choice of
// k rows.
class Judge {
public:
    explicit Judge(const WinningQuery& query) {
        const std::uint32_t size = query.couponSize;
        std::vector<std::uint32_t> masks;
        if (query.patternMasks.empty())
            // A row count below one asks, as the check does, for one complete row.
            masks = WinPatterns::RowMasks(std::max(query.rowsNeeded, 1),
                                          static_cast<int>(size / GameRules::kRowLength));
        else if (query.patternSquares == static_cast<int>(size))
            masks = query.patternMasks;
        for (const std::uint32_t mask : masks)
            for (std::uint32_t p = 0; p < kMaskBits; ++p)
                if ((mask >> p) & 1u)
                    at_[p].push_back(mask);
        const int middle = GameRules::MiddleCell(static_cast<int>(size));
        if (query.freeMiddle == 1 && middle >= 0) {
            middle_ = middle;
            freeBit_ = 1u << static_cast<std::uint32_t>(middle);
        }
    }

    // `position`: the first square of the coupon that holds `last`.
    ZORVI_INLINE bool Wins(std::uint32_t mask, const std::uint8_t* coupon, std::uint32_t position,
                           int last) const {
        mask |= freeBit_;
        // Most coupons that hold the last number fail at once: no mask through its square is
        // complete.
        for (const std::uint32_t m : at_[position])
            if ((mask & m) == m)
                return true;
        if (middle_ >= 0 && coupon[middle_] == last)
            for (const std::uint32_t m : at_[std::size_t(middle_)])
                if ((mask & m) == m)
                    return true;
        return false;
    }

private:
    std::array<std::vector<std::uint32_t>, kMaskBits> at_; // the masks through each square
    int middle_ = -1;
    std::uint32_t freeBit_ = 0;
};

// One bit per byte of a 64-byte block that equals `number`, lowest byte first.
ZORVI_INLINE std::uint64_t MatchBlock(const std::uint8_t* block, std::uint8_t number) {
#if defined(__SSE2__)
    const __m128i wanted = _mm_set1_epi8(static_cast<char>(number));
    std::uint64_t bits = 0;
    for (int i = 0; i < 4; ++i) {
        const __m128i bytes = _mm_loadu_si128(reinterpret_cast<const __m128i*>(block + 16 * i));
        const auto found = static_cast<unsigned>(_mm_movemask_epi8(_mm_cmpeq_epi8(bytes, wanted)));
        bits |= std::uint64_t(found & 0xFFFFu) << (16 * i);
    }
    return bits;
#else
    std::uint64_t bits = 0;
    for (int i = 0; i < 64; ++i)
        bits |= std::uint64_t(block[i] == number) << i;
    return bits;
#endif
}

// Calls `onFirst(coupon, position)` for every coupon that holds `number`, at the first square
// that holds it, coupons in rising order; false when `stopped` said so. The series is compared
// 64 bytes at a time; only the squares that hold the number cost more.
template <typename OnFirst>
bool ForEachFirstSquare(const std::uint8_t* bytes, std::size_t coupons, std::uint32_t size,
                        std::uint8_t number, const WinningMarks::Stopped& stopped,
                        OnFirst&& onFirst) {
    constexpr std::size_t kBlock = 64;
    const std::size_t total = coupons * size;
    // position / size as a multiplication; exact below 2^25 bytes for these sizes, and put
    // right by one step beyond.
    const std::uint64_t reciprocal = ((std::uint64_t(1) << 32) + size - 1) / size;
    std::size_t lastCoupon = SIZE_MAX;
    const auto square = [&](std::size_t at) ZORVI_LAMBDA_INLINE {
        std::size_t c = static_cast<std::size_t>((std::uint64_t(at) * reciprocal) >> 32);
        while (c * size > at)
            --c;
        while ((c + 1) * size <= at)
            ++c;
        if (c == lastCoupon)
            return; // not the coupon's first square that holds the number
        lastCoupon = c;
        onFirst(c, static_cast<std::uint32_t>(at - c * size));
    };
    // A quarter megabyte between questions: a superseded pass ends within a fraction of a ms.
    constexpr std::size_t kBlocksBetweenChecks = 4096;
    std::size_t base = 0;
    for (std::size_t block = 0; base + kBlock <= total; ++block, base += kBlock) {
        if (block % kBlocksBetweenChecks == 0 && stopped && stopped())
            return false;
        std::uint64_t found = MatchBlock(bytes + base, number);
        while (found != 0) {
            square(base + std::size_t(std::countr_zero(found)));
            found &= found - 1;
        }
    }
    for (; base < total; ++base)
        if (bytes[base] == number)
            square(base);
    return true;
}

void Keep(WinningNow& answer, long long couponNumber) {
    ++answer.count;
    if (answer.first.size() < WinningNow::kFirstKept)
        answer.first.push_back(static_cast<int>(couponNumber));
}

} // namespace

std::size_t WinningMarks::MemoryBytes() const {
    return masks_.capacity() * sizeof(std::uint32_t);
}

void WinningMarks::Clear() {
    std::vector<std::uint32_t>().swap(masks_);
    series_.reset();
    couponSize_ = 0;
    marked_.reset();
    valid_ = false;
}

bool WinningMarks::SameSeries(const WinningQuery& query) const {
    return valid_ && query.couponSize == couponSize_ && series_.lock() == query.series;
}

void WinningMarks::StartOver(const WinningQuery& query) {
    Clear();
    series_ = query.series;
    couponSize_ = query.couponSize;
    masks_.assign(query.series->size() / query.couponSize, 0);
    // Empty masks hold no number: exactly the marks of a game with nothing drawn.
    valid_ = true;
}

bool WinningMarks::Rebuild(const std::uint8_t* bytes, const std::bitset<256>& drawn,
                           const Stopped& stopped) {
    valid_ = false;
    if (drawn.none()) {
        std::fill(masks_.begin(), masks_.end(), 0u);
        marked_.reset();
        valid_ = true;
        return true;
    }
    // A number marks only its first square on a coupon: `seenIn` tells, per byte value, the
    // last coupon (plus one) that showed it.
    std::array<std::uint32_t, 256> seenIn{};
    std::array<std::uint32_t, 256> bit{};
    for (std::size_t v = 0; v < 256; ++v)
        bit[v] = drawn.test(v) ? 1u : 0u;
    const std::size_t size = couponSize_;
    for (std::size_t c = 0; c < masks_.size(); ++c) {
        if (c % kCouponsBetweenStopChecks == 0 && stopped && stopped())
            return false;
        const std::uint8_t* coupon = bytes + c * size;
        const auto stamp = static_cast<std::uint32_t>(c + 1);
        std::uint32_t mask = 0;
        for (std::size_t p = 0; p < size; ++p) {
            const std::uint8_t v = coupon[p];
            if (seenIn[v] != stamp) {
                seenIn[v] = stamp;
                mask |= bit[v] << p;
            }
        }
        masks_[c] = mask;
    }
    marked_ = drawn;
    valid_ = true;
    return true;
}

bool WinningMarks::RunPass(const WinningQuery& query, int number, Pass pass, const Stopped& stopped,
                           WinningNow& answer) {
    const std::uint8_t* bytes = query.series->data();
    const std::uint32_t size = couponSize_;
    const auto value = static_cast<std::uint8_t>(number);
    const bool changes = pass != Pass::Judge;
    if (changes)
        valid_ = false;
    bool done = false;
    if (pass == Pass::Mark || pass == Pass::Unmark) {
        const bool mark = pass == Pass::Mark;
        done = ForEachFirstSquare(bytes, masks_.size(), size, value, stopped,
                                  [&](std::size_t c, std::uint32_t p) ZORVI_LAMBDA_INLINE {
                                      if (mark)
                                          masks_[c] |= 1u << p;
                                      else
                                          masks_[c] &= ~(1u << p);
                                  });
    } else {
        const bool mark = pass == Pass::MarkAndJudge;
        const Judge judge(query);
        InPlay inPlay(query.inPlay);
        done = ForEachFirstSquare(bytes, masks_.size(), size, value, stopped,
                                  [&](std::size_t c, std::uint32_t p) ZORVI_LAMBDA_INLINE {
                                      if (mark)
                                          masks_[c] |= 1u << p;
                                      const auto couponNumber = static_cast<long long>(c) + 1;
                                      if (!inPlay.Contains(couponNumber))
                                          return;
                                      if (judge.Wins(masks_[c], bytes + c * size, p, number))
                                          Keep(answer, couponNumber);
                                  });
    }
    if (!done)
        return false;
    if (pass == Pass::Mark || pass == Pass::MarkAndJudge)
        marked_.set(value);
    else if (pass == Pass::Unmark)
        marked_.reset(value);
    if (changes)
        valid_ = true;
    return true;
}

std::optional<WinningNow> WinningMarks::AnswerByCheck(const WinningQuery& query,
                                                      const Stopped& stopped) {
    WinningNow answer;
    // A pattern is drawn over a coupon of the game; a coupon this large holds none.
    if (!query.patternMasks.empty())
        return answer;
    const std::size_t coupons = query.series->size() / query.couponSize;
    InPlay inPlay(query.inPlay);
    for (std::size_t c = 0; c < coupons; ++c) {
        if (c % kCouponsBetweenStopChecks == 0 && stopped && stopped())
            return std::nullopt;
        const auto couponNumber = static_cast<long long>(c) + 1;
        if (!inPlay.Contains(couponNumber))
            continue;
        const BingoCoupon coupon(query.series->data() + c * query.couponSize, query.couponSize);
        if (coupon.HasBingo(query.rowsNeeded, query.drawn, query.freeMiddle))
            Keep(answer, couponNumber);
    }
    return answer;
}

std::optional<WinningNow> WinningMarks::Answer(const WinningQuery& query, const Stopped& stopped) {
    if (!query.series || query.couponSize == 0 || query.series->size() < query.couponSize)
        return WinningNow{};
    if (query.couponSize > kMaskBits)
        return AnswerByCheck(query, stopped);

    const std::bitset<256> drawn = DrawnBytes(query.drawn);
    if (!SameSeries(query))
        StartOver(query);
    const std::bitset<256> added = drawn & ~marked_;
    const std::bitset<256> removed = marked_ & ~drawn;
    // A last number that no square can hold wins nothing (nothing drawn, or out of range).
    const bool lastCounts =
        !query.drawn.empty() && query.drawn.back() >= 0 && query.drawn.back() <= 255;
    const int last = lastCounts ? query.drawn.back() : -1;

    WinningNow answer;
    if (!valid_ || added.count() + removed.count() > kMostPassesPerAnswer) {
        if (!Rebuild(query.series->data(), drawn, stopped))
            return std::nullopt;
        if (lastCounts && !RunPass(query, last, Pass::Judge, stopped, answer))
            return std::nullopt;
        return answer;
    }
    for (std::size_t v = 0; v < 256; ++v) {
        if (removed.test(v) && !RunPass(query, int(v), Pass::Unmark, stopped, answer))
            return std::nullopt;
        if (added.test(v) && int(v) != last && !RunPass(query, int(v), Pass::Mark, stopped, answer))
            return std::nullopt;
    }
    if (lastCounts) {
        const Pass pass = added.test(std::size_t(last)) ? Pass::MarkAndJudge : Pass::Judge;
        if (!RunPass(query, last, pass, stopped, answer))
            return std::nullopt;
    }
    return answer;
}

} // namespace zorvi
