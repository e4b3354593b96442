// The inspector on small files with one fault planted each.
#include <gtest/gtest.h>

#include <functional>
#include <set>

#include "CouponGenerator.h"
#include "CouponInspector.h"

namespace zorvi {
namespace {

using Bytes = std::vector<std::uint8_t>;

// A valid 90-number ticket, row by row:
//   1 10 20 30 40 / 41 50 60 70 80 / 2 21 51 71 81
const Bytes kTicket = {1, 10, 20, 30, 40, 41, 50, 60, 70, 80, 2, 21, 51, 71, 81};

Bytes Card() {
    return CouponGenerator::Generate({75, 1, 11, false});
}
Bytes Strip(std::uint64_t seed) {
    return CouponGenerator::Generate({90, 6, seed, false});
}
Bytes Twice(const Bytes& b) {
    Bytes out = b;
    out.insert(out.end(), b.begin(), b.end());
    return out;
}

struct PlantedCase {
    const char* name;
    int numbers;
    std::function<Bytes()> make;
    std::multiset<FaultKind> expected;
};

std::ostream& operator<<(std::ostream& os, const PlantedCase& c) {
    return os << c.name;
}

// `b` with the byte at `position` set to `value`.
Bytes With(Bytes b, std::size_t position, int value) {
    b[position] = static_cast<std::uint8_t>(value);
    return b;
}
Bytes Swapped(Bytes b, std::size_t i, std::size_t j) {
    std::swap(b[i], b[j]);
    return b;
}
Bytes Resized(Bytes b, std::size_t size) {
    b.resize(size, 5);
    return b;
}

using K = FaultKind;
const PlantedCase kCases[] = {
    {"CleanCard", 75, [] { return Card(); }, {}},
    {"FreeMiddleIsNoFault", 75, [] { return With(Card(), 12, 0); }, {}},
    {"EmptyFile", 75, [] { return Bytes{}; }, {K::NoCoupons}},
    {"ShortFile", 90, [] { return Bytes(14, 1); }, {K::NoCoupons, K::TrailingBytes}},
    {"TrailingBytes", 75, [] { return Resized(Card(), 28); }, {K::TrailingBytes}},
    {"ZeroOutsideTheMiddle", 75, [] { return With(Card(), 3, 0); }, {K::OutOfRange}},
    {"Byte255", 75, [] { return With(Card(), 24, 255); }, {K::OutOfRange}},
    {"SeventySix", 75, [] { return With(Card(), 4, 76); }, {K::OutOfRange}},
    {"RepeatInColumn", 75, [] { return With(Card(), 5, Card()[0]); }, {K::Repeated}},
    {"SwappedColumns", 75, [] { return Swapped(Card(), 0, 1); }, {K::WrongColumn, K::WrongColumn}},
    {"IdenticalCards", 75, [] { return Twice(Card()); }, {K::Duplicate}},

    {"CleanTicket", 90, [] { return kTicket; }, {}},
    {"NinetyInLastColumn", 90, [] { return With(kTicket, 14, 90); }, {}},
    {"NinetyOne", 90, [] { return With(kTicket, 9, 91); }, {K::OutOfRange}},
    {"ZeroInTicket", 90, [] { return With(kTicket, 13, 0); }, {K::OutOfRange}},
    {"RowOutOfColumnOrder", 90, [] { return Swapped(kTicket, 1, 2); }, {K::RowOrder}},
    {"ColumnNotAscending", 90, [] { return Swapped(kTicket, 0, 10); }, {K::NotAscending}},
    // Row 1 without column 2 (10): 1 20 30 40 65, so column 2 holds nothing.
    {"EmptyColumn",
     90,
     [] { return Bytes{1, 20, 30, 40, 65, 41, 50, 66, 70, 80, 2, 21, 51, 71, 81}; },
     {K::ColumnCount}},
    {"RepeatInTicket", 90, [] { return With(kTicket, 11, 20); }, {K::Repeated, K::NotAscending}},
    {"CleanStrip", 90, [] { return Strip(1); }, {}},
    {"IdenticalTickets",
     90,
     [] {
         Bytes b = Strip(1);
         b.insert(b.end(), b.begin() + 15, b.begin() + 30); // ticket 2 again
         return b;
     },
     {K::Duplicate}},
};

class PlantedFault : public testing::TestWithParam<PlantedCase> {};

TEST_P(PlantedFault, IsReportedAndNothingElse) {
    const PlantedCase& c = GetParam();
    const InspectReport report = CouponInspector::Inspect(c.make(), c.numbers);
    std::multiset<FaultKind> found;
    for (const CouponFault& fault : report.faults)
        found.insert(fault.kind);
    EXPECT_EQ(found, c.expected) << CouponInspector::Format(report);
    EXPECT_EQ(report.Clean(), c.expected.empty());
}

INSTANTIATE_TEST_SUITE_P(Inspector, PlantedFault, testing::ValuesIn(kCases),
                         [](const testing::TestParamInfo<PlantedCase>& info) {
                             return std::string(info.param.name);
                         });

TEST(Inspector, NamesTheCouponsAndTheValues) {
    Bytes b = Twice(Card());
    b[25 + 12] = 0;      // coupon 2: a free middle, and now unlike coupon 1
    b = Twice(b);        // coupons 3 and 4 repeat 1 and 2
    b[3 * 25 + 7] = 200; // coupon 4, position 8
    const InspectReport report = CouponInspector::Inspect(b, 75);
    EXPECT_EQ(report.couponCount, 4u);
    EXPECT_EQ(report.freeMiddles, 2u);
    ASSERT_EQ(report.Count(FaultKind::Duplicate), 1u);
    ASSERT_EQ(report.Count(FaultKind::OutOfRange), 1u);
    const std::string text = CouponInspector::Format(report);
    EXPECT_NE(text.find("coupon 3 is identical to coupon 1"), std::string::npos) << text;
    EXPECT_NE(text.find("coupon 4, position 8: 200 is outside 1-75"), std::string::npos) << text;
    EXPECT_NE(text.find("Free middles: 2"), std::string::npos);
}

TEST(Inspector, StripWithAForeignTicketMissesAndRepeatsNumbers) {
    Bytes b = Strip(1);
    const Bytes other = Strip(2);
    std::copy(other.begin() + 75, other.end(), b.begin() + 75); // ticket 6 of another strip
    const InspectReport report = CouponInspector::Inspect(b, 90);
    ASSERT_GT(report.Count(FaultKind::StripNumbers), 0u);
    EXPECT_EQ(report.TotalFaults(), report.Count(FaultKind::StripNumbers));
    int missing = 0;
    int twice = 0;
    for (const CouponFault& f : report.faults) {
        EXPECT_EQ(f.coupon, 1u);
        missing += f.other == 0;
        twice += f.other == 2;
    }
    EXPECT_EQ(missing, twice); // each number moved in stands for one moved out
    EXPECT_NE(CouponInspector::Format(report).find("strip of coupons 1-6"), std::string::npos);
}

TEST(Inspector, CountsEveryFaultButListsUpToTheLimit) {
    const Bytes junk(25 * 40, 0); // 40 cards of zeros: 24 out of range each, 39 duplicates
    const InspectReport report = CouponInspector::Inspect(junk, 75, 3);
    EXPECT_EQ(report.Count(FaultKind::OutOfRange), 40u * 24);
    EXPECT_EQ(report.Count(FaultKind::Duplicate), 39u);
    EXPECT_EQ(report.faults.size(), 6u);
    EXPECT_NE(CouponInspector::Format(report).find("(957 not listed)"), std::string::npos);
}

} // namespace
} // namespace zorvi
