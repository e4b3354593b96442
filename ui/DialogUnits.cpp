#include "DialogUnits.h"

#include <QFontMetricsF>
#include <algorithm>
#include <cmath>

namespace zorvi {

namespace {

// The smallest units at which the board fits its frame: 15 cells on a 34-pixel pitch from
// 10 pixels inside the board frame (10 units in) must end inside the outer frame
// (280 units), and six lines must end above the count display (110 units down).
constexpr double kBoardMinHorizontal = 1.95;
constexpr double kBoardMinVertical = 2.05;

} // namespace

DialogUnits::DialogUnits(const QFont& dialogFont) {
    const QFontMetricsF fm(dialogFont);
    // The average width of the 52 letters, rounded as the dialog manager rounds it.
    const double letters = fm.horizontalAdvance(
        QStringLiteral("ABCDEFGHIJKLMNOPQRSTUVWXYZabcdefghijklmnopqrstuvwxyz"));
    const int average = (static_cast<int>(letters) / 26 + 1) / 2;
    hu_ = std::max(1, average) / 4.0;
    vu_ = std::max(1.0, std::round(fm.height())) / 8.0;
}

DialogUnits DialogUnits::ForOperatorWindow(const QFont& dialogFont) {
    const DialogUnits font(dialogFont);
    return DialogUnits(std::max(font.hu_, kBoardMinHorizontal),
                       std::max(font.vu_, kBoardMinVertical));
}

int DialogUnits::X(int units) const {
    return static_cast<int>(std::lround(units * hu_));
}
int DialogUnits::Y(int units) const {
    return static_cast<int>(std::lround(units * vu_));
}

QRect DialogUnits::Rect(int left, int top, int width, int height) const {
    // Both edges are mapped, so that neighbouring controls meet as laid out in units.
    const int x = X(left), y = Y(top);
    return QRect(x, y, X(left + width) - x, Y(top + height) - y);
}

QSize DialogUnits::Size(int width, int height) const {
    return QSize(X(width), Y(height));
}

QFont DialogUnits::FontByCellHeight(const QString& face, int cellHeight, bool bold, bool italic) {
    QFont font(face);
    if (face.startsWith(QStringLiteral("Courier")))
        font.setStyleHint(QFont::TypeWriter);
    font.setBold(bold);
    font.setItalic(italic);
    font.setPixelSize(std::max(1, cellHeight));
    const double measured = QFontMetricsF(font).height();
    if (measured > 0) {
        const int em = static_cast<int>(std::lround(cellHeight * cellHeight / measured));
        font.setPixelSize(std::max(1, em));
    }
    return font;
}

QFont DialogUnits::FontByPoints(const QString& face, int points) {
    QFont font(face);
    font.setPixelSize((points * 96 + 36) / 72);
    return font;
}

} // namespace zorvi
