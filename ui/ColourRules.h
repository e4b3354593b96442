#pragma once

#include <QColor>
#include <optional>
#include <vector>

namespace zorvi {

class PaintHelper;

// What a control gets when it asks the operator window for its colours. A missing part
// keeps the platform's own (text colour, no text background, the parent's background).
struct ControlColours {
    std::optional<QColor> text;
    std::optional<QColor> textBackground;
    std::optional<QColor> brush;
};

// What the colour rules look at.
struct ColourContext {
    const PaintHelper& paint;
    const std::vector<int>& drawn; // drawn numbers in draw order
    int couponCellCount = 0;       // cells in the coupon panel
    int freeMiddle = 0;
    int bingoFound = 0;
};

// The three colour rules of the operator window, tried in order: board and count, coupon
// panel, displays. `text` is the control's text (a coupon cell's number). No value: the
// control keeps the platform's colours.
std::optional<ControlColours> ChooseControlColours(int id, const QString& text,
                                                   const ColourContext& context);

} // namespace zorvi
