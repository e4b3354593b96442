#include "CouponLookup.h"

#include <algorithm>

#include "GameRules.h"

namespace zorvi {

namespace {

CouponAnswer Error(int status, const char* error) {
    return CouponAnswer{status, std::string("{\"error\":\"") + error + "\"}"};
}

bool InPlay(const CouponSeries& series, int coupon) {
    if (series.allInPlay)
        return true;
    // The last range starting at or before the coupon is the only one that can hold it.
    const auto after = std::upper_bound(
        series.inPlay.begin(), series.inPlay.end(), coupon,
        [](int value, const std::pair<int, int>& range) { return value < range.first; });
    return after != series.inPlay.begin() && coupon <= std::prev(after)->second;
}

} // namespace

CouponSeries MakeCouponSeries(std::shared_ptr<const std::vector<std::uint8_t>> bytes,
                              std::uint32_t couponSize, int numberCount,
                              std::vector<std::pair<int, int>> inPlay) {
    CouponSeries series;
    series.bytes = std::move(bytes);
    series.couponSize = couponSize;
    series.numberCount = numberCount;
    series.allInPlay = inPlay.empty();
    inPlay.erase(std::remove_if(inPlay.begin(), inPlay.end(),
                                [](const std::pair<int, int>& range) {
                                    return range.second < 1 || range.first > range.second;
                                }),
                 inPlay.end());
    std::sort(inPlay.begin(), inPlay.end());
    for (const auto& range : inPlay) {
        if (!series.inPlay.empty() && range.first <= series.inPlay.back().second)
            series.inPlay.back().second = std::max(series.inPlay.back().second, range.second);
        else
            series.inPlay.push_back(range);
    }
    return series;
}

CouponAnswer LookUpCoupon(const CouponSeries* series, int coupon) {
    if (coupon < 1)
        return Error(400, "malformed");
    // A series whose coupons are not of the game's size is no series to show anyone.
    if (!series || !series->bytes || series->couponSize == 0 ||
        series->couponSize != std::uint32_t(GameRules::CouponSize(series->numberCount)) ||
        series->bytes->size() < series->couponSize)
        return Error(503, "no-series");
    const std::size_t count = series->bytes->size() / series->couponSize;
    if (std::size_t(coupon) > count)
        return Error(404, "not-in-series");
    if (!InPlay(*series, coupon))
        return Error(404, "not-in-play");
    const std::uint8_t* numbers =
        series->bytes->data() + std::size_t(coupon - 1) * series->couponSize;
    std::string body = "{\"coupon\":" + std::to_string(coupon) +
                       ",\"numberCount\":" + std::to_string(series->numberCount) + ",\"numbers\":[";
    for (std::uint32_t i = 0; i < series->couponSize; ++i) {
        if (i > 0)
            body += ',';
        body += std::to_string(numbers[i]);
    }
    body += "]}";
    return CouponAnswer{200, std::move(body)};
}

CouponAnswer TooManyLookups() {
    return Error(429, "too-many");
}

} // namespace zorvi
