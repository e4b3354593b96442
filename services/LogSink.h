#pragma once

#include <string>

namespace zorvi {

// Where the game's events go as lines of the game log; the monthly log file is the program's,
// tests record them.
class LogSink {
public:
    virtual ~LogSink() = default;
    virtual void WriteLog(const std::string& line) = 0;
    // The end of a game: the log seals what it holds and gives the seal (empty when it has
    // none to give), which the players are shown.
    virtual std::string SealGame() { return {}; }
};

} // namespace zorvi
