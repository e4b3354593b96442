// Coupon files from elsewhere: whatever bytes they hold, reading them and checking, laying out
// and marking any coupon number stays inside the series and never crashes.
#include <gtest/gtest.h>

#include <random>
#include <string>
#include <vector>

#include "BingoHelpers.h"
#include "RecordingMessages.h"
#include "Settings.h"
#include "TestFolders.h"

namespace zorvi {
namespace {

struct HostileCase {
    const char* name;
    int n;
    std::size_t size;
    int fill; // byte value, or -1 for random bytes
};

class HostileCouponFileTest : public ::testing::TestWithParam<HostileCase> {};

TEST_P(HostileCouponFileTest, ReadAndCheckStayInsideTheSeries) {
    const HostileCase c = GetParam();
    test::TestFolders folders;
    std::string bytes(c.size, static_cast<char>(c.fill));
    if (c.fill < 0) {
        std::mt19937 random(17);
        for (char& b : bytes)
            b = static_cast<char>(random() & 0xFF);
    }
    test::TestFolders::WriteFile(folders.programFolder() / (c.n == 75 ? "kup75.hex" : "90.hex"),
                                 bytes);
    Settings settings{Settings::NoLoad{}};
    settings.free_middle = 1;
    test::RecordingMessages messages;
    BingoHelpers coupons;
    coupons.AttachSettings(settings);
    coupons.AttachMessages(&messages);
    ASSERT_EQ(coupons.ReadCouponSeries(c.n, 0), 0);
    const std::uint32_t size = c.n == 75 ? 25 : 15;
    EXPECT_EQ(coupons.CouponCount(), std::min<std::size_t>(c.size / size, 999999));

    // Every number a game can draw, plus what only a broken file holds.
    std::vector<int> drawn;
    for (int v = 0; v <= 255; ++v)
        drawn.push_back(v);
    const long long count = coupons.CouponCount();
    for (long long k : {0LL, 1LL, count, count + 1, 999999LL}) {
        const int result = coupons.CheckCouponNumber(c.n == 75 ? 5 : 3, drawn, k);
        if (k >= 1 && k <= count)
            EXPECT_TRUE(result == 0 || result == 1) << k;
        else
            EXPECT_EQ(result, -1) << k;
        const std::vector<int> numbers = coupons.GetCoupon(k).Numbers();
        ASSERT_EQ(numbers.size(), size) << k;
        const std::vector<int> layout =
            c.n == 90 ? BingoHelpers::LayoutNinetyTicket(numbers) : numbers;
        ASSERT_EQ(layout.size(), c.n == 90 ? 27u : 25u);
        const std::vector<int> marks = BingoHelpers::MarkDrawnNumbers(layout, drawn, 1);
        ASSERT_EQ(marks.size(), layout.size());
    }
    EXPECT_TRUE(messages.shown.empty());
}

INSTANTIATE_TEST_SUITE_P(Files, HostileCouponFileTest,
                         ::testing::Values(HostileCase{"Empty75", 75, 0, 0},
                                           HostileCase{"Short75", 75, 24, 7},
                                           HostileCase{"Zeros75", 75, 25 * 400, 0},
                                           HostileCase{"AllFF75", 75, 25 * 400 + 3, 0xFF},
                                           HostileCase{"Zeros90", 90, 15 * 400, 0},
                                           HostileCase{"AllFF90", 90, 15 * 400 + 14, 0xFF},
                                           HostileCase{"Random25MB", 75, 25 * 1000 * 1000, -1}),
                         [](const ::testing::TestParamInfo<HostileCase>& info) {
                             return info.param.name;
                         });

} // namespace
} // namespace zorvi
