#include "JoinCode.h"

#include <qrencode.h>

#include <memory>

namespace zorvi {

namespace {

// An address is far shorter; this keeps a hostile text from asking for the largest symbol.
constexpr std::size_t kLongestText = 1024;

struct QrFree {
    void operator()(QRcode* code) const { QRcode_free(code); }
};

} // namespace

std::optional<JoinCode> JoinCode::Encode(std::string_view text) {
    if (text.empty() || text.size() > kLongestText || text.find('\0') != std::string_view::npos)
        return std::nullopt;
    const std::string owned(text);
    // Level M: a screen seen from across a hall at an angle still reads; version 0 lets the
    // library choose the smallest symbol that holds the text.
    std::unique_ptr<QRcode, QrFree> code(
        QRcode_encodeString(owned.c_str(), 0, QR_ECLEVEL_M, QR_MODE_8, 1));
    if (!code || code->width <= 0)
        return std::nullopt;
    JoinCode join;
    join.size = code->width;
    const std::size_t count =
        static_cast<std::size_t>(code->width) * static_cast<std::size_t>(code->width);
    join.modules.resize(count);
    // Bit 0 of each byte is the module's colour; the other bits describe its role.
    for (std::size_t i = 0; i < count; ++i)
        join.modules[i] = (code->data[i] & 1) ? '1' : '0';
    return join;
}

} // namespace zorvi
