// Coupon-series bytes from outside: reading, checking, laying out and marking any coupon
// must stay inside the series.
#include <cstddef>
#include <cstdint>
#include <vector>

#include "BingoHelpers.h"
#include "LogLines.h"
#include "ProgramState.h"

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    if (size < 4)
        return 0;
    const bool ninety = data[0] & 1;
    const int rows = 1 + data[1] % 5;
    const std::size_t drawnCount = data[2] % 91;
    std::vector<int> drawn;
    for (std::size_t i = 0; i < drawnCount && 3 + i < size; ++i)
        drawn.push_back(data[3 + i]);
    zorvi::BingoHelpers coupons;
    coupons.SetSeriesBytes(std::vector<std::uint8_t>(data + 3, data + size), ninety ? 15 : 25);
    const long long count = coupons.CouponCount();
    for (long long k : {-1LL, 0LL, 1LL, count / 2, count, count + 1, 999999LL}) {
        (void)coupons.CheckCouponNumber(rows, drawn, k);
        const auto coupon = coupons.GetCoupon(k);
        auto numbers = coupon.Numbers();
        auto layout = ninety ? zorvi::BingoHelpers::LayoutNinetyTicket(numbers) : numbers;
        auto marks = zorvi::BingoHelpers::MarkDrawnNumbers(layout, drawn, data[1] & 1);
        if (marks.size() != layout.size())
            __builtin_trap();
        (void)zorvi::BingoHelpers::JoinComma(marks);
    }
    std::vector<zorvi::Winner> winners;
    for (std::size_t i = 0; i + 2 < size && i < 30; i += 3)
        winners.push_back({data[i], data[i + 1], data[i + 2]});
    (void)zorvi::BingoHelpers::FormatWinners(winners, data[3] % 5 - 1);
    (void)zorvi::LogLines::NumberList(drawn);
    return 0;
}
