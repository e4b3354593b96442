#pragma once

#include <QFont>
#include <QPoint>
#include <QSize>
#include <QString>
#include <functional>
#include <map>
#include <optional>
#include <string>
#include <vector>

#include "DialogUnits.h"
#include "StaticControl.h"

class QAbstractButton;
class QWidget;

namespace zorvi {

class PaintHelper;

// The operator window's controls and where they stand: one table of every control with its
// place in dialog units, the two grids of cells built at run time (the number board and the
// coupon panel), the scale of the whole (1 in window mode; in full-screen mode it fills the
// screen with its proportions kept), and the fit of every text to its control. It knows
// nothing of the game: the window tells it what to show.
class OperatorLayout {
public:
    using ColourSource = StaticControl::ColourSource;

    // The window's size at scale 1, in dialog units.
    static constexpr int kTemplateWidth = 471;
    static constexpr int kTemplateHeight = 351;

    static QFont DialogFont();

    // Makes every control of the table as a child of `window`, in table order (later ones lie
    // above earlier ones); static texts and cells take their colours from `colours`.
    OperatorLayout(QWidget& window, const PaintHelper& paint, ColourSource colours);
    ~OperatorLayout();
    OperatorLayout(const OperatorLayout&) = delete;
    OperatorLayout& operator=(const OperatorLayout&) = delete;

    // A control of the table or a cell; nothing for an unknown identifier.
    QWidget* Control(int id) const;
    QString Text(int id) const;
    // Shows a text in the control as its kind shows it: buttons broken over lines or in a
    // smaller font where it would not fit, the list without carriage returns.
    void SetText(int id, const QString& text);
    // Every button, check box and the coupon field fitted to its text again.
    void FitTexts();
    // The fonts of the displays, the Draw button, the coupon field and the winners' list.
    void SetFonts();
    void RoundDisplays();

    const DialogUnits& Units() const { return units_; }
    QSize BaseSize() const { return units_.Size(kTemplateWidth, kTemplateHeight); }
    double Scale() const { return scale_; }
    QPoint Offset() const { return offset_; }
    // Fills `area` (full screen) or goes back to scale 1 (an empty area); everything is placed
    // again when the scale or the offset changes.
    void ScaleTo(QSize area);
    // Places every control, cell and line again at the current scale.
    void LayOut();

    // The number board of `n` numbers, and the coupon panel with a coupon's numbers (blank
    // ones as "0").
    void BuildBoard(int n);
    void BuildCoupon(const std::vector<int>& numbers);
    void DeleteCells();
    const std::vector<StaticControl*>& BoardCells() const { return boardCells_; }
    const std::vector<StaticControl*>& CouponCells() const { return couponCells_; }

    // The note over the coupon panel, in place of its cells, and gone again.
    void ShowCouponNote(const QString& text);
    void HideCouponNote();
    bool CouponNoteShown() const;

private:
    int ScaledPixels(int pixels) const;
    QFont ScaledFont(const QFont& font) const;
    void CreateControls();
    void PlaceTableControls();
    void BuildCellGrid(int frameId, std::vector<StaticControl*>& cells, int perLine, int firstId,
                       const std::vector<std::string>& texts, const QFont& font);
    void PlaceCells(int frameId, const std::vector<StaticControl*>& cells, int perLine,
                    const QFont& font);
    void PlaceCouponNumberLabel();
    void PlaceCouponNote();
    void RoundCorners(int id, int ellipseWidth, int ellipseHeight);
    void SetWrappedButtonText(int id, const QString& text);
    void FitButton(QAbstractButton* button);
    static bool IsWrappedButton(int id);

    QWidget& window_;
    const PaintHelper& paint_;
    ColourSource colours_;
    DialogUnits units_;
    double scale_ = 1.0;
    QPoint offset_;
    std::map<int, QWidget*> controls_;
    // Every control in table order, the frames without an identifier too.
    std::vector<QWidget*> tableControls_;
    // The captions of the buttons that break them over lines, as given (unbroken).
    std::map<int, QString> buttonTexts_;
    std::vector<StaticControl*> boardCells_;
    std::vector<StaticControl*> couponCells_;
};

} // namespace zorvi
