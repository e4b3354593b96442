// The operator window's controls: their places in dialog units, their fonts,
// captions in the current language, and the two grids of cells built at run time.
#include <QCheckBox>
#include <QFontMetrics>
#include <QGroupBox>
#include <QLabel>
#include <QLineEdit>
#include <QPlainTextEdit>
#include <QPushButton>
#include <QRegularExpressionValidator>
#include <QScrollBar>
#include <QSlider>

#include "CZorviDlg.h"
#include "ControlIds.h"
#include "GameRules.h"
#include "Helpers.h"
#include "ProgramArt.h"
#include "StaticControl.h"
#include "TextFit.h"

namespace zorvi {

namespace {

enum class Kind { Frame, GroupBox, Static, Button, Check, Edit, Slider, Picture, List };

// Static text styles: centred (top, wrapping), centred both ways, plain (left, wrapping).
enum Style : unsigned {
    None = 0,
    Centred = 1,
    CentredBoth = 2,
    MultiLine = 4,
    Hidden = 8,
    Disabled = 16,
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
    {1000, Kind::GroupBox, 10, 1, 255, 102, Hidden, ""},
    {1031, Kind::Static, 20, 116, 60, 8, Centred, ""},
    {1021, Kind::Static, 83, 110, 45, 20, CentredBoth, "-"},
    {1061, Kind::Button, 190, 110, 65, 20, MultiLine, ""},
    {-2, Kind::Frame, 285, 0, 180, 135, None, ""},
    {1038, Kind::Static, 335, 9, 110, 8, Centred, ""},
    {1006, Kind::Static, 335, 19, 110, 81, CentredBoth, "-"},
    {1018, Kind::Static, 335, 104, 110, 25, CentredBoth, "-"},
    {1039, Kind::Static, 290, 43, 45, 15, Centred, ""},
    {1032, Kind::Static, 300, 62, 25, 25, CentredBoth, "-"},
    {-3, Kind::Frame, 5, 135, 230, 144, None, ""},
    {1010, Kind::GroupBox, 15, 140, 85, 75, None, ""},
    {1050, Kind::Static, 35, 220, 45, 20, CentredBoth, "-"},
    {1020, Kind::Static, 115, 147, 60, 10, Centred, ""},
    {1019, Kind::Edit, 125, 159, 40, 14, None, "1"},
    {1030, Kind::Button, 182, 145, 40, 30, None, ""},
    {1047, Kind::Static, 115, 180, 110, 20, CentredBoth, "-"},
    {1086, Kind::Static, 120, 205, 105, 8, Centred, ""},
    {1085, Kind::Static, 120, 215, 110, 8, None, ""},
    {1084, Kind::List, 115, 225, 115, 35, None, ""},
    {-4, Kind::Frame, 240, 135, 130, 144, None, ""},
    {1087, Kind::Static, 262, 143, 88, 47, Disabled, "AUTOMATIC ON"},
    {1016, Kind::Button, 270, 147, 70, 30, MultiLine, ""},
    {1088, Kind::Static, 265, 179, 80, 8, Centred, ""},
    {1017, Kind::Check, 274, 194, 70, 10, None, ""},
    {1045, Kind::Button, 256, 207, 10, 10, None, "-"},
    {1011, Kind::Slider, 268, 207, 75, 16, None, ""},
    {1046, Kind::Button, 344, 207, 10, 10, None, "+"},
    {1012, Kind::Static, 251, 224, 81, 8, None, ""},
    {1013, Kind::Static, 332, 224, 30, 8, Centred, ""},
    {1100, Kind::Static, 251, 235, 81, 8, None, ""},
    {1101, Kind::Static, 332, 235, 30, 8, Centred, "0"},
    {1035, Kind::Button, 257, 248, 40, 20, MultiLine, ""},
    {1004, Kind::Button, 312, 248, 40, 20, MultiLine, ""},
    {-5, Kind::Frame, 375, 135, 90, 50, None, ""},
    {1042, Kind::Static, 402, 144, 35, 8, Centred, ""},
    {1044, Kind::Button, 392, 161, 10, 10, None, "-"},
    {1041, Kind::Static, 408, 153, 25, 25, CentredBoth, "1"},
    {1043, Kind::Button, 438, 161, 10, 10, None, "+"},
    {1078, Kind::Picture, 381, 212, 90, 23, None, ""},
    {1009, Kind::Button, 375, 239, 45, 14, None, ""},
    {1001, Kind::Button, 425, 239, 40, 14, None, ""},
    {1089, Kind::Button, 383, 256, 75, 14, None, ""},
    {1092, Kind::Button, 375, 274, 13, 12, None, "-"},
    {1090, Kind::Slider, 390, 274, 57, 14, None, ""},
    {1093, Kind::Button, 452, 274, 13, 12, None, "+"},
    {1091, Kind::Static, 389, 289, 27, 8, None, ""},
    {1094, Kind::Static, 439, 289, 16, 8, None, ""},
};

// Greedy word wrap of a caption to a width, as a multi-line button breaks it.
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

bool CZorviDlg::IsWrappedButton(int id) {
    return id == Control::Draw || id == Control::CancelNumber || id == Control::NewGame ||
           id == Control::ShowDrawnNumbers;
}

void CZorviDlg::PlaceTemplateControls() {
    const DialogUnits units = LayoutUnits();
    for (std::size_t i = 0; i < std::size(kTemplate) && i < templateControls_.size(); ++i) {
        const TemplateItem& item = kTemplate[i];
        QWidget* widget = templateControls_[i];
        widget->setGeometry(
            units.Rect(item.left, item.top, item.width, item.height).translated(layoutOffset_));
        if (item.kind == Kind::Picture)
            static_cast<QLabel*>(widget)->setPixmap(LogoPixmap(widget->size()));
    }
}

void CZorviDlg::CreateControls() {
    auto colourSource = [this](int id, const QString& text) { return ControlColoursFor(id, text); };
    for (const TemplateItem& item : kTemplate) {
        const QRect rect = units_.Rect(item.left, item.top, item.width, item.height);
        const QString text = QString::fromLatin1(item.text);
        QWidget* widget = nullptr;
        switch (item.kind) {
        case Kind::Frame:
        case Kind::GroupBox: {
            auto* box = new QGroupBox(this);
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
            auto* label = new StaticControl(item.id, alignment, wrap, this);
            label->setText(text);
            label->setColourSource(colourSource);
            widget = label;
            break;
        }
        case Kind::Button: {
            auto* button = new QPushButton(text, this);
            // Enter and Esc never press a button of this window.
            button->setAutoDefault(false);
            button->setDefault(false);
            widget = button;
            break;
        }
        case Kind::Check:
            widget = new QCheckBox(text, this);
            break;
        case Kind::Edit: {
            auto* edit = new QLineEdit(text, this);
            edit->setAlignment(Qt::AlignCenter);
            edit->setValidator(new QRegularExpressionValidator(
                QRegularExpression(QStringLiteral("[0-9]*")), edit));
            widget = edit;
            break;
        }
        case Kind::Slider: {
            auto* slider = new QSlider(Qt::Horizontal, this);
            slider->setTickPosition(QSlider::NoTicks);
            slider->setRange(0, 100);
            widget = slider;
            break;
        }
        case Kind::Picture: {
            auto* picture = new QLabel(this);
            picture->setPixmap(LogoPixmap(rect.size()));
            picture->setAlignment(Qt::AlignLeft | Qt::AlignTop);
            widget = picture;
            break;
        }
        case Kind::List: {
            auto* list = new QPlainTextEdit(this);
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
        templateControls_.push_back(widget);
    }
}

void CZorviDlg::ShowCouponNotInSeries(int couponNumber, int couponCount) {
    noteCoupon_ = couponNumber;
    noteCouponCount_ = couponCount;
    if (!couponNote_) {
        couponNote_ = new StaticControl(kCouponNoteId, Qt::AlignCenter, true, this);
        couponNote_->setObjectName(QString::number(kCouponNoteId));
    }
    // Over the blank coupon, inside the panel's frame.
    if (QWidget* frame = ControlById(Control::CouponFrame))
        couponNote_->setGeometry(frame->geometry().adjusted(8, 14, -8, -8));
    QFont font = this->font();
    font.setBold(true);
    couponNote_->setFont(font);
    for (StaticControl* cell : couponCells_)
        cell->hide();
    ShowCouponNoteText();
    couponNote_->show();
    couponNote_->raise();
}

void CZorviDlg::ShowCouponNoteText() {
    if (!couponNote_ || noteCoupon_ == 0)
        return;
    couponNote_->setText(
        Text(TextId::TXT_COUPON_NOT_IN_SERIES).arg(noteCoupon_).arg(noteCouponCount_));
}

void CZorviDlg::HideCouponNote() {
    noteCoupon_ = 0;
    noteCouponCount_ = 0;
    if (couponNote_)
        couponNote_->hide();
    for (StaticControl* cell : couponCells_)
        cell->show();
}

void CZorviDlg::SetFonts() {
    auto setFont = [this](int id, const QFont& font) {
        if (QWidget* w = ControlById(id))
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
    setFont(Control::WinnersList, ScaledFont(paint_.font_list));
    setFont(Control::WinnersHeading, ScaledFont(paint_.font_list));
    FitButtonTexts();
}

QWidget* CZorviDlg::ControlById(int id) const {
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

QString CZorviDlg::ControlText(int id) const {
    QWidget* w = ControlById(id);
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

void CZorviDlg::SetWrappedButtonText(int id, const QString& text) {
    auto* button = qobject_cast<QPushButton*>(ControlById(id));
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

void CZorviDlg::FitButton(QAbstractButton* button) {
    const QFont base = ScaledFont(DialogFont());
    button->setFont(base);
    const TextPlace place = TextPlaceOf(*button);
    if (place.valid && !button->text().isEmpty())
        button->setFont(FontThatFits(base, place.rect, place.flags, button->text()));
}

void CZorviDlg::SetControlText(int id, const std::string& text) {
    captions_.erase(id);
    ShowText(id, QString::fromStdString(text));
}

void CZorviDlg::SetControlCaption(int id, TextId text) {
    captions_[id] = text;
    ShowText(id, Text(text));
}

void CZorviDlg::ShowText(int id, const QString& value) {
    QWidget* w = ControlById(id);
    if (!w)
        return;
    if (id == Control::IntervalDisplay)
        intervalDisplay_ = value;
    else if (id == Control::VolumeDisplay)
        volumeDisplay_ = value;
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

void CZorviDlg::RelabelWindow() {
    const auto set = [this](int id, TextId text) { SetControlCaption(id, text); };
    // What the game told the window (the Draw captions of the automatic mode, its status, the
    // verdict, the letter name) comes back in the current language.
    for (const auto& [id, text] : captions_)
        ShowText(id, Text(text));

    set(Control::BoardFrame, TextId::TXT_DRAWN_NUMBERS);
    set(Control::Exit, TextId::TXT_EXIT);
    set(Control::IntervalLabel, TextId::TXT_AUTOSPEED);
    set(Control::CouponFieldLabel, TextId::TXT_GRID);
    set(Control::Check, TextId::TXT_CHECK);
    set(Control::DrawnCountLabel, TextId::TXT_NUMBER_COUNT);
    set(Control::PreviousNumberLabel, TextId::TXT_PREVIOUS_NUMBER);
    set(Control::CurrentNumberLabel, TextId::TXT_NUMBER);
    set(Control::AutomaticCheck, TextId::TXT_AUTOMATIC);
    set(Control::CancelNumber, TextId::TXT_CANCEL_NUMBER);
    set(Control::NewGame, TextId::TXT_NEW_GAME);
    set(Control::RowLabel, TextId::TXT_ROW);
    set(Control::Settings, TextId::TXT_SETTINGS);
    set(Control::ShowDrawnNumbers, TextId::TXT_SHOW_DRAWN_NUMBERS);
    set(Control::WinnersLabel, TextId::TXT_WINNERS);
    set(Control::Fullscreen,
        settings_.dialog_mode == 1 ? TextId::TXT_WINDOWED : TextId::TXT_FULLSCREEN);
    set(Control::VolumeLabel, TextId::TXT_VOLUME);
    set(Control::NumberLimitLabel, TextId::TXT_NUMBER_LIMIT);

    const int lang = settings_.language;
    SetControlText(Control::WinnersHeading, Language::GetText(TextId::TXT_ROW, lang) + "  " +
                                                Language::GetText(TextId::TXT_NUMBER_COUNT, lang) +
                                                "  " + Language::GetText(TextId::TXT_GRID, lang));
    SetControlText(Control::WinnersList, BingoHelpers::FormatWinners(state_.winners, lang));
    ScrollWinnersToEnd();
    ShowCouponNoteText();
    ShowWinningNowText();
    if (publicScreen_->created())
        publicScreen_->SetButtonTexts();
}

void CZorviDlg::ScrollWinnersToEnd() {
    if (auto* list = qobject_cast<QPlainTextEdit*>(ControlById(Control::WinnersList)))
        list->verticalScrollBar()->setValue(list->verticalScrollBar()->maximum());
}

void CZorviDlg::BuildCellGrid(int frameId, std::vector<StaticControl*>& cells, int perLine,
                              int firstId, const std::vector<std::string>& texts,
                              const QFont& font) {
    QWidget* frame = ControlById(frameId);
    if (!frame || perLine <= 0)
        return;
    for (StaticControl* cell : cells)
        delete cell;
    cells.clear();
    auto colourSource = [this](int id, const QString& text) { return ControlColoursFor(id, text); };
    for (std::size_t k = 0; k < texts.size(); ++k) {
        auto* cell =
            new StaticControl(firstId + int(k), Qt::AlignHCenter | Qt::AlignTop, false, this);
        cell->setObjectName(QString::number(firstId + int(k)));
        cell->setText(QString::fromStdString(texts[k]));
        cell->setColourSource(colourSource);
        cell->show();
        cells.push_back(cell);
    }
    PlaceCells(frameId, cells, perLine, font);
}

void CZorviDlg::RebuildNumberBoard(int n) {
    BuildCellGrid(Control::BoardFrame, boardCells_, kBoardCellsPerLine, Control::FirstBoardCell,
                  Helpers::MakeNumberLabels(n), paint_.font_board_cell);
    PlaceCouponNumberLabel();
}

void CZorviDlg::ShowCoupon(const BingoCoupon& coupon) {
    HideCouponNote();
    std::vector<std::string> texts;
    for (int number : coupon.Numbers())
        texts.push_back(std::to_string(number));
    BuildCellGrid(Control::CouponFrame, couponCells_, GameRules::kRowLength,
                  Control::FirstCouponCell, texts, paint_.font_coupon_cell);
    // Compared while both the shown coupon and the blank one are views of the current series.
    couponPanelBlank_ = coupon == coupons_.BlankCoupon();
    PlaceCouponNumberLabel();
}

void CZorviDlg::ClearCouponPanel() {
    HideCouponNote();
    const BingoCoupon blank = coupons_.BlankCoupon();
    if (couponPanelBlank_ && couponCells_.size() == blank.size())
        return;
    std::vector<std::string> texts;
    for (int number : blank.Numbers())
        texts.push_back(std::to_string(number));
    BuildCellGrid(Control::CouponFrame, couponCells_, GameRules::kRowLength,
                  Control::FirstCouponCell, texts, paint_.font_coupon_cell);
    couponPanelBlank_ = true;
    SetControlText(Control::CheckResult, "-");
    SetControlText(Control::CheckedCoupon, "-");
}

void CZorviDlg::PlaceCouponNumberLabel() {
    QWidget* frame = ControlById(Control::CouponFrame);
    QWidget* label = ControlById(Control::CheckedCoupon);
    if (!frame || !label)
        return;
    const QRect f = frame->geometry();
    label->move(f.x() + (f.width() - label->width()) / 2, f.y() + f.height() + ScaledPixels(10));
}

void CZorviDlg::RoundControlCorners(int id, int ellipseWidth, int ellipseHeight) {
    if (auto* s = qobject_cast<StaticControl*>(ControlById(id)))
        s->roundCorners(ScaledPixels(ellipseWidth), ScaledPixels(ellipseHeight));
}

void CZorviDlg::DeleteCells() {
    for (StaticControl* cell : boardCells_)
        delete cell;
    boardCells_.clear();
    for (StaticControl* cell : couponCells_)
        delete cell;
    couponCells_.clear();
    couponPanelBlank_ = false;
}

void CZorviDlg::RepaintBoard() {
    // Only the board cells change after a draw.
    for (StaticControl* cell : boardCells_)
        cell->update();
}

void CZorviDlg::RepaintCouponPanel() {
    if (QWidget* frame = ControlById(Control::CouponFrame))
        frame->update();
    for (StaticControl* cell : couponCells_)
        cell->update();
}

void CZorviDlg::RedrawAll() {
    update();
    for (QWidget* child : findChildren<QWidget*>(Qt::FindDirectChildrenOnly))
        child->update();
    repaint();
}

} // namespace zorvi
