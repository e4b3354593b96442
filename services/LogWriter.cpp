#include "LogWriter.h"

#include <system_error>

#include "Folders.h"
#include "LogLines.h"
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

// The length of the file, which is where the next appended line begins; -1 when unknown.
long long EndOfFile(std::FILE* file) {
    if (std::fseek(file, 0, SEEK_END) != 0)
        return -1;
#ifdef _WIN32
    return _ftelli64(file);
#else
    return ::ftello(file);
#endif
}

// Cuts the file back to the given length, taking a torn line off its end.
bool CutBack(std::FILE* file, long long length) {
    if (length < 0)
        return false;
#ifdef _WIN32
    return _chsize_s(_fileno(file), length) == 0;
#else
    return ::ftruncate(fileno(file), static_cast<off_t>(length)) == 0;
#endif
}

} // namespace

LogWriter::LogWriter() : clock_(LocalNow) {}

LogWriter::~LogWriter() {
    CloseLog();
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

    // Only a regular file (or none yet): opening a named pipe for writing would wait for a
    // reader for ever, and a device is no log.
    const fs::file_status status = fs::status(path, ec);
    if (fs::exists(status) && !fs::is_regular_file(status)) {
        if (messages_ != nullptr)
            messages_->ShowMessage("Failed opening log file", "");
        return;
    }
    // Binary append: the CR LF ends are written as they are; only a torn line of our own is
    // ever cut off. Reading is needed to look at the file's last byte.
#ifdef _WIN32
    file_ = _wfopen(path.c_str(), L"a+b");
#else
    file_ = std::fopen(path.c_str(), "a+b");
#endif
    if (file_ == nullptr) {
        if (messages_ != nullptr)
            messages_->ShowMessage("Failed opening log file", "");
        return;
    }
    // Unbuffered: a line goes to the file in one write, and a failed write leaves nothing
    // behind to come out later in the middle of another line.
    std::setvbuf(file_, nullptr, _IONBF, 0);
    ReadChain();
    path_ = path;
    open_ = 1;
}

void LogWriter::ReadChain() {
    chain_ = std::string(LogLines::kChainStart);
    fragment_.clear();
    if (std::fseek(file_, 0, SEEK_SET) == 0) {
        char buffer[65536];
        std::size_t got = 0;
        while ((got = std::fread(buffer, 1, sizeof buffer, file_)) > 0) {
            for (std::size_t i = 0; i < got; ++i) {
                if (buffer[i] != '\n') {
                    fragment_ += buffer[i];
                    continue;
                }
                if (!fragment_.empty() && fragment_.back() == '\r')
                    fragment_.pop_back();
                chain_ = LogLines::ChainNext(chain_, fragment_);
                fragment_.clear();
            }
        }
    }
    std::clearerr(file_);
    needsLineBreak_ = !fragment_.empty();
}

void LogWriter::WriteLog(const std::string& message) {
    Append(message);
}

bool LogWriter::Append(const std::string& message) {
    if (open_ == 0)
        return false;
    std::string line = LogLines::Stamped(clock_ ? clock_() : LocalNow(), message);
    const std::string content = line.substr(0, line.size() - 2); // without its CR LF
    if (needsLineBreak_)
        line.insert(0, "\r\n");
    const long long start = EndOfFile(file_);
    const bool written = std::fwrite(line.data(), 1, line.size(), file_) == line.size();
    if (written) {
        // The line is in the file, so it is in the chain, even should the disk not confirm it.
        if (needsLineBreak_)
            chain_ = LogLines::ChainNext(chain_, fragment_);
        fragment_.clear();
        chain_ = LogLines::ChainNext(chain_, content);
        needsLineBreak_ = false;
        if (FlushToDisk(file_))
            return true;
    } else {
        // A full disk took part of the line: cut it off, so every line of the log stays whole.
        // Should that fail too, the next line starts on a line of its own, and the chain takes
        // the torn piece as the file holds it.
        std::clearerr(file_);
        if (!CutBack(file_, start))
            ReadChain();
    }
    // The line is lost (or not confirmed), the game goes on; the operator hears of it once.
    std::clearerr(file_);
    if (!writeFailureShown_ && messages_ != nullptr) {
        writeFailureShown_ = true;
        messages_->ShowMessage("Failed writing log file", "");
    }
    return written;
}

std::string LogWriter::SealGame() {
    const std::string seal = chain_;
    return Append(LogLines::GameSeal(seal)) ? seal : std::string();
}

void LogWriter::CloseLog() {
    if (open_ == 0)
        return;
    Append(LogLines::LogSeal(chain_));
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
