#pragma once

#include <QPointer>
#include <QWidget>
#include <functional>

#include "MessageSink.h"

namespace zorvi {

// Shows the failures of the engine and services as plain boxes with one OK button, owned by
// the operator window. `afterBox` runs once each box has closed.
class QtMessageSink : public MessageSink {
public:
    explicit QtMessageSink(QWidget* owner) : owner_(owner) {}
    ~QtMessageSink() override = default;

    void ShowMessage(const std::string& text, const std::string& caption) override;
    void SetAfterBox(std::function<void()> afterBox) { afterBox_ = std::move(afterBox); }

private:
    QPointer<QWidget> owner_;
    std::function<void()> afterBox_;
};

} // namespace zorvi
