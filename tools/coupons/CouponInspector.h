#pragma once

#include <array>
#include <cstdint>
#include <limits>
#include <string>
#include <vector>

namespace zorvi {

enum class FaultKind {
    NoCoupons,     // the file holds no complete coupon
    TrailingBytes, // bytes after the last complete coupon
    OutOfRange,    // a number outside 1..N (0 in the middle of a 75-number card is a free middle)
    Repeated,      // a number twice in one coupon
    WrongColumn,   // 75: a number outside its column's range
    RowOrder,      // 90: a row whose numbers are not in distinct, rising columns
    ColumnCount,   // 90: a column holding fewer than 1 or more than 3 numbers of a ticket
    NotAscending,  // 90: a column whose numbers do not rise from top to bottom
    StripNumbers,  // 90: a strip of six that does not hold every number 1..90 once
    Duplicate,     // a coupon identical to an earlier one
};
constexpr std::size_t kFaultKinds = 10;

// One fault. `coupon` counts from 1; `position` is a byte of the coupon (0-based), a row or a
// column as the kind says; `value` is the number concerned; `other` is the earlier coupon of a
// Duplicate, or the times a number occurs in a strip.
struct CouponFault {
    FaultKind kind;
    std::uint64_t coupon = 0;
    int position = -1;
    int value = 0;
    std::uint64_t other = 0;
};

struct InspectReport {
    int numbers = 75;
    std::uint64_t couponCount = 0;
    std::uint64_t trailingBytes = 0;
    std::uint64_t freeMiddles = 0;
    std::array<std::uint64_t, kFaultKinds> counts{}; // every fault, by kind
    std::vector<CouponFault> faults;                 // listed faults, up to the limit per kind

    std::uint64_t Count(FaultKind kind) const { return counts[static_cast<std::size_t>(kind)]; }
    std::uint64_t TotalFaults() const;
    bool Clean() const { return TotalFaults() == 0; }
};

// Checks a coupon series against the rules of a printed series, so a hall can trust a file it
// was given: the program itself takes the bytes as they are.
class CouponInspector {
public:
    static constexpr std::size_t kListAll = std::numeric_limits<std::size_t>::max();

    // numbers: 75 or 90. At most listLimit faults of each kind are kept in `faults`.
    static InspectReport Inspect(const std::uint8_t* bytes, std::size_t size, int numbers,
                                 std::size_t listLimit = kListAll);
    static InspectReport Inspect(const std::vector<std::uint8_t>& bytes, int numbers,
                                 std::size_t listLimit = kListAll) {
        return Inspect(bytes.data(), bytes.size(), numbers, listLimit);
    }

    static std::string Describe(const CouponFault& fault, int numbers);
    static const char* KindName(FaultKind kind);
    // The whole report as text, one line per listed fault and a summary.
    static std::string Format(const InspectReport& report);
};

} // namespace zorvi
