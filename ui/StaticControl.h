#pragma once

#include <QWidget>
#include <functional>
#include <optional>

#include "ColourRules.h"

namespace zorvi {

// A static text control that asks its owner for its colours each time it paints, as the
// operator window's displays, board cells and coupon cells do.
class StaticControl : public QWidget {
    Q_OBJECT
public:
    using ColourSource = std::function<std::optional<ControlColours>(int id, const QString& text)>;

    StaticControl(int id, Qt::Alignment alignment, bool wordWrap, QWidget* parent);
    ~StaticControl() override = default;

    int id() const { return id_; }
    void setText(const QString& text);
    const QString& text() const { return text_; }
    void setColourSource(ColourSource source) { source_ = std::move(source); }
    // The colours the last question would give now (tests and screenshots).
    std::optional<ControlColours> currentColours() const;

    // The alignment and wrapping it draws its text with.
    int textFlags() const;
    // The font it paints its text with: its own, made smaller where the text would not fit.
    QFont paintFont() const;

    // Shapes the control as the rounded rectangle (0, 0, width, height) with corners drawn by
    // an ellipse of the given size.
    void roundCorners(int ellipseWidth, int ellipseHeight);

protected:
    void paintEvent(QPaintEvent* event) override;
    void resizeEvent(QResizeEvent* event) override;

private:
    int id_;
    Qt::Alignment alignment_;
    bool wordWrap_;
    QString text_;
    ColourSource source_;
    mutable QFont fittedFont_;
    mutable QString fittedFor_;
    mutable QSize fittedSize_;
    mutable QFont fittedFrom_;
    int ellipseWidth_ = 0;
    int ellipseHeight_ = 0;
};

} // namespace zorvi
