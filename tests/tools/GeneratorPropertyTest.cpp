// Every generated series obeys every rule of a printed series; the inspector is the oracle.
#include <gtest/gtest.h>

#include <bitset>
#include <set>

#include "CouponGenerator.h"
#include "CouponIndex.h"
#include "CouponInspector.h"
#include "CouponRandom.h"

namespace zorvi {
namespace {

struct SeriesCase {
    int numbers;
    bool freeMiddle;
    std::uint64_t count;
};

class GeneratedSeries : public testing::TestWithParam<SeriesCase> {};

TEST_P(GeneratedSeries, IsCleanForManySeeds) {
    const SeriesCase c = GetParam();
    for (std::uint64_t seed = 0; seed < 150; ++seed) {
        const auto bytes = CouponGenerator::Generate({c.numbers, c.count, seed, c.freeMiddle});
        const InspectReport report = CouponInspector::Inspect(bytes, c.numbers, 5);
        ASSERT_TRUE(report.Clean()) << "seed " << seed << "\n" << CouponInspector::Format(report);
        ASSERT_EQ(report.couponCount, c.count);
        ASSERT_EQ(report.trailingBytes, 0u);
        ASSERT_EQ(report.freeMiddles, c.freeMiddle ? c.count : 0u);
    }
}

// 90-number counts that are whole strips get the strip check; a cut-short last strip is
// checked through its whole strips.
INSTANTIATE_TEST_SUITE_P(Series, GeneratedSeries,
                         testing::Values(SeriesCase{75, false, 120}, SeriesCase{75, true, 120},
                                         SeriesCase{90, false, 66}, SeriesCase{90, false, 61},
                                         SeriesCase{90, false, 1}, SeriesCase{75, false, 1}));

TEST(GeneratedStrips, EveryStripOfManySeedsIsClean) {
    CouponRandom random(20240601);
    std::uint8_t strip[90];
    for (int i = 0; i < 20000; ++i) {
        CouponGenerator::MakeStrip(random, strip);
        const InspectReport report = CouponInspector::Inspect(strip, sizeof strip, 90, 5);
        ASSERT_TRUE(report.Clean()) << "strip " << i << "\n" << CouponInspector::Format(report);
    }
}

TEST(GeneratedStrips, ReachVariedLayouts) {
    // A generator stuck in a few shapes would still pass the rules: the first ticket must, over
    // many strips, hold every number, and its first row must start in several columns and
    // see columns of one, two and three numbers.
    CouponRandom random(99);
    std::uint8_t strip[90];
    std::bitset<91> seen;
    std::set<int> firstRowStarts;
    std::set<int> columnSizes;
    for (int i = 0; i < 400; ++i) {
        CouponGenerator::MakeStrip(random, strip);
        int perColumn[9] = {};
        for (int p = 0; p < 15; ++p) {
            seen.set(strip[p]);
            ++perColumn[strip[p] == 90 ? 8 : strip[p] / 10];
        }
        firstRowStarts.insert(strip[0] == 90 ? 8 : strip[0] / 10);
        columnSizes.insert(perColumn, perColumn + 9);
    }
    EXPECT_FALSE(seen.test(0));
    EXPECT_EQ(seen.count(), 90u);
    EXPECT_GE(firstRowStarts.size(), 3u);
    EXPECT_EQ(columnSizes, (std::set<int>{1, 2, 3}));
}

TEST(GeneratedCards, ColumnsCoverTheirRangeInRandomOrder) {
    const auto bytes = CouponGenerator::Generate({75, 500, 3, false});
    std::bitset<76> seen;
    int risingB = 0; // cards whose B column rises top to bottom
    for (std::size_t k = 0; k < 500; ++k) {
        const std::uint8_t* card = bytes.data() + k * 25;
        for (int p = 0; p < 25; ++p)
            seen.set(card[p]);
        bool rising = true;
        for (int r = 1; r < 5; ++r)
            rising = rising && card[r * 5] > card[(r - 1) * 5];
        risingB += rising;
    }
    EXPECT_EQ(seen.count(), 75u);
    EXPECT_LT(risingB, 50); // 1 in 120 by chance
}

TEST(Generator, SameSeedSameBytesOtherSeedOtherBytes) {
    for (const int numbers : {75, 90}) {
        const auto a = CouponGenerator::Generate({numbers, 200, 42, false});
        EXPECT_EQ(a, CouponGenerator::Generate({numbers, 200, 42, false}));
        EXPECT_NE(a, CouponGenerator::Generate({numbers, 200, 43, false}));
    }
    // A longer series begins with the shorter one of the same seed.
    const auto shortSeries = CouponGenerator::Generate({90, 12, 5, false});
    const auto longSeries = CouponGenerator::Generate({90, 30, 5, false});
    EXPECT_TRUE(std::equal(shortSeries.begin(), shortSeries.end(), longSeries.begin()));
}

TEST(Generator, RejectsOptionsItCannotMake) {
    const GenerateOptions bad[] = {{80, 10, 1, false},
                                   {90, 10, 1, true},
                                   {75, 0, 1, false},
                                   {75, CouponGenerator::kMaxCount + 1, 1, false}};
    for (const GenerateOptions& options : bad) {
        EXPECT_FALSE(CouponGenerator::Validate(options).empty());
        EXPECT_TRUE(CouponGenerator::Generate(options).empty());
    }
}

TEST(CouponIndex, FindsEqualCouponsAcrossGrowth) {
    // Started small so the table grows several times; every third coupon repeats an earlier one.
    const std::uint32_t size = 15;
    std::vector<std::uint8_t> bytes;
    CouponRandom random(1);
    for (int k = 0; k < 3000; ++k) {
        if (k % 3 == 2) {
            const std::size_t from = static_cast<std::size_t>(k - 2) * size;
            bytes.insert(bytes.end(), bytes.begin() + static_cast<std::ptrdiff_t>(from),
                         bytes.begin() + static_cast<std::ptrdiff_t>(from + size));
        } else {
            for (std::uint32_t p = 0; p < size; ++p)
                bytes.push_back(static_cast<std::uint8_t>(random.Below(256)));
        }
    }
    CouponIndex index(size, 0);
    for (std::uint32_t k = 0; k < 3000; ++k) {
        const std::int64_t earlier = index.FindOrAdd(bytes.data(), k);
        ASSERT_EQ(earlier, k % 3 == 2 ? static_cast<std::int64_t>(k - 2) : CouponIndex::kNone) << k;
    }
    EXPECT_EQ(index.size(), 2000u);
}

} // namespace
} // namespace zorvi
