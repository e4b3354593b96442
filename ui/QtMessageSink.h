#pragma once

#include "MessageSink.h"

namespace zorvi {

class Prompter;

// Shows the failures of the engine and services as plain boxes with one OK button, through
// the operator window's prompts.
class QtMessageSink : public MessageSink {
public:
    explicit QtMessageSink(Prompter& prompts) : prompts_(prompts) {}
    ~QtMessageSink() override = default;

    void ShowMessage(const std::string& text, const std::string& caption) override;

private:
    Prompter& prompts_;
};

} // namespace zorvi
