// What the operator window shows in its controls: texts and captions in the current language,
// the number board and the coupon panel, and the layout's scale in full-screen mode. Where the
// controls stand and how their texts fit is the layout's (OperatorLayout).
#include <QPlainTextEdit>
#include <QResizeEvent>
#include <QScrollBar>

#include "CZorviDlg.h"
#include "ControlIds.h"
#include "StaticControl.h"

namespace zorvi {

void CZorviDlg::ScaleLayoutTo(QSize area) {
    // Window mode shows the layout at its own size; full-screen mode scales the whole of it to
    // fill the screen, so that the board can be read from a step back.
    layout_.ScaleTo(settings_.dialog_mode == 1 ? area : QSize());
}

void CZorviDlg::resizeEvent(QResizeEvent* event) {
    QDialog::resizeEvent(event);
    if (settings_.dialog_mode == 1)
        ScaleLayoutTo(event->size());
}

void CZorviDlg::ShowCouponNotInSeries(int couponNumber, int couponCount) {
    noteCoupon_ = couponNumber;
    noteCouponCount_ = couponCount;
    layout_.ShowCouponNote(CouponNoteText());
}

QString CZorviDlg::CouponNoteText() const {
    return Text(TextId::TXT_COUPON_NOT_IN_SERIES).arg(noteCoupon_).arg(noteCouponCount_);
}

void CZorviDlg::ShowCouponNoteText() {
    if (noteCoupon_ != 0)
        layout_.SetText(Control::CouponNote, CouponNoteText());
}

void CZorviDlg::HideCouponNote() {
    noteCoupon_ = 0;
    noteCouponCount_ = 0;
    layout_.HideCouponNote();
}

QWidget* CZorviDlg::ControlById(int id) const {
    return layout_.Control(id);
}

QString CZorviDlg::ControlText(int id) const {
    return layout_.Text(id);
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
    if (!ControlById(id))
        return;
    if (id == Control::IntervalDisplay)
        intervalDisplay_ = value;
    else if (id == Control::VolumeDisplay)
        volumeDisplay_ = value;
    layout_.SetText(id, value);
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
    set(Control::BallFieldLabel, TextId::TXT_BALL);
    set(Control::BallSourceStatus, TextId::TXT_BALL_SOURCE_MACHINE);
    set(Control::NextGame, TextId::TXT_NEXT_GAME);
    set(Control::Programme, TextId::TXT_PROGRAMME);

    const int lang = settings_.language;
    SetControlText(Control::WinnersHeading, Language::GetText(TextId::TXT_ROW, lang) + "  " +
                                                Language::GetText(TextId::TXT_NUMBER_COUNT, lang) +
                                                "  " + Language::GetText(TextId::TXT_GRID, lang));
    SetControlText(Control::WinnersList, BingoHelpers::FormatWinners(state_.winners, lang));
    ScrollWinnersToEnd();
    ShowCouponNoteText();
    ShowWinningNowText();
    ShowBallRefusedText();
    ShowProgrammeStageText();
    if (publicScreen_->created())
        publicScreen_->SetButtonTexts();
}

void CZorviDlg::ScrollWinnersToEnd() {
    if (auto* list = qobject_cast<QPlainTextEdit*>(ControlById(Control::WinnersList)))
        list->verticalScrollBar()->setValue(list->verticalScrollBar()->maximum());
}

void CZorviDlg::RebuildNumberBoard(int n) {
    layout_.BuildBoard(n);
    WatchBoardClicks();
}

void CZorviDlg::ShowCoupon(const BingoCoupon& coupon) {
    HideCouponNote();
    layout_.BuildCoupon(coupon.Numbers());
    // Compared while both the shown coupon and the blank one are views of the current series.
    couponPanelBlank_ = coupon == coupons_.BlankCoupon();
}

void CZorviDlg::ClearCouponPanel() {
    HideCouponNote();
    const BingoCoupon blank = coupons_.BlankCoupon();
    if (couponPanelBlank_ && layout_.CouponCells().size() == blank.size())
        return;
    layout_.BuildCoupon(blank.Numbers());
    couponPanelBlank_ = true;
    SetControlText(Control::CheckResult, "-");
    SetControlText(Control::CheckedCoupon, "-");
}

void CZorviDlg::RepaintBoard() {
    // Only the board cells change after a draw.
    for (StaticControl* cell : layout_.BoardCells())
        cell->update();
}

void CZorviDlg::RepaintCouponPanel() {
    if (QWidget* frame = ControlById(Control::CouponFrame))
        frame->update();
    for (StaticControl* cell : layout_.CouponCells())
        cell->update();
}

void CZorviDlg::RedrawAll() {
    update();
    for (QWidget* child : findChildren<QWidget*>(Qt::FindDirectChildrenOnly))
        child->update();
    repaint();
}

} // namespace zorvi
