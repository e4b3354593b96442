#pragma once

#include <string>
#include <utility>
#include <vector>

#include "MessageSink.h"

namespace zorvi::test {

// Keeps every message box the engine asked for, as (text, caption).
class RecordingMessages : public MessageSink {
public:
    void ShowMessage(const std::string& text, const std::string& caption) override {
        shown.emplace_back(text, caption);
    }

    std::vector<std::pair<std::string, std::string>> shown;
};

} // namespace zorvi::test
