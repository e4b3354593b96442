#include "JsonText.h"

#include <cstdio>

namespace zorvi {

std::string JsonString(std::string_view text) {
    std::string out;
    out.reserve(text.size() + 2);
    out += '"';
    for (const char c : text) {
        const auto u = static_cast<unsigned char>(c);
        if (c == '"' || c == '\\') {
            out += '\\';
            out += c;
        } else if (u < 0x20) {
            char escaped[8];
            std::snprintf(escaped, sizeof escaped, "\\u%04x", unsigned(u));
            out += escaped;
        } else {
            out += c;
        }
    }
    out += '"';
    return out;
}

} // namespace zorvi
