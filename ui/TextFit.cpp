#include "TextFit.h"

#include <QAbstractButton>
#include <QCheckBox>
#include <QFontMetrics>
#include <QLineEdit>
#include <QPushButton>
#include <QStyle>
#include <QStyleOptionButton>
#include <QStyleOptionFrame>

#include "StaticControl.h"

namespace zorvi {

bool TextFitsIn(const QFontMetrics& fm, const QRect& rect, int flags, const QString& text) {
    if (text.isEmpty())
        return true;
    const QRect lines = fm.boundingRect(rect, flags, text);
    const bool oneLine = !text.contains(QLatin1Char('\n')) &&
                         (!(flags & Qt::TextWordWrap) || lines.height() <= fm.height());
    if (!oneLine)
        return rect.contains(lines);
    // The ink of the one line, placed where the line box puts the pen.
    const QRect ink =
        fm.tightBoundingRect(text).translated(lines.left(), lines.top() + fm.ascent());
    return lines.width() <= rect.width() && rect.contains(ink);
}

QFont FontThatFits(QFont font, const QRect& rect, int flags, const QString& text) {
    int pixels = font.pixelSize() > 0 ? font.pixelSize() : QFontInfo(font).pixelSize();
    while (pixels > kSmallestFontPixels && !TextFitsIn(QFontMetrics(font), rect, flags, text)) {
        --pixels;
        font.setPixelSize(pixels);
    }
    return font;
}

TextPlace TextPlaceOf(const QWidget& control) {
    TextPlace place;
    if (const auto* text = qobject_cast<const StaticControl*>(&control)) {
        place.rect = text->rect();
        place.flags = text->textFlags();
        place.valid = true;
    } else if (const auto* button = qobject_cast<const QPushButton*>(&control)) {
        QStyleOptionButton option;
        option.initFrom(button);
        option.text = button->text();
        place.rect =
            button->style()->subElementRect(QStyle::SE_PushButtonContents, &option, button);
        place.flags = Qt::AlignCenter | Qt::TextShowMnemonic;
        place.valid = true;
    } else if (const auto* check = qobject_cast<const QCheckBox*>(&control)) {
        QStyleOptionButton option;
        option.initFrom(check);
        option.text = check->text();
        place.rect = check->style()->subElementRect(QStyle::SE_CheckBoxContents, &option, check);
        place.flags = Qt::AlignLeft | Qt::AlignVCenter | Qt::TextShowMnemonic;
        place.valid = true;
    } else if (const auto* edit = qobject_cast<const QLineEdit*>(&control)) {
        QStyleOptionFrame option;
        option.initFrom(edit);
        option.rect = edit->rect();
        option.lineWidth =
            edit->hasFrame()
                ? edit->style()->pixelMetric(QStyle::PM_DefaultFrameWidth, &option, edit)
                : 0;
        const QMargins margins = edit->textMargins();
        // The edit keeps a margin of 2 pixels on each side of its text (QLineEdit's own).
        place.rect = edit->style()
                         ->subElementRect(QStyle::SE_LineEditContents, &option, edit)
                         .marginsRemoved(margins)
                         .adjusted(2, 1, -2, -1);
        place.flags = int(edit->alignment());
        place.valid = true;
    }
    return place;
}

} // namespace zorvi
