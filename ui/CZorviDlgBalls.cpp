// Balls from the hall's machine: the caller reads each ball aloud and types it into the ball
// field (or clicks it on the board), and the game follows as after a draw. The Draw button and
// automatic drawing give way to the field while the machine draws.
#include <QAbstractButton>
#include <QEvent>
#include <QLineEdit>
#include <QMouseEvent>
#include <QSlider>
#include <QTimer>
#include <algorithm>

#include "CZorviDlg.h"
#include "ConfirmDlg.h"
#include "ControlIds.h"
#include "DialogResult.h"
#include "StaticControl.h"

namespace zorvi {

namespace {

// What the computer's draw shows and the machine has no use for; the automatic panel and its
// status follow the automatic mode, which the game keeps manual for the machine.
constexpr int kComputerDrawControls[] = {
    Control::Draw,       Control::AutomaticCheck, Control::IntervalDown,    Control::IntervalSlider,
    Control::IntervalUp, Control::IntervalLabel,  Control::IntervalDisplay,
};
constexpr int kBallControls[] = {Control::BallFieldLabel, Control::BallField, Control::BallRefused,
                                 Control::BallSourceStatus};

// The text of a refusal: %1 the entry, %2 the highest ball. Replaced by hand, as not every text
// holds both and QString::arg complains of the missing one.
QString Refusal(QString text, long long entered, int highest) {
    text.replace(QStringLiteral("%1"), QString::number(entered));
    text.replace(QStringLiteral("%2"), QString::number(highest));
    return text;
}

} // namespace

void CZorviDlg::ShowBallSource(bool machine) {
    ballMachine_ = machine;
    for (const int id : kComputerDrawControls)
        ShowControl(id, !machine);
    if (machine) {
        ShowControl(Control::AutomaticPanel, false);
        ShowControl(Control::AutomaticStatus, false);
    }
    for (const int id : kBallControls)
        ShowControl(id, machine);
    // While the machine draws, a click on a button or a slider leaves the keyboard in the field
    // the caller types into: the next ball follows a recall or a row change without a click on
    // the field first.
    const auto controls = findChildren<QWidget*>(Qt::FindDirectChildrenOnly);
    for (QWidget* control : controls) {
        if (!qobject_cast<QAbstractButton*>(control) && !qobject_cast<QSlider*>(control))
            continue;
        if (machine) {
            if (control->focusPolicy() != Qt::NoFocus)
                clickFocus_.emplace(control, control->focusPolicy());
            control->setFocusPolicy(Qt::NoFocus);
        } else if (const auto kept = clickFocus_.find(control); kept != clickFocus_.end()) {
            control->setFocusPolicy(kept->second);
        }
    }
    if (!machine)
        clickFocus_.clear();
    // A new or resumed game starts with an empty field and nothing refused.
    if (auto* field = qobject_cast<QLineEdit*>(ControlById(Control::BallField)))
        field->clear();
    ShowBallRefused(std::nullopt, 0, 0);
}

std::optional<long long> CZorviDlg::ReadBallNumber() {
    auto* field = qobject_cast<QLineEdit*>(ControlById(Control::BallField));
    if (!field)
        return std::nullopt;
    const QString text = field->text();
    // Emptied at once: the next ball is typed over nothing, whatever becomes of this one.
    field->clear();
    if (text.isEmpty() ||
        !std::all_of(text.begin(), text.end(), [](QChar c) { return c.isDigit(); }))
        return std::nullopt;
    bool ok = false;
    const long long ball = text.toLongLong(&ok);
    return ok ? std::optional<long long>(ball) : std::nullopt;
}

void CZorviDlg::FocusBallField() {
    if (QWidget* field = ControlById(Control::BallField))
        field->setFocus(Qt::OtherFocusReason);
}

void CZorviDlg::FocusEntryField() {
    if (commands_.BallMachine())
        FocusBallField();
    else
        FocusCouponField();
}

bool CZorviDlg::AskBallConfirmation(int ball) {
    ConfirmDlg dialog(settings_, this);
    dialog.SetQuestion(Text(TextId::TXT_CONFIRM_ENTER_BALL).arg(ball));
    return prompts_.Run(dialog) == kResultYes;
}

void CZorviDlg::ShowBallRefused(std::optional<TextId> reason, long long entered, int highest) {
    // Beside the field, never in a box: the caller is reading balls aloud and has no hand free
    // to close one.
    ballRefusal_ = reason;
    ballEntered_ = entered;
    ballHighest_ = highest;
    ShowBallRefusedText();
}

void CZorviDlg::ShowBallRefusedText() {
    layout_.SetText(Control::BallRefused,
                    ballRefusal_ ? Refusal(Text(*ballRefusal_), ballEntered_, ballHighest_)
                                 : QString());
}

void CZorviDlg::WatchBoardClicks() {
    for (StaticControl* cell : layout_.BoardCells())
        cell->installEventFilter(this);
}

void CZorviDlg::BoardNumberClicked(int number) {
    // The computer's draw takes nothing from the board.
    if (commands_.BallMachine())
        commands_.EnterBallFromBoard(number);
}

void CZorviDlg::OnBoardCellEvent(QObject* watched, QEvent* event) {
    if (event->type() != QEvent::MouseButtonRelease)
        return;
    auto* cell = qobject_cast<StaticControl*>(watched);
    const auto* mouse = static_cast<QMouseEvent*>(event);
    const int first = Control::FirstBoardCell;
    const int count = int(layout_.BoardCells().size());
    if (!cell || cell->id() < first || cell->id() >= first + count ||
        mouse->button() != Qt::LeftButton || !cell->rect().contains(mouse->position().toPoint()))
        return;
    // After the release is over: the confirmation runs a message loop of its own, and the board
    // may be built anew under it.
    const int number = cell->id() - first + 1;
    QTimer::singleShot(0, this, [this, number] { BoardNumberClicked(number); });
}

} // namespace zorvi
