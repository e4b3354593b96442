#pragma once

#include <string>
#include <vector>

#include "GameRecord.h"

namespace zorvi {

// The printed record of an evening: one A4 page a game where it fits, the game continued on
// further pages where it does not. Black text and lines only, so it copies and prints in black
// and white.
struct GameReportOptions {
    std::string title;         // the heading of every page (UTF-8); a default when empty
    std::string source;        // the log's file name, printed in every page's heading (UTF-8)
    bool several_logs = false; // the games name the log they are in

    // What the verifier found, for the first page.
    bool verified = false;
    std::vector<std::string> failures; // "file, line 12: reason", in the order of the logs
    std::size_t more_failures = 0;
    std::size_t seals_verified = 0;
    std::size_t unsealed_lines = 0;
    std::size_t checks_judged = 0;
    std::size_t checks_not_checkable = 0;
};

// The whole PDF file; `pages` (when given) gets its page count.
std::string RenderGameReport(const std::vector<RecordedGame>& games,
                             const GameReportOptions& options, std::size_t* pages = nullptr);

} // namespace zorvi
