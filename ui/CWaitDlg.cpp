#include "CWaitDlg.h"

#include <QGuiApplication>
#include <QLabel>
#include <QScreen>

namespace zorvi {

CWaitDlg::CWaitDlg(const QString& text, QWidget* owner) : PromptDialog(owner, 11, 92, 41, false) {
    setWindowFlag(Qt::WindowStaysOnTopHint, true);
    setModal(false);
    auto* label = new QLabel(text, this);
    label->setObjectName(QStringLiteral("1051"));
    label->setGeometry(units().Rect(5, 5, 85, 30));
    label->setAlignment(Qt::AlignCenter);
    label->setTextFormat(Qt::PlainText);
}

void CWaitDlg::ShowCentred() {
    show();
    const QScreen* screen = QGuiApplication::primaryScreen();
    if (!screen)
        return;
    const QRect desktop = screen->geometry();
    const QSize size = frameGeometry().size();
    move(desktop.x() + desktop.width() / 2 - size.width() / 2,
         desktop.y() + desktop.height() / 2 - size.height() / 2);
}

} // namespace zorvi
