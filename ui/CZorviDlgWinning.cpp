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

namespace {

// Under the coupon check and the drawing frames, left of the volume controls (dialog units).
constexpr int kLineLeft = 5;
constexpr int kLineTop = 283;
constexpr int kLineWidth = 365;
constexpr int kLineHeight = 14;

} // namespace

void CZorviDlg::PostToWindowThread(std::function<void()> task) {
    // Queued to this window: a task still queued when the window goes is dropped with it.
    QMetaObject::invokeMethod(this, std::move(task), Qt::QueuedConnection);
}

void CZorviDlg::ShowWinningNow(int count, const std::vector<int>& first) {
    winningCount_ = count;
    winningFirst_ = first;
    if (!winningNow_) {
        if (count == 0)
            return;
        auto* line = new QPushButton(this);
        line->setObjectName(QString::number(kWinningNowId));
        line->setFlat(true);
        // Clicks only: the focus stays in the coupon field.
        line->setFocusPolicy(Qt::NoFocus);
        line->setStyleSheet(QStringLiteral("text-align: left; font-weight: bold;"));
        connect(line, &QPushButton::clicked, this, [this] { CheckFirstWinningNow(); });
        winningNow_ = line;
        PlaceWinningNow();
    }
    ShowWinningNowText();
}

void CZorviDlg::ShowWinningNowText() {
    if (!winningNow_)
        return;
    if (winningCount_ <= 0 || winningFirst_.empty()) {
        winningNow_->hide();
        winningNow_->setText(QString());
        return;
    }
    QStringList numbers;
    for (const int coupon : winningFirst_)
        numbers << QString::number(coupon);
    if (winningCount_ > int(winningFirst_.size()))
        numbers << QStringLiteral("\u2026");
    winningNow_->setText(
        Text(TextId::TXT_WINNING_NOW).arg(winningCount_).arg(numbers.join(QStringLiteral(", "))));
    winningNow_->show();
    winningNow_->raise();
}

void CZorviDlg::PlaceWinningNow() {
    if (!winningNow_)
        return;
    winningNow_->setGeometry(LayoutUnits()
                                 .Rect(kLineLeft, kLineTop, kLineWidth, kLineHeight)
                                 .translated(LayoutOffset()));
    winningNow_->setFont(ScaledFont(DialogFont()));
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
