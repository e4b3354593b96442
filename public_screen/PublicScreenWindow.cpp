#include "PublicScreenWindow.h"

#include <QCloseEvent>
#include <QKeyEvent>
#include <QMouseEvent>

namespace zorvi {

PublicScreenWindow::PublicScreenWindow(QWidget* owner)
    : QWidget(owner,
              Qt::Window | Qt::FramelessWindowHint | Qt::Tool | Qt::WindowDoesNotAcceptFocus) {
    setObjectName(QStringLiteral("PublicScreen"));
    setAttribute(Qt::WA_ShowWithoutActivating);
    setFocusPolicy(Qt::NoFocus);
    setAutoFillBackground(true);
    QPalette pal = palette();
    pal.setColor(QPalette::Window, Qt::black);
    setPalette(pal);
}

void PublicScreenWindow::mousePressEvent(QMouseEvent* event) {
    QWidget::mousePressEvent(event);
    Clicked();
}

void PublicScreenWindow::mouseDoubleClickEvent(QMouseEvent* event) {
    QWidget::mouseDoubleClickEvent(event);
    Clicked();
}

void PublicScreenWindow::keyPressEvent(QKeyEvent* event) {
    // Enter and Esc do nothing here; the operator window owns the keys.
    event->accept();
}

void PublicScreenWindow::closeEvent(QCloseEvent* event) {
    // Only the desktop closes this window (a taskbar close, Alt+F4, the window manager): the
    // program hides it and ends it without a close. Refused, the players keep their screen
    // where it is, with its page running; the operator still hides it (Esc, its close button)
    // and the settings still turn it off.
    event->ignore();
}

void PublicScreenWindow::Clicked() {
    if (on_clicked_)
        on_clicked_();
}

} // namespace zorvi
