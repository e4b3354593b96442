#pragma once

#include <string_view>

namespace zorvi {

// Spaces and tabs: what a person's edit of a text file leaves around a value.
constexpr bool IsBlank(char c) {
    return c == ' ' || c == '\t';
}

// The text without blanks at either end.
constexpr std::string_view TrimBlanks(std::string_view text) {
    while (!text.empty() && IsBlank(text.front()))
        text.remove_prefix(1);
    while (!text.empty() && IsBlank(text.back()))
        text.remove_suffix(1);
    return text;
}

} // namespace zorvi
