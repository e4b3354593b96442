// The operator window's layout at a scale: window mode shows the layout at its own size;
// full-screen mode scales the whole of it (dialog units, cells and fonts) to fill the screen
// with its proportions kept, so that the board can be read from a step back. And the fit of
// every text to its control.
#include <QCheckBox>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QResizeEvent>
#include <algorithm>
#include <cmath>

#include "CZorviDlg.h"
#include "ControlIds.h"
#include "ProgramArt.h"
#include "StaticControl.h"
#include "TextFit.h"

namespace zorvi {

namespace {

// The longest coupon number the field takes.
const QString kWidestCouponNumber = QStringLiteral("999999");

} // namespace

int CZorviDlg::ScaledPixels(int pixels) const {
    return std::max(1, static_cast<int>(std::lround(pixels * layoutScale_)));
}

QFont CZorviDlg::ScaledFont(const QFont& font) const {
    QFont scaled(font);
    if (font.pixelSize() > 0)
        scaled.setPixelSize(ScaledPixels(font.pixelSize()));
    return scaled;
}

DialogUnits CZorviDlg::LayoutUnits() const {
    return DialogUnits(units_.horizontal() * layoutScale_, units_.vertical() * layoutScale_);
}

void CZorviDlg::ScaleLayoutTo(QSize area) {
    double scale = 1.0;
    QPoint offset;
    if (settings_.dialog_mode == 1 && !area.isEmpty()) {
        const QSize base = units_.Size(kTemplateWidth, kTemplateHeight);
        scale =
            std::min(double(area.width()) / base.width(), double(area.height()) / base.height());
        offset = QPoint(int((area.width() - base.width() * scale) / 2),
                        int((area.height() - base.height() * scale) / 2));
    }
    if (std::abs(scale - layoutScale_) < 1e-9 && offset == layoutOffset_)
        return;
    layoutScale_ = scale;
    layoutOffset_ = offset;
    LayOutControls();
}

void CZorviDlg::resizeEvent(QResizeEvent* event) {
    QDialog::resizeEvent(event);
    if (settings_.dialog_mode == 1)
        ScaleLayoutTo(event->size());
}

void CZorviDlg::LayOutControls() {
    setFont(ScaledFont(DialogFont()));
    PlaceTemplateControls();
    SetFonts();
    PlaceCells(Control::BoardFrame, boardCells_, kBoardCellsPerLine, paint_.font_board_cell);
    PlaceCells(Control::CouponFrame, couponCells_, kCouponCellsPerLine, paint_.font_coupon_cell);
    PlaceCouponNumberLabel();
    RoundDisplays();
    if (couponNote_ && noteCoupon_ != 0)
        ShowCouponNotInSeries(noteCoupon_, noteCouponCount_);
    PlaceWinningNow();
    PlaceHallAddress();
    for (const auto& [id, text] : buttonTexts_)
        SetWrappedButtonText(id, text);
    FitButtonTexts();
}

void CZorviDlg::RoundDisplays() {
    RoundControlCorners(Control::CurrentNumber, 25, 25);
    RoundControlCorners(Control::LetterName, 10, 10);
    RoundControlCorners(Control::PreviousNumber, 10, 10);
    RoundControlCorners(Control::DrawnCount, 5, 5);
    RoundControlCorners(Control::CheckedCoupon, 5, 5);
    RoundControlCorners(Control::CurrentRow, 5, 5);
    RoundControlCorners(Control::AutomaticPanel, 5, 5);
}

void CZorviDlg::PlaceCells(int frameId, const std::vector<StaticControl*>& cells, int perLine,
                           const QFont& font) {
    QWidget* frame = ControlById(frameId);
    if (!frame || perLine <= 0)
        return;
    const QPoint origin = frame->pos();
    const int size = ScaledPixels(kCellSize);
    const int pitch = ScaledPixels(kCellPitch);
    int column = 0, line = 0;
    for (StaticControl* cell : cells) {
        cell->setGeometry(origin.x() + ScaledPixels(kCellsLeft) + pitch * column,
                          origin.y() + ScaledPixels(kCellsTop) + pitch * line, size, size);
        cell->roundCorners(ScaledPixels(kCellCorner), ScaledPixels(kCellCorner));
        cell->setFont(ScaledFont(font));
        if (++column == perLine) {
            column = 0;
            ++line;
        }
    }
    // The frame follows the grid; a last line that is not full is not counted.
    const int completeLines = int(cells.size()) / perLine;
    frame->resize(pitch * perLine + ScaledPixels(kCellsLeft * 2),
                  pitch * completeLines + ScaledPixels(kCellsTop + kCellsLeft));
}

void CZorviDlg::FitButtonTexts() {
    // A caption too wide or too tall for its button gets a smaller font; so does a check box's.
    for (auto& [id, widget] : controls_) {
        if (IsWrappedButton(id))
            continue; // fitted as they are broken over lines
        if (auto* button = qobject_cast<QAbstractButton*>(widget))
            FitButton(button);
    }
    // The coupon field fits the widest number it takes.
    if (auto* field = qobject_cast<QLineEdit*>(ControlById(Control::CouponField))) {
        const QFont base = ScaledFont(paint_.font_button);
        field->setFont(base);
        const TextPlace place = TextPlaceOf(*field);
        if (place.valid)
            field->setFont(FontThatFits(base, place.rect, place.flags, kWidestCouponNumber));
    }
}

} // namespace zorvi
