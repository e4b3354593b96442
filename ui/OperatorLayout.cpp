#include "OperatorLayout.h"

#include <QAbstractButton>
#include <QCheckBox>
#include <QFontMetrics>
#include <QGroupBox>
#include <QLabel>
#include <QLineEdit>
#include <QPlainTextEdit>
#include <QPushButton>
#include <QRegularExpressionValidator>
#include <QSlider>
#include <algorithm>
#include <cmath>
#include <utility>

#include "ControlIds.h"
#include "GameRules.h"
#include "Helpers.h"
#include "PaintHelper.h"
#include "ProgramArt.h"
#include "TextFit.h"

namespace zorvi {

namespace {

enum class Kind { Frame, GroupBox, Static, Button, Check, Edit, Slider, Picture, List, Line };

// Static text styles: centred (top, wrapping), centred both ways, plain (left, wrapping), left
// and centred vertically on one line; centred both ways and wrapping.
enum Style : unsigned {
    None = 0,
    Centred = 1,
    CentredBoth = 2,
    MultiLine = 4,
    Hidden = 8,
    Disabled = 16,
    LeftMiddle = 32,
    Wrapping = 64,
    Bold = 128,
};

struct TemplateItem {
    int id; // frames without an identifier have negative ones here
    Kind kind;
    int left, top, width, height;
    unsigned style;
    const char* text;
};

// The operator window's layout: every control with its place and size in dialog units, in the
// order they are made (later controls lie above earlier ones).
constexpr TemplateItem kTemplate[] = {
    {-1, Kind::Frame, 5, 0, 275, 135, None, ""},
    {Control::BoardFrame, Kind::GroupBox, 10, 1, 255, 102, Hidden, ""},
    {Control::DrawnCountLabel, Kind::Static, 20, 116, 60, 8, Centred, ""},
    {Control::DrawnCount, Kind::Static, 83, 110, 45, 20, CentredBoth, "-"},
    {Control::ShowDrawnNumbers, Kind::Button, 190, 110, 65, 20, MultiLine, ""},
    {-2, Kind::Frame, 285, 0, 180, 135, None, ""},
    {Control::CurrentNumberLabel, Kind::Static, 335, 9, 110, 8, Centred, ""},
    {Control::CurrentNumber, Kind::Static, 335, 19, 110, 81, CentredBoth, "-"},
    {Control::LetterName, Kind::Static, 335, 104, 110, 25, CentredBoth, "-"},
    {Control::PreviousNumberLabel, Kind::Static, 290, 43, 45, 15, Centred, ""},
    {Control::PreviousNumber, Kind::Static, 300, 62, 25, 25, CentredBoth, "-"},
    {-3, Kind::Frame, 5, 135, 230, 144, None, ""},
    {Control::CouponFrame, Kind::GroupBox, 15, 140, 85, 75, None, ""},
    {Control::CheckedCoupon, Kind::Static, 35, 220, 45, 20, CentredBoth, "-"},
    {Control::CouponFieldLabel, Kind::Static, 115, 147, 60, 10, Centred, ""},
    {Control::CouponField, Kind::Edit, 125, 159, 40, 14, None, "1"},
    {Control::Check, Kind::Button, 182, 145, 40, 30, None, ""},
    {Control::CheckResult, Kind::Static, 115, 180, 110, 20, CentredBoth, "-"},
    {Control::WinnersLabel, Kind::Static, 120, 205, 105, 8, Centred, ""},
    {Control::WinnersHeading, Kind::Static, 120, 215, 110, 8, None, ""},
    {Control::WinnersList, Kind::List, 115, 225, 115, 35, None, ""},
    {-4, Kind::Frame, 240, 135, 130, 144, None, ""},
    {Control::AutomaticPanel, Kind::Static, 262, 143, 88, 47, Disabled, "AUTOMATIC ON"},
    {Control::Draw, Kind::Button, 270, 147, 70, 30, MultiLine, ""},
    {Control::AutomaticStatus, Kind::Static, 265, 179, 80, 8, Centred, ""},
    {Control::AutomaticCheck, Kind::Check, 274, 194, 70, 10, None, ""},
    {Control::IntervalDown, Kind::Button, 256, 207, 10, 10, None, "-"},
    {Control::IntervalSlider, Kind::Slider, 268, 207, 75, 16, None, ""},
    {Control::IntervalUp, Kind::Button, 344, 207, 10, 10, None, "+"},
    {Control::IntervalLabel, Kind::Static, 251, 224, 81, 8, None, ""},
    {Control::IntervalDisplay, Kind::Static, 332, 224, 30, 8, Centred, ""},
    {Control::NumberLimitLabel, Kind::Static, 251, 235, 81, 8, None, ""},
    {Control::NumberLimit, Kind::Static, 332, 235, 30, 8, Centred, "0"},
    {Control::CancelNumber, Kind::Button, 257, 248, 40, 20, MultiLine, ""},
    {Control::NewGame, Kind::Button, 312, 248, 40, 20, MultiLine, ""},
    {-5, Kind::Frame, 375, 135, 90, 50, None, ""},
    {Control::RowLabel, Kind::Static, 402, 144, 35, 8, Centred, ""},
    {Control::RowDown, Kind::Button, 392, 161, 10, 10, None, "-"},
    {Control::CurrentRow, Kind::Static, 408, 153, 25, 25, CentredBoth, "1"},
    {Control::RowUp, Kind::Button, 438, 161, 10, 10, None, "+"},
    {Control::Logo, Kind::Picture, 381, 212, 90, 23, None, ""},
    {Control::Settings, Kind::Button, 375, 239, 45, 14, None, ""},
    {Control::Exit, Kind::Button, 425, 239, 40, 14, None, ""},
    {Control::Fullscreen, Kind::Button, 383, 256, 75, 14, None, ""},
    {Control::VolumeDown, Kind::Button, 375, 274, 13, 12, None, "-"},
    {Control::VolumeSlider, Kind::Slider, 390, 274, 57, 14, None, ""},
    {Control::VolumeUp, Kind::Button, 452, 274, 13, 12, None, "+"},
    {Control::VolumeLabel, Kind::Static, 389, 289, 27, 8, None, ""},
    {Control::VolumeDisplay, Kind::Static, 439, 289, 16, 8, None, ""},
    // The window's own lines. The note lies over the coupon panel, in its frame (placed with
    // it); the winning-now line under the coupon check and the drawing frames, left of the
    // volume; the hall's address under them.
    {Control::CouponNote, Kind::Static, 15, 140, 85, 75, CentredBoth | Wrapping | Bold | Hidden,
     ""},
    {Control::WinningNow, Kind::Line, 5, 283, 365, 14, Hidden, ""},
    {Control::HallAddress, Kind::Static, 10, 300, 355, 10, LeftMiddle | Hidden, ""},
    // Balls from the hall's machine, in the drawing frame where the Draw button, the automatic
    // drawing and its interval stand for the computer's draw: the field a ball is typed into,
    // why the last entry was refused, and which source the game uses.
    {Control::BallFieldLabel, Kind::Static, 262, 143, 88, 8, Centred | Hidden, ""},
    {Control::BallField, Kind::Edit, 280, 153, 50, 20, Hidden, ""},
    {Control::BallRefused, Kind::Static, 244, 176, 122, 28, CentredBoth | Wrapping | Bold | Hidden,
     ""},
    {Control::BallSourceStatus, Kind::Static, 244, 210, 122, 8, Centred | Hidden, ""},
    // The evening's programme: the step to its next game under the row frame, the dialog under
    // the volume, and the game and stage played along the bottom (shown while one is played).
    {Control::NextGame, Kind::Button, 375, 189, 90, 18, Hidden, ""},
    {Control::Programme, Kind::Button, 375, 300, 90, 14, None, ""},
    {Control::ProgrammeStage, Kind::Line, 5, 318, 460, 14, Hidden, ""},
};

// Cells of the board and the coupon panel, in pixels at scale 1.
constexpr int kCellSize = 31;
constexpr int kCellPitch = 34;
constexpr int kCellsLeft = 10;
constexpr int kCellsTop = 20;
constexpr int kCellCorner = 5;
constexpr int kBoardCellsPerLine = 15;
constexpr int kCouponCellsPerLine = GameRules::kRowLength;

// The longest coupon number the field takes.
const QString kWidestCouponNumber = QStringLiteral("999999");
// A ball has at most two digits; the third shows a mistyped one whole in the refusal.
constexpr int kBallFieldDigits = 3;
const QString kWidestBallEntry = QStringLiteral("999");

QString WrapCaption(const QString& text, const QFontMetrics& fm, int width) {
    const QStringList words = text.split(QLatin1Char(' '), Qt::SkipEmptyParts);
    QStringList lines;
    QString line;
    for (const QString& word : words) {
        const QString candidate = line.isEmpty() ? word : line + QLatin1Char(' ') + word;
        if (!line.isEmpty() && fm.horizontalAdvance(candidate) > width) {
            lines << line;
            line = word;
        } else {
            line = candidate;
        }
    }
    if (!line.isEmpty())
        lines << line;
    return lines.join(QLatin1Char('\n'));
}

} // namespace

QFont OperatorLayout::DialogFont() {
    return DialogUnits::FontByPoints(QStringLiteral("Arial"), 11);
}

OperatorLayout::OperatorLayout(QWidget& window, const PaintHelper& paint, ColourSource colours)
    : window_(window), paint_(paint), colours_(std::move(colours)),
      units_(DialogUnits::ForOperatorWindow(DialogFont())) {
    CreateControls();
}

OperatorLayout::~OperatorLayout() {
    DeleteCells();
}

bool OperatorLayout::IsWrappedButton(int id) {
    return id == Control::Draw || id == Control::CancelNumber || id == Control::NewGame ||
           id == Control::ShowDrawnNumbers;
}

void OperatorLayout::CreateControls() {
    for (const TemplateItem& item : kTemplate) {
        const QRect rect = units_.Rect(item.left, item.top, item.width, item.height);
        const QString text = QString::fromLatin1(item.text);
        QWidget* widget = nullptr;
        switch (item.kind) {
        case Kind::Frame:
        case Kind::GroupBox: {
            auto* box = new QGroupBox(&window_);
            box->setFlat(false);
            widget = box;
            break;
        }
        case Kind::Static: {
            Qt::Alignment alignment = Qt::AlignLeft | Qt::AlignTop;
            bool wrap = true;
            if (item.style & Centred)
                alignment = Qt::AlignHCenter | Qt::AlignTop;
            if (item.style & CentredBoth) {
                alignment = Qt::AlignCenter;
                wrap = false;
            }
            if (item.style & LeftMiddle) {
                alignment = Qt::AlignLeft | Qt::AlignVCenter;
                wrap = false;
            }
            if (item.style & Wrapping)
                wrap = true;
            auto* label = new StaticControl(item.id, alignment, wrap, &window_);
            label->setText(text);
            label->setColourSource(colours_);
            widget = label;
            break;
        }
        case Kind::Button: {
            auto* button = new QPushButton(text, &window_);
            // Enter and Esc never press a button of this window.
            button->setAutoDefault(false);
            button->setDefault(false);
            widget = button;
            break;
        }
        case Kind::Line: {
            // A line of text that can be clicked; clicks only, so the focus stays where it is.
            auto* line = new QPushButton(text, &window_);
            line->setAutoDefault(false);
            line->setDefault(false);
            line->setFlat(true);
            line->setFocusPolicy(Qt::NoFocus);
            line->setStyleSheet(QStringLiteral("text-align: left; font-weight: bold;"));
            widget = line;
            break;
        }
        case Kind::Check:
            widget = new QCheckBox(text, &window_);
            break;
        case Kind::Edit: {
            auto* edit = new QLineEdit(text, &window_);
            edit->setAlignment(Qt::AlignCenter);
            edit->setValidator(new QRegularExpressionValidator(
                QRegularExpression(QStringLiteral("[0-9]*")), edit));
            if (item.id == Control::BallField)
                edit->setMaxLength(kBallFieldDigits);
            widget = edit;
            break;
        }
        case Kind::Slider: {
            auto* slider = new QSlider(Qt::Horizontal, &window_);
            slider->setTickPosition(QSlider::NoTicks);
            slider->setRange(0, 100);
            widget = slider;
            break;
        }
        case Kind::Picture: {
            auto* picture = new QLabel(&window_);
            picture->setPixmap(LogoPixmap(rect.size()));
            picture->setAlignment(Qt::AlignLeft | Qt::AlignTop);
            widget = picture;
            break;
        }
        case Kind::List: {
            auto* list = new QPlainTextEdit(&window_);
            list->setReadOnly(true);
            list->setVerticalScrollBarPolicy(Qt::ScrollBarAlwaysOn);
            list->setLineWrapMode(QPlainTextEdit::WidgetWidth);
            widget = list;
            break;
        }
        }
        widget->setGeometry(rect);
        widget->setObjectName(QString::number(item.id));
        if (item.style & Hidden)
            widget->hide();
        if (item.style & Disabled)
            widget->setEnabled(false);
        if (item.id > 0)
            controls_[item.id] = widget;
        tableControls_.push_back(widget);
    }
}

QWidget* OperatorLayout::Control(int id) const {
    if (id >= Control::FirstCouponCell) {
        const auto k = std::size_t(id - Control::FirstCouponCell);
        return k < couponCells_.size() ? couponCells_[k] : nullptr;
    }
    if (id >= Control::FirstBoardCell) {
        const auto k = std::size_t(id - Control::FirstBoardCell);
        return k < boardCells_.size() ? boardCells_[k] : nullptr;
    }
    const auto it = controls_.find(id);
    return it == controls_.end() ? nullptr : it->second;
}

QString OperatorLayout::Text(int id) const {
    QWidget* w = Control(id);
    if (auto* s = qobject_cast<StaticControl*>(w))
        return s->text();
    if (auto* b = qobject_cast<QAbstractButton*>(w))
        return b->text();
    if (auto* e = qobject_cast<QLineEdit*>(w))
        return e->text();
    if (auto* l = qobject_cast<QPlainTextEdit*>(w))
        return l->toPlainText();
    if (auto* g = qobject_cast<QGroupBox*>(w))
        return g->title();
    return QString();
}

void OperatorLayout::SetText(int id, const QString& value) {
    QWidget* w = Control(id);
    if (!w)
        return;
    if (auto* s = qobject_cast<StaticControl*>(w)) {
        s->setText(value);
    } else if (IsWrappedButton(id)) {
        SetWrappedButtonText(id, value);
    } else if (auto* b = qobject_cast<QAbstractButton*>(w)) {
        b->setText(value);
        FitButton(b);
    } else if (auto* e = qobject_cast<QLineEdit*>(w)) {
        e->setText(value);
    } else if (auto* l = qobject_cast<QPlainTextEdit*>(w)) {
        QString lines = value;
        lines.remove(QLatin1Char('\r'));
        l->setPlainText(lines);
    } else if (auto* g = qobject_cast<QGroupBox*>(w)) {
        g->setTitle(value);
    }
}

void OperatorLayout::SetWrappedButtonText(int id, const QString& text) {
    auto* button = qobject_cast<QPushButton*>(Control(id));
    if (!button)
        return;
    buttonTexts_[id] = text;
    // Broken over lines at the button's width, in a smaller font where the lines would not fit.
    QFont font = ScaledFont(id == Control::Draw ? paint_.font_button : DialogFont());
    button->setFont(font);
    const TextPlace place = TextPlaceOf(*button);
    QString wrapped = WrapCaption(text, QFontMetrics(font), place.rect.width());
    while (font.pixelSize() > kSmallestFontPixels &&
           !TextFitsIn(QFontMetrics(font), place.rect, place.flags, wrapped)) {
        font.setPixelSize(font.pixelSize() - 1);
        wrapped = WrapCaption(text, QFontMetrics(font), place.rect.width());
    }
    button->setFont(font);
    button->setText(wrapped);
}

void OperatorLayout::FitButton(QAbstractButton* button) {
    const QFont base = ScaledFont(DialogFont());
    button->setFont(base);
    const TextPlace place = TextPlaceOf(*button);
    if (place.valid && !button->text().isEmpty())
        button->setFont(FontThatFits(base, place.rect, place.flags, button->text()));
}

void OperatorLayout::FitTexts() {
    // A caption too wide or too tall for its button gets a smaller font; so does a check box's.
    for (auto& [id, widget] : controls_) {
        if (IsWrappedButton(id))
            continue; // fitted as they are broken over lines
        if (auto* button = qobject_cast<QAbstractButton*>(widget))
            FitButton(button);
    }
    // The number fields fit the widest number they take.
    for (const auto& [id, widest] : {std::pair{Control::CouponField, kWidestCouponNumber},
                                     std::pair{Control::BallField, kWidestBallEntry}}) {
        auto* field = qobject_cast<QLineEdit*>(Control(id));
        if (!field)
            continue;
        const QFont base = ScaledFont(paint_.font_button);
        field->setFont(base);
        const TextPlace place = TextPlaceOf(*field);
        if (place.valid)
            field->setFont(FontThatFits(base, place.rect, place.flags, widest));
    }
}

void OperatorLayout::SetFonts() {
    auto setFont = [this](int id, const QFont& font) {
        if (QWidget* w = Control(id))
            w->setFont(font);
    };
    setFont(Control::CurrentNumber, ScaledFont(paint_.font_current));
    setFont(Control::CheckResult, ScaledFont(paint_.font_result));
    for (int id : {Control::CurrentRow, Control::PreviousNumber, Control::DrawnCount,
                   Control::CheckedCoupon})
        setFont(id, ScaledFont(paint_.font_small_display));
    setFont(Control::LetterName, ScaledFont(paint_.font_letter_name));
    setFont(Control::Draw, ScaledFont(paint_.font_button));
    setFont(Control::CouponField, ScaledFont(paint_.font_button));
    setFont(Control::BallField, ScaledFont(paint_.font_button));
    setFont(Control::WinnersList, ScaledFont(paint_.font_list));
    setFont(Control::WinnersHeading, ScaledFont(paint_.font_list));
    for (const TemplateItem& item : kTemplate) {
        if (item.style & Bold) {
            QFont bold = ScaledFont(DialogFont());
            bold.setBold(true);
            setFont(item.id, bold);
        }
    }
    FitTexts();
}

void OperatorLayout::RoundCorners(int id, int ellipseWidth, int ellipseHeight) {
    if (auto* s = qobject_cast<StaticControl*>(Control(id)))
        s->roundCorners(ScaledPixels(ellipseWidth), ScaledPixels(ellipseHeight));
}

void OperatorLayout::RoundDisplays() {
    RoundCorners(Control::CurrentNumber, 25, 25);
    RoundCorners(Control::LetterName, 10, 10);
    RoundCorners(Control::PreviousNumber, 10, 10);
    RoundCorners(Control::DrawnCount, 5, 5);
    RoundCorners(Control::CheckedCoupon, 5, 5);
    RoundCorners(Control::CurrentRow, 5, 5);
    RoundCorners(Control::AutomaticPanel, 5, 5);
}

int OperatorLayout::ScaledPixels(int pixels) const {
    return std::max(1, static_cast<int>(std::lround(pixels * scale_)));
}

QFont OperatorLayout::ScaledFont(const QFont& font) const {
    QFont scaled(font);
    if (font.pixelSize() > 0)
        scaled.setPixelSize(ScaledPixels(font.pixelSize()));
    return scaled;
}

void OperatorLayout::ScaleTo(QSize area) {
    double scale = 1.0;
    QPoint offset;
    if (!area.isEmpty()) {
        const QSize base = BaseSize();
        scale =
            std::min(double(area.width()) / base.width(), double(area.height()) / base.height());
        offset = QPoint(int((area.width() - base.width() * scale) / 2),
                        int((area.height() - base.height() * scale) / 2));
    }
    if (std::abs(scale - scale_) < 1e-9 && offset == offset_)
        return;
    scale_ = scale;
    offset_ = offset;
    LayOut();
}

void OperatorLayout::PlaceTableControls() {
    const DialogUnits units(units_.horizontal() * scale_, units_.vertical() * scale_);
    for (std::size_t i = 0; i < std::size(kTemplate) && i < tableControls_.size(); ++i) {
        const TemplateItem& item = kTemplate[i];
        QWidget* widget = tableControls_[i];
        widget->setGeometry(
            units.Rect(item.left, item.top, item.width, item.height).translated(offset_));
        if (item.kind == Kind::Picture)
            static_cast<QLabel*>(widget)->setPixmap(LogoPixmap(widget->size()));
    }
}

void OperatorLayout::LayOut() {
    window_.setFont(ScaledFont(DialogFont()));
    PlaceTableControls();
    SetFonts();
    PlaceCells(Control::BoardFrame, boardCells_, kBoardCellsPerLine, paint_.font_board_cell);
    PlaceCells(Control::CouponFrame, couponCells_, kCouponCellsPerLine, paint_.font_coupon_cell);
    PlaceCouponNumberLabel();
    PlaceCouponNote();
    RoundDisplays();
    for (const auto& [id, text] : buttonTexts_)
        SetWrappedButtonText(id, text);
    FitTexts();
}

void OperatorLayout::PlaceCells(int frameId, const std::vector<StaticControl*>& cells, int perLine,
                                const QFont& font) {
    QWidget* frame = Control(frameId);
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

void OperatorLayout::BuildCellGrid(int frameId, std::vector<StaticControl*>& cells, int perLine,
                                   int firstId, const std::vector<std::string>& texts,
                                   const QFont& font) {
    QWidget* frame = Control(frameId);
    if (!frame || perLine <= 0)
        return;
    for (StaticControl* cell : cells)
        delete cell;
    cells.clear();
    for (std::size_t k = 0; k < texts.size(); ++k) {
        auto* cell =
            new StaticControl(firstId + int(k), Qt::AlignHCenter | Qt::AlignTop, false, &window_);
        cell->setObjectName(QString::number(firstId + int(k)));
        cell->setText(QString::fromStdString(texts[k]));
        cell->setColourSource(colours_);
        cell->show();
        cells.push_back(cell);
    }
    PlaceCells(frameId, cells, perLine, font);
}

void OperatorLayout::BuildBoard(int n) {
    BuildCellGrid(Control::BoardFrame, boardCells_, kBoardCellsPerLine, Control::FirstBoardCell,
                  Helpers::MakeNumberLabels(n), paint_.font_board_cell);
    PlaceCouponNumberLabel();
}

void OperatorLayout::BuildCoupon(const std::vector<int>& numbers) {
    HideCouponNote();
    std::vector<std::string> texts;
    for (int number : numbers)
        texts.push_back(std::to_string(number));
    BuildCellGrid(Control::CouponFrame, couponCells_, kCouponCellsPerLine, Control::FirstCouponCell,
                  texts, paint_.font_coupon_cell);
    PlaceCouponNumberLabel();
}

void OperatorLayout::DeleteCells() {
    for (StaticControl* cell : boardCells_)
        delete cell;
    boardCells_.clear();
    for (StaticControl* cell : couponCells_)
        delete cell;
    couponCells_.clear();
}

void OperatorLayout::PlaceCouponNumberLabel() {
    QWidget* frame = Control(Control::CouponFrame);
    QWidget* label = Control(Control::CheckedCoupon);
    if (!frame || !label)
        return;
    const QRect f = frame->geometry();
    label->move(f.x() + (f.width() - label->width()) / 2, f.y() + f.height() + ScaledPixels(10));
}

void OperatorLayout::PlaceCouponNote() {
    QWidget* note = Control(Control::CouponNote);
    QWidget* frame = Control(Control::CouponFrame);
    // Over the blank coupon, inside the panel's frame, which follows its grid.
    if (note && frame)
        note->setGeometry(frame->geometry().adjusted(8, 14, -8, -8));
}

void OperatorLayout::ShowCouponNote(const QString& text) {
    auto* note = qobject_cast<StaticControl*>(Control(Control::CouponNote));
    if (!note)
        return;
    PlaceCouponNote();
    for (StaticControl* cell : couponCells_)
        cell->hide();
    note->setText(text);
    note->show();
    note->raise();
}

void OperatorLayout::HideCouponNote() {
    if (QWidget* note = Control(Control::CouponNote))
        note->hide();
    for (StaticControl* cell : couponCells_)
        cell->show();
}

bool OperatorLayout::CouponNoteShown() const {
    QWidget* note = Control(Control::CouponNote);
    return note && !note->isHidden();
}

} // namespace zorvi
