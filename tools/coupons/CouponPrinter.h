#pragma once

#include <cstdint>
#include <string>
#include <vector>

namespace zorvi {

struct PrintOptions {
    int numbers = 75;       // 75 or 90
    std::string series;     // printed on every coupon
    std::uint64_t from = 1; // first coupon number, from 1
    std::uint64_t to = 0;   // last coupon number; 0: the last of the series
    std::string outPath;    // the PDF
};

// Lays out coupons on A4 pages as a PDF ready to print: 75-number cards as 5x5 grids under
// "B I N G O", six to a page, the free middle marked; 90-number tickets as 3x9 grids, the six
// tickets of a strip together on one page. Every coupon carries its series and number.
// Needs a QGuiApplication (fonts).
class CouponPrinter {
public:
    // False with `error` set when the range is wrong or the PDF cannot be written.
    static bool Print(const std::vector<std::uint8_t>& bytes, const PrintOptions& options,
                      std::string* error);
};

} // namespace zorvi
