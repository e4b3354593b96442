#pragma once

#include <string>
#include <string_view>

namespace zorvi {

// A JSON string literal, quotes included: '"' and '\' escaped, control characters as \uXXXX,
// everything else as it is (the texts are UTF-8 already).
std::string JsonString(std::string_view text);

} // namespace zorvi
