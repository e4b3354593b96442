#include <gtest/gtest.h>

#include <filesystem>
#include <string>
#include <vector>

#include "BingoHelpers.h"
#include "Folders.h"
#include "RecordingMessages.h"
#include "Settings.h"
#include "TestFolders.h"

namespace zorvi {
namespace {

std::string Bytes(std::size_t count, int start = 0) {
    std::string bytes(count, '\0');
    for (std::size_t i = 0; i < count; ++i)
        bytes[i] = static_cast<char>((start + static_cast<int>(i)) % 256);
    return bytes;
}

std::vector<int> Values(const std::string& bytes, std::size_t from, std::size_t count) {
    std::vector<int> values;
    for (std::size_t i = from; i < from + count; ++i)
        values.push_back(static_cast<unsigned char>(bytes[i]));
    return values;
}

class CouponSeriesTest : public ::testing::Test {
protected:
    CouponSeriesTest() {
        coupons.AttachSettings(settings);
        coupons.AttachMessages(&messages);
    }

    void Write(const std::string& name, const std::string& bytes) {
        test::TestFolders::WriteFile(folders.programFolder() / name, bytes);
    }

    test::TestFolders folders;
    Settings settings{Settings::NoLoad{}};
    test::RecordingMessages messages;
    BingoHelpers coupons;
};

TEST(SeriesFileName, ChosenByNumberCountAndSeries) {
    EXPECT_EQ(BingoHelpers::SeriesFileName(75, 0), "kup75.hex");
    EXPECT_EQ(BingoHelpers::SeriesFileName(75, 1), "VORPA.hex");
    EXPECT_EQ(BingoHelpers::SeriesFileName(75, 2), "KASTIRO.hex");
    EXPECT_EQ(BingoHelpers::SeriesFileName(75, 3), std::nullopt);
    EXPECT_EQ(BingoHelpers::SeriesFileName(75, -1), std::nullopt);
    for (const int series : {0, 1, 2, 3, -1, 99})
        EXPECT_EQ(BingoHelpers::SeriesFileName(90, series), "90.hex");
}

TEST_F(CouponSeriesTest, IncompleteLastCouponIsDropped) {
    const std::string bytes = Bytes(60, 1);
    Write("kup75.hex", bytes);
    ASSERT_EQ(coupons.ReadCouponSeries(75, 0), 0);
    ASSERT_EQ(coupons.CouponCount(), 2u);
    EXPECT_EQ(coupons.GetCoupon(1).Numbers(), Values(bytes, 0, 25));
    EXPECT_EQ(coupons.GetCoupon(2).Numbers(), Values(bytes, 25, 25));
    EXPECT_EQ(coupons.GetCoupon(3).Numbers(), std::vector<int>(25, 0));
    EXPECT_TRUE(messages.shown.empty());
}

TEST_F(CouponSeriesTest, BytesAreUnsigned) {
    Write("VORPA.hex", std::string(25, '\xFF'));
    ASSERT_EQ(coupons.ReadCouponSeries(75, 1), 0);
    EXPECT_EQ(coupons.GetCoupon(1).Numbers(), std::vector<int>(25, 255));
}

struct SizeCase {
    int n;
    std::size_t fileSize;
    std::uint32_t coupons;
};

class CouponFileSizeTest : public CouponSeriesTest,
                           public ::testing::WithParamInterface<SizeCase> {};

TEST_P(CouponFileSizeTest, ReadsEveryCompleteCoupon) {
    const SizeCase c = GetParam();
    const std::string bytes = Bytes(c.fileSize, 3);
    Write(c.n == 75 ? "KASTIRO.hex" : "90.hex", bytes);
    ASSERT_EQ(coupons.ReadCouponSeries(c.n, 2), 0);
    const std::uint32_t size = c.n == 75 ? 25 : 15;
    ASSERT_EQ(coupons.CouponCount(), c.coupons);
    ASSERT_EQ(coupons.CouponSize(), size);
    if (c.coupons > 0) {
        EXPECT_EQ(coupons.GetCoupon(c.coupons).Numbers(),
                  Values(bytes, (c.coupons - 1) * std::size_t{size}, size));
    }
    EXPECT_EQ(coupons.BlankCoupon().Numbers(), std::vector<int>(size, 0));
}

INSTANTIATE_TEST_SUITE_P(Sizes, CouponFileSizeTest,
                         ::testing::Values(SizeCase{75, 0, 0}, SizeCase{75, 24, 0},
                                           SizeCase{75, 25, 1}, SizeCase{75, 5120, 204},
                                           SizeCase{75, 5121, 204}, SizeCase{75, 5125, 205},
                                           SizeCase{90, 5120, 341}, SizeCase{90, 5121, 341},
                                           SizeCase{90, 100000, 6666}));

TEST_F(CouponSeriesTest, NinetyIgnoresTheSeries) {
    const std::string bytes = Bytes(30, 50);
    Write("90.hex", bytes);
    for (const int series : {0, 2, 3, -4}) {
        ASSERT_EQ(coupons.ReadCouponSeries(90, series), 0) << series;
        EXPECT_EQ(coupons.CouponCount(), 2u);
        EXPECT_EQ(coupons.GetCoupon(2).Numbers(), Values(bytes, 15, 15));
    }
    EXPECT_TRUE(messages.shown.empty());
}

TEST_F(CouponSeriesTest, SeriesWithoutFileShowsMessageAndLeavesABlankCoupon) {
    Write("kup75.hex", Bytes(50));
    ASSERT_EQ(coupons.ReadCouponSeries(75, 0), 0);
    EXPECT_EQ(coupons.ReadCouponSeries(75, 3), -1);
    ASSERT_EQ(messages.shown.size(), 1u);
    EXPECT_EQ(messages.shown[0].first.rfind("Failed opening coupon file: ", 0), 0u);
    EXPECT_EQ(messages.shown[0].second, "Failed");
    EXPECT_EQ(coupons.CouponCount(), 0u);
    EXPECT_EQ(coupons.GetCoupon(1).Numbers(), std::vector<int>(25, 0));
    EXPECT_EQ(coupons.CheckCouponNumber(1, {1, 2, 3}, 1), -1);
}

TEST_F(CouponSeriesTest, MissingOrUnreadableFileNamesTheFile) {
    std::filesystem::create_directory(folders.programFolder() / "VORPA.hex");
    EXPECT_EQ(coupons.ReadCouponSeries(75, 0), -1);
    EXPECT_EQ(coupons.ReadCouponSeries(75, 1), -1);
    EXPECT_EQ(coupons.ReadCouponSeries(90, 0), -1);
    using Shown = std::vector<std::pair<std::string, std::string>>;
    EXPECT_EQ(messages.shown, (Shown{{"Failed opening coupon file: kup75.hex", "Failed"},
                                     {"Failed opening coupon file: VORPA.hex", "Failed"},
                                     {"Failed opening coupon file: 90.hex", "Failed"}}));
    EXPECT_EQ(coupons.CouponCount(), 0u);
    EXPECT_EQ(coupons.BlankCoupon().size(), 15u);
}

TEST_F(CouponSeriesTest, FileIsLookedUpInTheProgramFolder) {
    Write("kup75.hex", Bytes(25));
    (void)Helpers::GetProgramFolder(); // remembered now
    std::filesystem::create_directory(folders.root() / "elsewhere");
    std::filesystem::current_path(folders.root() / "elsewhere");
    EXPECT_EQ(coupons.ReadCouponSeries(75, 0), 0);
    EXPECT_EQ(coupons.CouponCount(), 1u);
}

// A hall's own series in the (writable) data folder wins over the sample of the same name in
// the program folder; an unreadable one there is reported, never silently replaced.
TEST_F(CouponSeriesTest, HallSeriesInTheDataFolderWins) {
    Write("90.hex", Bytes(15 * 2));
    Write("kup75.hex", Bytes(25 * 2));
    test::TestFolders::WriteFile(folders.dataFolder() / "90.hex", Bytes(15 * 5, 7));
    std::filesystem::create_directories(folders.dataFolder() / "kup75.hex");

    EXPECT_EQ(coupons.ReadCouponSeries(90, 0), 0);
    EXPECT_EQ(coupons.CouponCount(), 5u);
    EXPECT_EQ(coupons.GetCoupon(1).Number(0), 7);
    EXPECT_EQ(coupons.ReadCouponSeries(75, 0), -1);
    EXPECT_EQ(messages.shown.size(), 1u);

    std::filesystem::remove_all(folders.dataFolder() / "kup75.hex");
    EXPECT_EQ(coupons.ReadCouponSeries(75, 0), 0);
    EXPECT_EQ(coupons.CouponCount(), 2u);
}

TEST_F(CouponSeriesTest, OutsideNumbersGiveTheBlankCoupon) {
    Write("kup75.hex", Bytes(75, 7));
    ASSERT_EQ(coupons.ReadCouponSeries(75, 0), 0);
    const std::vector<int> blank(25, 0);
    for (const long long k : {0LL, -1LL, 4LL, 999999LL, 1LL << 40})
        EXPECT_EQ(coupons.GetCoupon(k).Numbers(), blank) << k;
    EXPECT_EQ(coupons.GetCoupon(3).Numbers(), Values(Bytes(75, 7), 50, 25));
    EXPECT_EQ(coupons.CheckCouponNumber(1, {}, 4), -1);
    EXPECT_EQ(coupons.CheckCouponNumber(1, {}, 3), 0);
}

TEST_F(CouponSeriesTest, BlankCouponFollowsTheLastGameRead) {
    Write("kup75.hex", Bytes(50));
    Write("90.hex", Bytes(45));
    ASSERT_EQ(coupons.ReadCouponSeries(75, 0), 0);
    EXPECT_EQ(coupons.BlankCoupon().size(), 25u);
    ASSERT_EQ(coupons.ReadCouponSeries(90, 0), 0);
    EXPECT_EQ(coupons.BlankCoupon().Numbers(), std::vector<int>(15, 0));
    EXPECT_EQ(coupons.CouponCount(), 3u);
}

TEST_F(CouponSeriesTest, ReadingStopsAtTheLastCheckableCoupon) {
    // Coupon numbers go up to 999999; a longer file must not be held whole.
    std::string bytes(1000001u * 15u, '\x01');
    bytes.replace(999998u * 15u, 15, Bytes(15, 30));
    Write("90.hex", bytes);
    ASSERT_EQ(coupons.ReadCouponSeries(90, 0), 0);
    EXPECT_EQ(coupons.CouponCount(), 999999u);
    EXPECT_EQ(coupons.GetCoupon(999999).Numbers(), Values(Bytes(15, 30), 0, 15));
    EXPECT_EQ(coupons.GetCoupon(1000000).Numbers(), std::vector<int>(15, 0));
}

TEST_F(CouponSeriesTest, BeforeAnyReadThereIsNoCoupon) {
    EXPECT_EQ(coupons.CouponCount(), 0u);
    EXPECT_TRUE(coupons.GetCoupon(1).empty());
    EXPECT_FALSE(coupons.GetCoupon(1).HasBingo(1, {1}, 1));
    EXPECT_EQ(coupons.CheckCouponNumber(1, {1}, 1), -1);
}

} // namespace
} // namespace zorvi
