#include "CouponInspector.h"

#include <bitset>
#include <numeric>

#include "CouponIndex.h"
#include "CouponRules.h"

namespace zorvi {

using namespace coupon_rules;

namespace {

class Collector {
public:
    Collector(InspectReport& report, std::size_t limit) : report_(report), limit_(limit) {}

    void Add(FaultKind kind, std::uint64_t coupon, int position, int value,
             std::uint64_t other = 0) {
        std::uint64_t& count = report_.counts[static_cast<std::size_t>(kind)];
        if (count < limit_)
            report_.faults.push_back(CouponFault{kind, coupon, position, value, other});
        ++count;
    }

private:
    InspectReport& report_;
    std::size_t limit_;
};

// Range and repeats; 0 in the middle of a card is a free middle. Returns the in-range mask.
std::uint32_t CheckNumbers(const std::uint8_t* coupon, std::uint32_t size, int numbers,
                           std::uint64_t k, InspectReport& report, Collector& faults) {
    std::bitset<256> seen;
    std::uint32_t valid = 0;
    for (std::uint32_t p = 0; p < size; ++p) {
        const int v = coupon[p];
        if (numbers == GameRules::kNumbers75 && p == kMiddle && v == 0) {
            ++report.freeMiddles;
            continue;
        }
        if (v < 1 || v > numbers) {
            faults.Add(FaultKind::OutOfRange, k, static_cast<int>(p), v);
            continue;
        }
        if (seen.test(static_cast<std::size_t>(v)))
            faults.Add(FaultKind::Repeated, k, static_cast<int>(p), v);
        seen.set(static_cast<std::size_t>(v));
        valid |= 1u << p;
    }
    return valid;
}

void CheckCard(const std::uint8_t* card, std::uint32_t valid, std::uint64_t k, Collector& faults) {
    for (std::uint32_t p = 0; p < kCardSize; ++p) {
        if ((valid & (1u << p)) == 0)
            continue;
        const int v = card[p];
        if (CardColumn(v) != static_cast<int>(p % kCardSide))
            faults.Add(FaultKind::WrongColumn, k, static_cast<int>(p), v);
    }
}

void CheckTicket(const std::uint8_t* ticket, std::uint32_t valid, std::uint64_t k,
                 Collector& faults) {
    int perColumn[kTicketColumns] = {};
    int lastInColumn[kTicketColumns] = {};
    bool ascendingFault[kTicketColumns] = {};
    for (std::uint32_t r = 0; r < kTicketRows; ++r) {
        int previousColumn = -1;
        bool inOrder = true;
        for (std::uint32_t i = 0; i < kRowLength; ++i) {
            const std::uint32_t p = r * kRowLength + i;
            if ((valid & (1u << p)) == 0)
                continue; // reported as out of range; it has no column

            const int v = ticket[p];
            const int c = TicketColumn(v);
            if (c <= previousColumn)
                inOrder = false;
            previousColumn = c;
            ++perColumn[c];
            if (lastInColumn[c] != 0 && v <= lastInColumn[c] && !ascendingFault[c]) {
                faults.Add(FaultKind::NotAscending, k, c, v);
                ascendingFault[c] = true;
            }
            lastInColumn[c] = v;
        }
        if (!inOrder)
            faults.Add(FaultKind::RowOrder, k, static_cast<int>(r), 0);
    }
    for (std::uint32_t c = 0; c < kTicketColumns; ++c)
        if (perColumn[c] < 1 || perColumn[c] > static_cast<int>(kMaxPerColumn))
            faults.Add(FaultKind::ColumnCount, k, static_cast<int>(c), perColumn[c]);
}

void CheckStrip(const std::uint8_t* strip, std::uint64_t firstCoupon, Collector& faults) {
    std::uint8_t times[256] = {};
    for (std::uint32_t i = 0; i < kStripTickets * kTicketSize; ++i)
        ++times[strip[i]];
    for (int v = 1; v <= GameRules::kNumbers90; ++v)
        if (times[v] != 1)
            faults.Add(FaultKind::StripNumbers, firstCoupon, -1, v, times[v]);
}

} // namespace

std::uint64_t InspectReport::TotalFaults() const {
    return std::accumulate(counts.begin(), counts.end(), std::uint64_t{0});
}

InspectReport CouponInspector::Inspect(const std::uint8_t* bytes, std::size_t size, int numbers,
                                       std::size_t listLimit) {
    InspectReport report;
    report.numbers = numbers;
    Collector faults(report, listLimit);
    const std::uint32_t n = CouponSize(numbers);
    report.couponCount = size / n;
    report.trailingBytes = size % n;
    if (report.couponCount == 0)
        faults.Add(FaultKind::NoCoupons, 0, -1, 0);
    if (report.trailingBytes != 0)
        faults.Add(FaultKind::TrailingBytes, report.couponCount, -1, 0, report.trailingBytes);

    const bool strips = numbers == GameRules::kNumbers90 && report.couponCount % kStripTickets == 0;
    CouponIndex index(n, static_cast<std::size_t>(report.couponCount));
    for (std::uint64_t i = 0; i < report.couponCount; ++i) {
        const std::uint8_t* coupon = bytes + i * n;
        const std::uint64_t k = i + 1;
        const std::uint32_t valid = CheckNumbers(coupon, n, numbers, k, report, faults);
        if (numbers == GameRules::kNumbers75)
            CheckCard(coupon, valid, k, faults);
        else
            CheckTicket(coupon, valid, k, faults);
        if (strips && i % kStripTickets == 0)
            CheckStrip(coupon, k, faults);
        const std::int64_t earlier = index.FindOrAdd(bytes, static_cast<std::uint32_t>(i));
        if (earlier != CouponIndex::kNone)
            faults.Add(FaultKind::Duplicate, k, -1, 0, static_cast<std::uint64_t>(earlier) + 1);
    }
    return report;
}

const char* CouponInspector::KindName(FaultKind kind) {
    switch (kind) {
    case FaultKind::NoCoupons:
        return "no coupons";
    case FaultKind::TrailingBytes:
        return "trailing bytes";
    case FaultKind::OutOfRange:
        return "numbers out of range";
    case FaultKind::Repeated:
        return "repeated numbers";
    case FaultKind::WrongColumn:
        return "numbers in a wrong column";
    case FaultKind::RowOrder:
        return "rows not in column order";
    case FaultKind::ColumnCount:
        return "columns with a wrong count";
    case FaultKind::NotAscending:
        return "columns not ascending";
    case FaultKind::StripNumbers:
        return "strip numbers missing or repeated";
    case FaultKind::Duplicate:
        return "identical coupons";
    }
    return "?";
}

std::string CouponInspector::Describe(const CouponFault& f, int numbers) {
    const std::string coupon = "coupon " + std::to_string(f.coupon);
    const std::string v = std::to_string(f.value);
    switch (f.kind) {
    case FaultKind::NoCoupons:
        return "the file holds no complete coupon";
    case FaultKind::TrailingBytes:
        return std::to_string(f.other) + " bytes after the last complete coupon (" +
               std::to_string(f.coupon) + ")";
    case FaultKind::OutOfRange:
        return coupon + ", position " + std::to_string(f.position + 1) + ": " + v +
               " is outside 1-" + std::to_string(numbers);
    case FaultKind::Repeated:
        return coupon + ", position " + std::to_string(f.position + 1) + ": " + v +
               " repeats an earlier number";
    case FaultKind::WrongColumn:
        return coupon + ", position " + std::to_string(f.position + 1) + ": " + v +
               " is not in column " + std::string(1, "BINGO"[f.position % 5]);
    case FaultKind::RowOrder:
        return coupon + ", row " + std::to_string(f.position + 1) +
               ": the numbers are not five columns from left to right";
    case FaultKind::ColumnCount:
        return coupon + ", column " + std::to_string(f.position + 1) + ": " + v +
               " numbers (1 to 3 allowed)";
    case FaultKind::NotAscending:
        return coupon + ", column " + std::to_string(f.position + 1) + ": " + v +
               " is not greater than the number above it";
    case FaultKind::StripNumbers:
        return "strip of coupons " + std::to_string(f.coupon) + "-" + std::to_string(f.coupon + 5) +
               ": " + v + " occurs " + std::to_string(f.other) + " times";
    case FaultKind::Duplicate:
        return coupon + " is identical to coupon " + std::to_string(f.other);
    }
    return coupon;
}

std::string CouponInspector::Format(const InspectReport& report) {
    std::string text;
    text += "Numbers: " + std::to_string(report.numbers) + " (" +
            std::to_string(CouponSize(report.numbers)) + " per coupon)\n";
    text += "Coupons: " + std::to_string(report.couponCount) + "\n";
    text += "Trailing bytes: " + std::to_string(report.trailingBytes) + "\n";
    if (report.numbers == GameRules::kNumbers75)
        text += "Free middles: " + std::to_string(report.freeMiddles) + "\n";
    for (const CouponFault& fault : report.faults)
        text += "Fault: " + Describe(fault, report.numbers) + "\n";
    for (std::size_t i = 0; i < kFaultKinds; ++i) {
        if (report.counts[i] == 0)
            continue;
        std::uint64_t listed = 0;
        for (const CouponFault& fault : report.faults)
            listed += static_cast<std::size_t>(fault.kind) == i;
        text += std::string("Total ") + KindName(static_cast<FaultKind>(i)) + ": " +
                std::to_string(report.counts[i]);
        if (listed < report.counts[i])
            text += " (" + std::to_string(report.counts[i] - listed) + " not listed)";
        text += "\n";
    }
    text += report.Clean() ? "Result: clean\n"
                           : "Result: " + std::to_string(report.TotalFaults()) + " faults\n";
    return text;
}

} // namespace zorvi
