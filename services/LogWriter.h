#pragma once

#include <cstdio>
#include <ctime>
#include <filesystem>
#include <functional>
#include <string>

#include "LogSink.h"

namespace zorvi {

class MessageSink;

// The monthly game log: "logs/<year>-<month>.log" in the data folder, one time-stamped
// line per event, each line on disk before WriteLog returns.
class LogWriter : public LogSink {
public:
    using Clock = std::function<std::tm()>; // local date and time

    LogWriter();
    ~LogWriter() override;
    LogWriter(const LogWriter&) = delete;
    LogWriter& operator=(const LogWriter&) = delete;

    // A swappable clock for tests; the default is the local time of the system.
    void SetClock(Clock clock) { clock_ = std::move(clock); }

    // Opens the month's file for appending; on failure shows "Failed opening log file".
    void OpenLog(MessageSink* messages);
    // Appends one line when the log is open. A failed write drops the line and never stops the
    // game; the first failure is told once through the message sink given at OpenLog. A line
    // that could be written only in part is cut off again, so the log holds whole lines only.
    void WriteLog(const std::string& message) override;
    // Writes "Game seal: " with the chain value of every line before it; gives the value, or
    // nothing when the line could not be written.
    std::string SealGame() override;
    // Closes the file after a "Log seal: " line, so that nothing written up to here can be
    // changed unnoticed while the program is not running.
    void CloseLog();
    // Path of the open log file, or empty when none is open.
    std::string GetLogFilePath() const;
    bool IsOpen() const { return open_ != 0; }

    static std::filesystem::path LogFileName(const std::tm& time);

private:
    bool Append(const std::string& message);
    // The chain value of the file's complete lines, and the torn line at its end, from the
    // file itself.
    void ReadChain();

    int open_ = 0;
    std::FILE* file_ = nullptr;
    std::filesystem::path path_;
    Clock clock_;
    MessageSink* messages_ = nullptr;
    bool writeFailureShown_ = false;
    bool needsLineBreak_ = false; // the file ends inside a line: begin the next on a new one
    std::string chain_;           // over every complete line of the file
    std::string fragment_;        // the file's torn last line, folded once a line ends it
};

} // namespace zorvi
