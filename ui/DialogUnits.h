#pragma once

#include <QFont>
#include <QRect>
#include <QSize>

namespace zorvi {

// Maps dialog units (the layout's font-relative measure) to pixels: a horizontal unit is a quarter
// of the dialog font's average character width, a vertical unit an eighth of its height.
class DialogUnits {
public:
    explicit DialogUnits(const QFont& dialogFont);
    DialogUnits(double horizontal, double vertical) : hu_(horizontal), vu_(vertical) {}
    virtual ~DialogUnits() = default;

    // The units of the operator window: those of its font, widened where needed so that the
    // number board (fixed pixel cells) fits the frame the layout gives it. On a 768-pixel
    // screen only the window's empty bottom strip can fall off the screen.
    static DialogUnits ForOperatorWindow(const QFont& dialogFont);

    int X(int units) const;
    int Y(int units) const;
    QRect Rect(int left, int top, int width, int height) const;
    QSize Size(int width, int height) const;
    double horizontal() const { return hu_; }
    double vertical() const { return vu_; }

    // A font of the given face whose character cell (ascent + descent) is `cellHeight` pixels.
    static QFont FontByCellHeight(const QString& face, int cellHeight, bool bold = false,
                                  bool italic = false);
    // A font of the given face and point size at 96 dots per inch, whatever the screen says.
    static QFont FontByPoints(const QString& face, int points);

private:
    double hu_;
    double vu_;
};

} // namespace zorvi
