#pragma once

#include <cstdint>
#include <string>
#include <vector>

namespace zorvi {

class CouponRandom;

struct GenerateOptions {
    int numbers = 75;        // 75 or 90
    std::uint64_t count = 0; // coupons to write
    std::uint64_t seed = 0;
    bool freeMiddle = false; // 75 only: 0 in the middle square
};

// Writes valid coupon series in the program's file format. 75-number cards hold five distinct
// numbers of their column's range in every column, in random order down the column; 90-number
// tickets come in strips of six that hold 1..90 once (a last, incomplete strip is cut short).
// The same options give the same bytes, and no two coupons of a series are alike.
class CouponGenerator {
public:
    static constexpr std::uint64_t kMaxCount = 10'000'000;

    // The series' bytes; empty when the options are not valid (see Validate).
    static std::vector<std::uint8_t> Generate(const GenerateOptions& options);
    // An empty text when the options can be generated, otherwise why not.
    static std::string Validate(const GenerateOptions& options);

    // One card of 25 bytes, written row by row.
    static void MakeCard(CouponRandom& random, bool freeMiddle, std::uint8_t* card);
    // One strip of six tickets, 90 bytes, each ticket written row by row.
    static void MakeStrip(CouponRandom& random, std::uint8_t* strip);
};

// The four series the program reads, as a new program folder gets them.
struct SampleSeries {
    const char* fileName;
    int numbers;
    bool freeMiddle;
    std::uint64_t seed;
};
const std::vector<SampleSeries>& SampleSeriesList();

} // namespace zorvi
