// The winning-now line of the operator window: how many coupons in play hold a bingo at this
// moment and the first of them. The players never see it. A click on it, or F2, checks the
// first coupon as if the operator had typed it and pressed Check.
#include <QLineEdit>
#include <QMetaObject>
#include <QPushButton>
#include <QStringList>

#include "CZorviDlg.h"
#include "ControlIds.h"

namespace zorvi {

void CZorviDlg::PostToWindowThread(std::function<void()> task) {
    // Queued to this window: a task still queued when the window goes is dropped with it.
    QMetaObject::invokeMethod(this, std::move(task), Qt::QueuedConnection);
}

void CZorviDlg::ShowWinningNow(int count, const std::vector<int>& first) {
    winningCount_ = count;
    winningFirst_ = first;
    ShowWinningNowText();
}

void CZorviDlg::ShowWinningNowText() {
    auto* line = qobject_cast<QPushButton*>(ControlById(Control::WinningNow));
    if (!line)
        return;
    if (winningCount_ <= 0 || winningFirst_.empty()) {
        line->hide();
        line->setText(QString());
        return;
    }
    QStringList numbers;
    for (const int coupon : winningFirst_)
        numbers << QString::number(coupon);
    if (winningCount_ > int(winningFirst_.size()))
        numbers << QStringLiteral("\u2026");
    line->setText(
        Text(TextId::TXT_WINNING_NOW).arg(winningCount_).arg(numbers.join(QStringLiteral(", "))));
    line->show();
    line->raise();
}

void CZorviDlg::CheckFirstWinningNow() {
    const std::optional<int> first = commands_.FirstWinningNow();
    if (!first || commands_.Busy())
        return;
    auto* field = qobject_cast<QLineEdit*>(ControlById(Control::CouponField));
    if (!field)
        return;
    field->setText(QString::number(*first));
    commands_.CheckCommand();
}

} // namespace zorvi
