// The program reads the generated series from its program folder and finds winners on them.
#include <gtest/gtest.h>

#include <string>

#include "BingoHelpers.h"
#include "CouponGenerator.h"
#include "SeriesFile.h"
#include "Settings.h"
#include "TestFolders.h"

namespace zorvi {
namespace {

struct SampleCase {
    int numbers;
    int couponSeries;
    std::size_t sample; // index in SampleSeriesList
};

class EngineReadsSample : public testing::TestWithParam<SampleCase> {};

TEST_P(EngineReadsSample, FindsTheWinnerOfTheFirstRow) {
    const SampleCase c = GetParam();
    test::TestFolders folders;
    const SampleSeries& sample = SampleSeriesList()[c.sample];
    const auto bytes =
        CouponGenerator::Generate({sample.numbers, 600, sample.seed, sample.freeMiddle});
    ASSERT_TRUE(SeriesFile::Write((folders.programFolder() / sample.fileName).string(), bytes));

    Settings settings{Settings::NoLoad{}};
    settings.max_called_numbers = c.numbers;
    settings.coupon_series = c.couponSeries;
    BingoHelpers helpers;
    helpers.AttachSettings(settings);
    ASSERT_EQ(helpers.ReadCouponSeries(c.numbers, c.couponSeries), 0);
    ASSERT_EQ(helpers.CouponCount(), 600u);

    const long long k = 437;
    const std::uint32_t n = helpers.CouponSize();
    const std::uint8_t* coupon = bytes.data() + (k - 1) * n;
    std::vector<int> drawn;
    // Numbers that are not on the coupon first, then its first row, in reverse.
    for (int v = 1; v <= c.numbers && drawn.size() < 10; ++v)
        if (std::find(coupon, coupon + n, v) == coupon + n)
            drawn.push_back(v);
    for (int p = 4; p >= 0; --p)
        drawn.push_back(coupon[p]);
    EXPECT_EQ(helpers.CheckCouponNumber(1, drawn, k), 1);
    EXPECT_EQ(helpers.CheckCouponNumber(2, drawn, k), 0);

    // The row is complete but the last number is elsewhere: no win.
    drawn.push_back(drawn.front());
    drawn.erase(drawn.begin());
    EXPECT_EQ(helpers.CheckCouponNumber(1, drawn, k), 0);
}

INSTANTIATE_TEST_SUITE_P(Samples, EngineReadsSample,
                         testing::Values(SampleCase{75, 0, 0}, SampleCase{75, 1, 1},
                                         SampleCase{75, 2, 2}, SampleCase{90, 0, 3}));

TEST(EngineReadsSample, FreeMiddleCardWinsTheFullCardWithoutItsMiddle) {
    test::TestFolders folders;
    const auto bytes = CouponGenerator::Generate({75, 50, 7502, true});
    ASSERT_TRUE(SeriesFile::Write((folders.programFolder() / "VORPA.hex").string(), bytes));
    Settings settings{Settings::NoLoad{}};
    settings.coupon_series = 1;
    settings.free_middle = 1;
    BingoHelpers helpers;
    helpers.AttachSettings(settings);
    ASSERT_EQ(helpers.ReadCouponSeries(75, 1), 0);

    const long long k = 50;
    const std::uint8_t* card = bytes.data() + (k - 1) * 25;
    ASSERT_EQ(card[12], 0);
    std::vector<int> drawn;
    for (int p = 24; p >= 0; --p)
        if (p != 12)
            drawn.push_back(card[p]);
    EXPECT_EQ(helpers.CheckCouponNumber(5, drawn, k), 1);
    settings.free_middle = 0;
    EXPECT_EQ(helpers.CheckCouponNumber(5, drawn, k), 0);
}

} // namespace
} // namespace zorvi
