#pragma once

#include <QWidget>
#include <functional>

namespace zorvi {

// The top-level widget of the players' window: frameless, never focused, and it tells its
// owner about every mouse press so the operator window can take the keyboard focus back.
// Clicks on the disabled page view arrive here too, as a disabled widget passes them on.
class PublicScreenWindow : public QWidget {
    Q_OBJECT
public:
    explicit PublicScreenWindow(QWidget* owner);
    ~PublicScreenWindow() override = default;

    void SetOnClicked(std::function<void()> onClicked) { on_clicked_ = std::move(onClicked); }

protected:
    void mousePressEvent(QMouseEvent* event) override;
    void mouseDoubleClickEvent(QMouseEvent* event) override;
    void keyPressEvent(QKeyEvent* event) override;
    void closeEvent(QCloseEvent* event) override;

private:
    void Clicked();

    std::function<void()> on_clicked_;
};

} // namespace zorvi
