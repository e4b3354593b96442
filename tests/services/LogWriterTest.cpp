#include <gtest/gtest.h>

#include <csignal>
#include <cstdio>
#include <regex>

#ifdef __unix__
#include <fcntl.h>
#include <sys/resource.h>
#include <sys/stat.h>
#include <unistd.h>
#endif
#ifdef __linux__
#include <sys/mount.h>
#endif

#include "LogLines.h"
#include "LogWriter.h"
#include "RecordingMessages.h"
#include "TestFolders.h"

namespace zorvi {
namespace {

namespace fs = std::filesystem;
using test::RecordingMessages;
using test::TestFolders;

std::tm At(int year, int month, int day, int hour, int minute, int second) {
    std::tm t{};
    t.tm_year = year - 1900;
    t.tm_mon = month - 1;
    t.tm_mday = day;
    t.tm_hour = hour;
    t.tm_min = minute;
    t.tm_sec = second;
    return t;
}

class GameLog : public ::testing::Test {
protected:
    fs::path LogFolder() const { return folders.dataFolder() / "logs"; }
    // A writer whose clock reads the time held in `now`.
    void UseClock(LogWriter& log) {
        log.SetClock([this] { return now; });
    }

    TestFolders folders;
    RecordingMessages sink;
    std::tm now = At(2024, 3, 5, 9, 5, 3);
};

TEST(LogFormat, LineAndFileName) {
    EXPECT_EQ(LogLines::Stamped(At(2024, 3, 5, 9, 5, 3), "msg"), "2024-3-5 9:5:3: msg\r\n");
    EXPECT_EQ(LogLines::Stamped(At(2024, 12, 31, 23, 59, 0), "Drawn numbers: 17, 4, 75"),
              "2024-12-31 23:59:0: Drawn numbers: 17, 4, 75\r\n");
    EXPECT_EQ(LogWriter::LogFileName(At(2024, 3, 5, 0, 0, 0)), fs::path("2024-3.log"));
    EXPECT_EQ(LogWriter::LogFileName(At(2025, 11, 1, 0, 0, 0)), fs::path("2025-11.log"));
}

TEST_F(GameLog, WritesLinesToTheMonthFile) {
    LogWriter log;
    UseClock(log);
    EXPECT_FALSE(log.IsOpen());
    EXPECT_EQ(log.GetLogFilePath(), "");
    log.WriteLog("before open"); // skipped
    log.OpenLog(&sink);
    ASSERT_TRUE(log.IsOpen());
    EXPECT_EQ(fs::path(log.GetLogFilePath()), LogFolder() / "2024-3.log");
    log.WriteLog("Starting program");
    // Flushed to disk before WriteLog returns: readable while still open.
    EXPECT_EQ(TestFolders::ReadFile(LogFolder() / "2024-3.log"),
              "2024-3-5 9:5:3: Starting program\r\n");
    log.CloseLog();
    EXPECT_FALSE(log.IsOpen());
    EXPECT_EQ(log.GetLogFilePath(), "");
    log.WriteLog("after close"); // skipped
    EXPECT_TRUE(sink.shown.empty());
    // Closed with the seal of what it holds.
    const std::string first = "2024-3-5 9:5:3: Starting program";
    EXPECT_EQ(TestFolders::ReadFile(LogFolder() / "2024-3.log"),
              first + "\r\n2024-3-5 9:5:3: Log seal: " +
                  LogLines::ChainNext(LogLines::kChainStart, first) + "\r\n");
}

TEST_F(GameLog, TwoRunsInAMonthAppend) {
    TestFolders::WriteFile(LogFolder() / "2024-3.log", "earlier\r\n");
    for (const char* message : {"Starting program", "Read coupons"}) {
        LogWriter log;
        UseClock(log);
        log.OpenLog(&sink);
        log.WriteLog(message);
    }
    // Each run goes on with the chain of the lines before it, the earlier run's seal included.
    std::string chain(LogLines::kChainStart);
    std::string expected;
    for (const std::string line : {"earlier", "2024-3-5 9:5:3: Starting program",
                                   "2024-3-5 9:5:3: Log seal: ", "2024-3-5 9:5:3: Read coupons",
                                   "2024-3-5 9:5:3: Log seal: "}) {
        const std::string written = line.back() == ' ' ? line + chain : line;
        expected += written + "\r\n";
        chain = LogLines::ChainNext(chain, written);
    }
    EXPECT_EQ(TestFolders::ReadFile(LogFolder() / "2024-3.log"), expected);
}

TEST_F(GameLog, MonthIsFixedAtOpen) {
    now = At(2024, 1, 31, 23, 50, 0);
    LogWriter log;
    UseClock(log);
    log.OpenLog(&sink);
    now = At(2024, 2, 1, 0, 10, 0);
    log.WriteLog("Starting new game");
    log.CloseLog();
    EXPECT_EQ(TestFolders::ReadFile(LogFolder() / "2024-1.log").substr(0, 36),
              "2024-2-1 0:10:0: Starting new game\r\n");
    EXPECT_FALSE(fs::exists(LogFolder() / "2024-2.log"));
}

TEST_F(GameLog, OpenFailureIsShownOnceAndTheRunGoesOn) {
    // "logs" is a plain file, so neither the folder nor the log can be made, even by root.
    TestFolders::WriteFile(LogFolder(), "in the way");
    LogWriter log;
    UseClock(log);
    log.OpenLog(&sink);
    EXPECT_FALSE(log.IsOpen());
    EXPECT_EQ(log.GetLogFilePath(), "");
    log.WriteLog("Starting program");
    log.WriteLog("Read coupons");
    ASSERT_EQ(sink.shown.size(), 1u);
    EXPECT_EQ(sink.shown[0].first, "Failed opening log file");
    EXPECT_EQ(sink.shown[0].second, "");
    EXPECT_EQ(TestFolders::ReadFile(LogFolder()), "in the way");

    LogWriter silent; // without a sink it just stays closed
    silent.OpenLog(nullptr);
    EXPECT_FALSE(silent.IsOpen());
}

// Something that is no file where the month's log would be: a device or a named pipe. The
// open must neither wait for a reader nor write into a device; the run goes on without a log.
TEST_F(GameLog, NoFileInPlaceOfTheLogIsAnOpenFailure) {
    for (const char* kind : {"device", "pipe", "folder"}) {
        SCOPED_TRACE(kind);
        fs::remove_all(LogFolder());
        fs::create_directories(LogFolder());
        const fs::path path = LogFolder() / "2024-3.log";
        if (std::string(kind) == "device") {
            if (!fs::exists("/dev/full"))
                continue;
            fs::create_symlink("/dev/full", path);
        } else if (std::string(kind) == "pipe") {
#ifdef __unix__
            ASSERT_EQ(::mkfifo(path.c_str(), 0600), 0);
#else
            continue;
#endif
        } else {
            fs::create_directory(path);
        }
        RecordingMessages messages;
        LogWriter log;
        UseClock(log);
        log.OpenLog(&messages);
        EXPECT_FALSE(log.IsOpen());
        log.WriteLog("Starting program");
        ASSERT_EQ(messages.shown.size(), 1u);
        EXPECT_EQ(messages.shown[0].first, "Failed opening log file");
    }
}

// Every seal in the file is the chain of the lines before it as the file holds them (a line
// ends at LF, without one CR before it); the number of seals.
int ExpectSealsHold(const std::string& text) {
    std::string chain(LogLines::kChainStart);
    int seals = 0;
    std::size_t start = 0;
    while (start < text.size()) {
        std::size_t end = text.find('\n', start);
        if (end == std::string::npos)
            end = text.size();
        std::string line = text.substr(start, end - start);
        if (!line.empty() && line.back() == '\r')
            line.pop_back();
        const std::size_t seal = line.find(": Game seal: ");
        if (seal != std::string::npos) {
            EXPECT_EQ(line.substr(seal + 13), chain) << line;
            ++seals;
        }
        chain = LogLines::ChainNext(chain, line);
        start = end + 1;
    }
    return seals;
}

TEST_F(GameLog, ATornLastLineOfAnEarlierRunIsEndedFirst) {
    TestFolders::WriteFile(LogFolder() / "2024-3.log", "2024-3-5 9:5:2: Starting pr");
    LogWriter log;
    UseClock(log);
    log.OpenLog(&sink);
    log.WriteLog("Starting program");
    EXPECT_EQ(TestFolders::ReadFile(LogFolder() / "2024-3.log"),
              "2024-3-5 9:5:2: Starting pr\r\n2024-3-5 9:5:3: Starting program\r\n");
    // The torn line is part of the chain as the file holds it.
    const std::string seal = log.SealGame();
    EXPECT_EQ(seal.size(), 64u);
    EXPECT_EQ(ExpectSealsHold(TestFolders::ReadFile(LogFolder() / "2024-3.log")), 1);
}

#ifdef __linux__

// A log folder that can be filled to the last byte: a real 64 KiB tmpfs when this process may
// mount one (root), otherwise the file-size limit of the process, under which the kernel
// refuses writes past the limit in the same way (a short write, then errors).
class FullDisk {
public:
    explicit FullDisk(const fs::path& folder) : folder_(folder) {
        fs::create_directories(folder_);
        mounted_ = ::mount("tmpfs", folder_.c_str(), "tmpfs", 0, "size=64k") == 0;
        if (mounted_) {
            // Fill every page; space is then handed out page by page.
            filler_ = ::open((folder_ / "filler").c_str(), O_WRONLY | O_CREAT, 0600);
            const std::string page(4096, 'x');
            while (::write(filler_, page.data(), page.size()) > 0) {
            }
            fillerSize_ = ::lseek(filler_, 0, SEEK_END);
        } else {
            ::getrlimit(RLIMIT_FSIZE, &saved_);
            oldHandler_ = std::signal(SIGXFSZ, SIG_IGN);
        }
    }
    ~FullDisk() {
        if (mounted_) {
            ::close(filler_);
            ::umount2(folder_.c_str(), MNT_DETACH);
        } else {
            ::setrlimit(RLIMIT_FSIZE, &saved_);
            std::signal(SIGXFSZ, oldHandler_);
        }
    }
    FullDisk(const FullDisk&) = delete;
    FullDisk& operator=(const FullDisk&) = delete;

    bool mounted() const { return mounted_; }

    // Lets files take `bytes` in all from now on (a multiple of the page size).
    void Allow(off_t bytes) {
        if (mounted_) {
            ASSERT_EQ(::ftruncate(filler_, fillerSize_ - bytes), 0);
        } else {
            rlimit limit = saved_;
            limit.rlim_cur = static_cast<rlim_t>(bytes);
            ASSERT_EQ(::setrlimit(RLIMIT_FSIZE, &limit), 0);
        }
    }

private:
    fs::path folder_;
    bool mounted_ = false;
    int filler_ = -1;
    off_t fillerSize_ = 0;
    rlimit saved_{};
    void (*oldHandler_)(int) = SIG_DFL;
};

// Every line of a log as it is on disk: whole lines in the program's format, nothing else.
void ExpectOnlyWholeLines(const std::string& log) {
    static const std::regex kLine(R"(\d{4}-\d{1,2}-\d{1,2} \d{1,2}:\d{1,2}:\d{1,2}: [^\r\n]*)");
    ASSERT_FALSE(log.empty());
    ASSERT_EQ(log.substr(log.size() - 2), "\r\n");
    std::size_t start = 0;
    while (start < log.size()) {
        const std::size_t end = log.find("\r\n", start);
        ASSERT_NE(end, std::string::npos);
        const std::string line = log.substr(start, end - start);
        EXPECT_TRUE(std::regex_match(line, kLine)) << "torn line: " << line;
        start = end + 2;
    }
}

TEST_F(GameLog, AFullDiskNeverTearsALine) {
    FullDisk disk(LogFolder());
    RecordProperty("full_disk", disk.mounted() ? "tmpfs" : "file-size limit");
    disk.Allow(4096);
    LogWriter log;
    UseClock(log);
    log.OpenLog(&sink);
    ASSERT_TRUE(log.IsOpen());
    // 50-byte lines: the page holds 81 of them, and the 82nd can be written only in part.
    constexpr std::size_t kLineLength = 50;
    for (int i = 0; i < 100; ++i) {
        char message[64];
        std::snprintf(message, sizeof message, "Line %04d of thirty-two bytes...", i);
        ASSERT_EQ(LogLines::Stamped(now, message).size(), kLineLength);
        log.WriteLog(message);
    }
    const fs::path file = LogFolder() / "2024-3.log";
    std::string written = TestFolders::ReadFile(file);
    EXPECT_EQ(written.size(), 4096 / kLineLength * kLineLength);
    ExpectOnlyWholeLines(written);
    ASSERT_EQ(sink.shown.size(), 1u);
    EXPECT_EQ(sink.shown[0].first, "Failed writing log file");

    // Space again: the next line is whole and on a line of its own.
    disk.Allow(3 * 4096);
    log.WriteLog("Starting program");
    written = TestFolders::ReadFile(file);
    ExpectOnlyWholeLines(written);
    EXPECT_EQ(written.substr(written.size() - 34), "2024-3-5 9:5:3: Starting program\r\n");
    EXPECT_EQ(sink.shown.size(), 1u);
    // The lines lost to the full disk are not in the chain; the seal holds for the file.
    EXPECT_FALSE(log.SealGame().empty());
    EXPECT_EQ(ExpectSealsHold(TestFolders::ReadFile(file)), 1);
}

#endif

} // namespace
} // namespace zorvi
