#include "ProgramArt.h"

#include <QFont>
#include <QFontMetricsF>
#include <QPainter>
#include <QPainterPath>
#include <algorithm>
#include <array>

namespace zorvi {

namespace {

void DrawBall(QPainter& p, const QRectF& r, const QColor& colour, const QString& text) {
    QRadialGradient shade(r.center() - QPointF(r.width() / 5, r.height() / 5), r.width() / 1.6);
    shade.setColorAt(0, colour.lighter(160));
    shade.setColorAt(1, colour);
    p.setPen(Qt::NoPen);
    p.setBrush(shade);
    p.drawEllipse(r);
    const QRectF face =
        r.adjusted(r.width() * 0.22, r.height() * 0.22, -r.width() * 0.22, -r.height() * 0.22);
    p.setBrush(Qt::white);
    p.drawEllipse(face);
    QFont font(QStringLiteral("Arial"));
    font.setBold(true);
    font.setPixelSize(std::max(4, int(face.height() * 0.62)));
    p.setFont(font);
    p.setPen(QColor(20, 20, 20));
    p.drawText(face, Qt::AlignCenter, text);
}

} // namespace

QIcon ProgramIcon() {
    QIcon icon;
    for (int size : {16, 32, 48, 64, 128, 256}) {
        QPixmap pixmap(size, size);
        pixmap.fill(Qt::transparent);
        QPainter p(&pixmap);
        p.setRenderHint(QPainter::Antialiasing);
        DrawBall(p, QRectF(0.5, 0.5, size - 1.0, size - 1.0), QColor(0, 130, 255),
                 size >= 32 ? QStringLiteral("Z") : QString());
        icon.addPixmap(pixmap);
    }
    return icon;
}

QPixmap LogoPixmap(const QSize& size) {
    QPixmap pixmap(size.isValid() ? size : QSize(1, 1));
    pixmap.fill(Qt::transparent);
    QPainter p(&pixmap);
    p.setRenderHint(QPainter::Antialiasing);
    const qreal h = pixmap.height();
    const qreal w = pixmap.width();
    const std::array<QColor, 3> colours = {QColor(255, 0, 0), QColor(0, 160, 30),
                                           QColor(230, 149, 0)};
    // Three overlapping balls on the left, the name on the right, both inside the picture.
    const qreal ball = std::min(h * 0.8, w * 0.16);
    const qreal step = ball * 0.7;
    const qreal top = (h - ball) / 2;
    for (int i = 0; i < 3; ++i)
        DrawBall(p, QRectF(1 + i * step, top, ball, ball), colours[size_t(i)], QString());
    const qreal textLeft = 1 + 2 * step + ball + ball * 0.2;
    const QRectF textRect(textLeft, 0, w - textLeft - 2, h);
    QFont font(QStringLiteral("Arial"));
    font.setBold(true);
    font.setItalic(true);
    const QString name = QStringLiteral("ZORVI");
    int pixels = std::max(6, int(h * 0.75));
    for (; pixels > 6; --pixels) {
        font.setPixelSize(pixels);
        if (QFontMetricsF(font).horizontalAdvance(name) + 2 <= textRect.width())
            break;
    }
    font.setPixelSize(pixels);
    p.setFont(font);
    p.setPen(QColor(0, 121, 17));
    p.drawText(textRect.translated(1.5, 1.5), Qt::AlignVCenter | Qt::AlignLeft, name);
    p.setPen(QColor(0, 130, 255));
    p.drawText(textRect, Qt::AlignVCenter | Qt::AlignLeft, name);
    return pixmap;
}

} // namespace zorvi
