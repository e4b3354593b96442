#include "LogWriter.h"

#include <system_error>

#include "Folders.h"
#include "MessageSink.h"

#ifdef _WIN32
#include <io.h>
#else
#include <unistd.h>
#endif

namespace zorvi {

namespace fs = std::filesystem;

namespace {

std::tm LocalNow() {
    const std::time_t now = std::time(nullptr);
    std::tm local{};
#ifdef _WIN32
    localtime_s(&local, &now);
#else
    localtime_r(&now, &local);
#endif
    return local;
}

// Pushes what the stream holds down to the disk.
bool FlushToDisk(std::FILE* file) {
    if (std::fflush(file) != 0)
        return false;
#ifdef _WIN32
    return _commit(_fileno(file)) == 0;
#else
    return ::fsync(fileno(file)) == 0;
#endif
}

} // namespace

LogWriter::LogWriter() : clock_(LocalNow) {}

LogWriter::~LogWriter() {
    CloseLog();
}

std::string LogWriter::FormatLine(const std::tm& time, const std::string& message) {
    // The log is read in a text editor, so lines end in CR LF on every platform.
    return std::to_string(time.tm_year + 1900) + "-" + std::to_string(time.tm_mon + 1) + "-" +
           std::to_string(time.tm_mday) + " " + std::to_string(time.tm_hour) + ":" +
           std::to_string(time.tm_min) + ":" + std::to_string(time.tm_sec) + ": " + message +
           "\r\n";
}

fs::path LogWriter::LogFileName(const std::tm& time) {
    return std::to_string(time.tm_year + 1900) + "-" + std::to_string(time.tm_mon + 1) + ".log";
}

// Other writers are not locked out while the file is open: POSIX has no sharing mode, and
// only this program writes the file.
void LogWriter::OpenLog(MessageSink* messages) {
    if (open_ != 0)
        return;
    messages_ = messages;
    writeFailureShown_ = false;
    const std::tm now = clock_ ? clock_() : LocalNow();

    Helpers::EnsureDataFolder();
    const fs::path folder = Helpers::GetDataFolder() / "logs";
    std::error_code ec;
    fs::create_directory(folder, ec);
    const fs::path path = folder / LogFileName(now);

    // Binary append: the CR LF ends are written as they are, and nothing is ever truncated.
#ifdef _WIN32
    file_ = _wfopen(path.c_str(), L"ab");
#else
    file_ = std::fopen(path.c_str(), "ab");
#endif
    if (file_ == nullptr) {
        if (messages_ != nullptr)
            messages_->ShowMessage("Failed opening log file", "");
        return;
    }
    // Unbuffered: a line goes to the file in one write, and a failed write leaves nothing
    // behind to come out later in the middle of another line.
    std::setvbuf(file_, nullptr, _IONBF, 0);
    path_ = path;
    open_ = 1;
}

void LogWriter::WriteLog(const std::string& message) {
    if (open_ == 0)
        return;
    const std::string line = FormatLine(clock_ ? clock_() : LocalNow(), message);
    const bool written = std::fwrite(line.data(), 1, line.size(), file_) == line.size();
    if (FlushToDisk(file_) && written)
        return;
    // The line is lost, the game goes on; the operator hears of it once.
    std::clearerr(file_);
    if (!writeFailureShown_ && messages_ != nullptr) {
        writeFailureShown_ = true;
        messages_->ShowMessage("Failed writing log file", "");
    }
}

void LogWriter::CloseLog() {
    if (open_ == 0)
        return;
    std::fclose(file_);
    file_ = nullptr;
    path_.clear();
    open_ = 0;
}

std::string LogWriter::GetLogFilePath() const {
    if (open_ == 0)
        return {};
    const std::u8string utf8 = path_.u8string();
    return std::string(utf8.begin(), utf8.end());
}

} // namespace zorvi
