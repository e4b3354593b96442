#include "IntegerField.h"

namespace zorvi {

namespace {

bool IsBlank(char c) {
    return c == ' ' || c == '\t' || c == '\r' || c == '\n';
}

} // namespace

IntegerFieldVerdict ReadIntegerField(std::string_view text, const IntegerFieldRule& rule) {
    while (!text.empty() && IsBlank(text.front()))
        text.remove_prefix(1);
    while (!text.empty() && IsBlank(text.back()))
        text.remove_suffix(1);

    bool negative = false;
    if (!text.empty() && (text.front() == '+' || (rule.isSigned && text.front() == '-'))) {
        negative = text.front() == '-';
        text.remove_prefix(1);
    }
    bool digits = !text.empty();
    for (char c : text)
        digits = digits && c >= '0' && c <= '9';
    if (!digits)
        return {std::nullopt, rule.isSigned ? "Enter an integer." : "Enter a positive integer."};

    // Leading zeros aside, a number longer than 18 digits is beyond any range a field has;
    // it is refused as out of range without being converted.
    while (text.size() > 1 && text.front() == '0')
        text.remove_prefix(1);
    std::optional<long long> value;
    if (text.size() <= 18) {
        long long magnitude = 0;
        for (char c : text)
            magnitude = magnitude * 10 + (c - '0');
        value = negative ? -magnitude : magnitude;
    }
    if (value && *value >= rule.minimum && *value <= rule.maximum)
        return {value, std::string()};
    return {std::nullopt, "Enter an integer between " + std::to_string(rule.minimum) + " and " +
                              std::to_string(rule.maximum) + "."};
}

} // namespace zorvi
