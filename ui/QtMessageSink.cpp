#include "QtMessageSink.h"

#include "Prompter.h"

namespace zorvi {

void QtMessageSink::ShowMessage(const std::string& text, const std::string& caption) {
    prompts_.Message(QString::fromStdString(text), QString::fromStdString(caption));
}

} // namespace zorvi
