#include "StaticControl.h"

#include <QPainter>
#include <QPainterPath>
#include <QRegion>

#include "TextFit.h"

namespace zorvi {

StaticControl::StaticControl(int id, Qt::Alignment alignment, bool wordWrap, QWidget* parent)
    : QWidget(parent), id_(id), alignment_(alignment), wordWrap_(wordWrap) {}

void StaticControl::setText(const QString& text) {
    if (text == text_)
        return;
    text_ = text;
    update();
}

std::optional<ControlColours> StaticControl::currentColours() const {
    return source_ ? source_(id_, text_) : std::nullopt;
}

int StaticControl::textFlags() const {
    return int(alignment_) | (wordWrap_ ? int(Qt::TextWordWrap) : 0);
}

QFont StaticControl::paintFont() const {
    if (fittedFor_ != text_ || fittedSize_ != size() || fittedFrom_ != font()) {
        fittedFont_ = FontThatFits(font(), rect(), textFlags(), text_);
        fittedFor_ = text_;
        fittedSize_ = size();
        fittedFrom_ = font();
    }
    return fittedFont_;
}

void StaticControl::roundCorners(int ellipseWidth, int ellipseHeight) {
    ellipseWidth_ = ellipseWidth;
    ellipseHeight_ = ellipseHeight;
    if (ellipseWidth_ <= 0 || ellipseHeight_ <= 0) {
        clearMask();
        return;
    }
    QPainterPath path;
    path.addRoundedRect(QRectF(0, 0, width(), height()), ellipseWidth_ / 2.0, ellipseHeight_ / 2.0);
    setMask(QRegion(path.toFillPolygon().toPolygon()));
}

void StaticControl::resizeEvent(QResizeEvent* event) {
    QWidget::resizeEvent(event);
    if (ellipseWidth_ > 0)
        roundCorners(ellipseWidth_, ellipseHeight_);
}

void StaticControl::paintEvent(QPaintEvent*) {
    QPainter painter(this);
    const auto colours = currentColours();
    QColor textColour =
        palette().color(isEnabled() ? QPalette::Active : QPalette::Disabled, QPalette::WindowText);
    if (colours) {
        if (colours->brush)
            painter.fillRect(rect(), *colours->brush);
        if (colours->text)
            textColour = *colours->text;
    }
    if (text_.isEmpty())
        return;
    const int flags = textFlags();
    painter.setFont(paintFont());
    if (colours && colours->textBackground && !colours->brush) {
        const QRect used = painter.fontMetrics().boundingRect(rect(), flags, text_);
        painter.fillRect(used, *colours->textBackground);
    }
    painter.setPen(textColour);
    painter.drawText(rect(), flags, text_);
}

} // namespace zorvi
