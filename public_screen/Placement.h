#pragma once

#include <QRect>
#include <QSize>
#include <optional>

class QFont;

namespace zorvi {

// Where the players' window goes: on the primary screen from its top-left corner, or to the
// right of the primary screen, limited by the first other screen. Size settings of 0 or
// above the limit mean the whole limit.
QRect ComputeWindowPlacement(bool otherScreen, int heightSetting, int widthSetting,
                             const QRect& primary, const std::optional<QRect>& firstOther);

struct ButtonPlacement {
    QRect close;
    QRect draw;
};

// The close button left and the draw button right of the middle of the client width, 20
// pixels apart, both at the top; each keeps its size.
ButtonPlacement ComputeButtonPlacement(int clientWidth, const QSize& closeSize,
                                       const QSize& drawSize);

// Pixels of a rectangle given in dialog units of a font: a horizontal unit is a quarter of
// the font's average character width, a vertical unit an eighth of its height.
QRect DialogUnitsToPixels(const QRect& dialogUnits, const QFont& font);

} // namespace zorvi
