#pragma once

#include <string>
#include <utility>
#include <vector>

#include "MessageSink.h"

namespace zorvi::test {

// Keeps every message the code under test shows, in order.
class RecordingSink : public MessageSink {
public:
    void ShowMessage(const std::string& text, const std::string& caption) override {
        messages.emplace_back(text, caption);
    }
    std::vector<std::pair<std::string, std::string>> messages;
};

} // namespace zorvi::test
