#pragma once

#include <QBrush>
#include <QColor>
#include <QFont>
#include <cstdint>

namespace zorvi {

// The operator window's drawing resources: six colours with a solid brush each and nine
// fonts, made once when the window is built and reused by every paint.
class PaintHelper {
public:
    PaintHelper();
    virtual ~PaintHelper() = default;

    // 32-bit colour values: red in the low byte, then green, then blue.
    static constexpr std::uint32_t Rgb(int r, int g, int b) {
        return std::uint32_t(r & 0xFF) | (std::uint32_t(g & 0xFF) << 8) |
               (std::uint32_t(b & 0xFF) << 16);
    }
    static QColor ToQColor(std::uint32_t colour) {
        return QColor(int(colour & 0xFF), int((colour >> 8) & 0xFF), int((colour >> 16) & 0xFF));
    }

    const std::uint32_t colour_free_middle = Rgb(180, 180, 0);
    const std::uint32_t colour_latest = Rgb(255, 0, 0);
    const std::uint32_t colour_drawn = Rgb(0, 160, 30);
    const std::uint32_t colour_previous = Rgb(0, 121, 17);
    const std::uint32_t colour_display = Rgb(0, 130, 255);
    const std::uint32_t colour_automatic = Rgb(230, 149, 0);

    const QBrush brush_free_middle;
    const QBrush brush_latest;
    const QBrush brush_drawn;
    const QBrush brush_previous;
    const QBrush brush_display;
    const QBrush brush_automatic;

    const QFont font_current;
    const QFont font_result;
    const QFont font_small_display;
    const QFont font_board_cell;
    const QFont font_coupon_cell;
    const QFont font_letter_name;
    const QFont font_button;
    const QFont font_list;
    const QFont font_limit;
};

} // namespace zorvi
