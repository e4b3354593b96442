#pragma once

#include <string>

namespace zorvi {

// The few failures the operator must see leave the engine and services through
// this interface; the operator window shows them as message boxes, tests record them.
class MessageSink {
public:
    virtual ~MessageSink() = default;
    // A box with one OK button; returns once the operator has closed it.
    virtual void ShowMessage(const std::string& text, const std::string& caption) = 0;
};

} // namespace zorvi
