#pragma once

#include <optional>
#include <string>
#include <string_view>

namespace zorvi {

// One rule for every integer field the operator types into: the coupon number, the
// public-screen sizes and the number limit. The messages are the fixed English texts that
// every field shows, in every language.
struct IntegerFieldRule {
    long long minimum = 0;
    long long maximum = 0;
    // A signed field takes a leading minus; an unsigned one calls any non-number "not a
    // positive integer".
    bool isSigned = false;
};

struct IntegerFieldVerdict {
    std::optional<long long> value; // set when the text is taken
    std::string message;            // the refusal, empty when taken
};

// Reads `text` as a decimal integer: blanks around it and a leading "+" are allowed, and a
// "-" in a signed field. A text that is no integer is refused with "Enter a positive
// integer." (unsigned) or "Enter an integer." (signed); an integer outside the rule's range,
// however many digits it has, with "Enter an integer between %1 and %2.".
IntegerFieldVerdict ReadIntegerField(std::string_view text, const IntegerFieldRule& rule);

} // namespace zorvi
