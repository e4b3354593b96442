#pragma once

#include <QFont>
#include <QRect>
#include <QString>

class QFontMetrics;
class QWidget;

namespace zorvi {

// Whether a text drawn in `rect` with the alignment flags stays inside it: the ink of a
// single line (a line box may overhang where no glyph reaches, as the tall fonts of the
// number displays do), every line box of wrapped or broken text.
bool TextFitsIn(const QFontMetrics& fm, const QRect& rect, int flags, const QString& text);

// `font`, made smaller a pixel at a time where needed, so that the text fits; never below
// kSmallestPixels.
inline constexpr int kSmallestFontPixels = 6;
QFont FontThatFits(QFont font, const QRect& rect, int flags, const QString& text);

// Where a control draws its text: static texts of ours, push buttons, check boxes and
// one-line edits; `valid` false for any other control.
struct TextPlace {
    QRect rect;
    int flags = 0;
    bool valid = false;
};
TextPlace TextPlaceOf(const QWidget& control);

} // namespace zorvi
