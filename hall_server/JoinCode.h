#pragma once

#include <optional>
#include <string>
#include <string_view>

namespace zorvi {

// The hall server's address as a QR code, so a phone joins by pointing its camera at a screen.
struct JoinCode {
    int size = 0;        // modules per side
    std::string modules; // size * size characters, row by row: '1' dark, '0' light

    // Nothing for an empty text, one with a NUL in it, or one too long for any QR code.
    static std::optional<JoinCode> Encode(std::string_view text);

    bool Dark(int x, int y) const {
        return x >= 0 && y >= 0 && x < size && y < size &&
               modules[static_cast<std::size_t>(y) * static_cast<std::size_t>(size) +
                       static_cast<std::size_t>(x)] == '1';
    }
};

} // namespace zorvi
