#pragma once

#include <cstdint>
#include <memory>
#include <string>
#include <utility>
#include <vector>

namespace zorvi {

// The coupons a player's phone may ask the hall server for: the series read and the coupons
// sold tonight. Read-only once made; the server's thread keeps a shared snapshot.
struct CouponSeries {
    std::shared_ptr<const std::vector<std::uint8_t>> bytes; // complete coupons, one after another
    std::uint32_t couponSize = 0;
    int numberCount = 0;
    bool allInPlay = true;
    std::vector<std::pair<int, int>> inPlay; // inclusive, sorted, merged; used unless allInPlay
};

// The snapshot of a series and the "coupons in play" ranges (empty: the whole series). Ranges
// that hold no coupon are dropped, yet a list of only such ranges still means none in play.
CouponSeries MakeCouponSeries(std::shared_ptr<const std::vector<std::uint8_t>> bytes,
                              std::uint32_t couponSize, int numberCount,
                              std::vector<std::pair<int, int>> inPlay);

struct CouponAnswer {
    int status = 503;
    std::string body; // JSON
};

// The answer to a look-up of `coupon` (1 to 999999; 0 for a malformed number): its numbers in
// the series' order, or why not. `series` may be null (no series read).
CouponAnswer LookUpCoupon(const CouponSeries* series, int coupon);

// The answer to a look-up refused by the bounds.
CouponAnswer TooManyLookups();

} // namespace zorvi
