#include <gtest/gtest.h>

#include "LogWriter.h"
#include "RecordingSink.h"
#include "TestFolders.h"

namespace zorvi {
namespace {

namespace fs = std::filesystem;
using test::RecordingSink;
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
    RecordingSink sink;
    std::tm now = At(2024, 3, 5, 9, 5, 3);
};

TEST(LogFormat, LineAndFileName) {
    EXPECT_EQ(LogWriter::FormatLine(At(2024, 3, 5, 9, 5, 3), "msg"), "2024-3-5 9:5:3: msg\r\n");
    EXPECT_EQ(LogWriter::FormatLine(At(2024, 12, 31, 23, 59, 0), "Drawn numbers: 17, 4, 75"),
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
    EXPECT_TRUE(sink.messages.empty());
    EXPECT_EQ(TestFolders::ReadFile(LogFolder() / "2024-3.log"),
              "2024-3-5 9:5:3: Starting program\r\n");
}

TEST_F(GameLog, TwoRunsInAMonthAppend) {
    TestFolders::WriteFile(LogFolder() / "2024-3.log", "earlier\r\n");
    for (const char* message : {"Starting program", "Read coupons"}) {
        LogWriter log;
        UseClock(log);
        log.OpenLog(&sink);
        log.WriteLog(message);
    }
    EXPECT_EQ(TestFolders::ReadFile(LogFolder() / "2024-3.log"),
              "earlier\r\n2024-3-5 9:5:3: Starting program\r\n2024-3-5 9:5:3: Read coupons\r\n");
}

TEST_F(GameLog, MonthIsFixedAtOpen) {
    now = At(2024, 1, 31, 23, 50, 0);
    LogWriter log;
    UseClock(log);
    log.OpenLog(&sink);
    now = At(2024, 2, 1, 0, 10, 0);
    log.WriteLog("Starting new game");
    log.CloseLog();
    EXPECT_EQ(TestFolders::ReadFile(LogFolder() / "2024-1.log"),
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
    ASSERT_EQ(sink.messages.size(), 1u);
    EXPECT_EQ(sink.messages[0].first, "Failed opening log file");
    EXPECT_EQ(sink.messages[0].second, "");
    EXPECT_EQ(TestFolders::ReadFile(LogFolder()), "in the way");

    LogWriter silent; // without a sink it just stays closed
    silent.OpenLog(nullptr);
    EXPECT_FALSE(silent.IsOpen());
}

TEST_F(GameLog, WriteFailureDropsTheLineAndIsShownOnce) {
    if (!fs::exists("/dev/full"))
        GTEST_SKIP() << "no /dev/full";
    fs::create_directories(LogFolder());
    fs::create_symlink("/dev/full", LogFolder() / "2024-3.log");
    LogWriter log;
    UseClock(log);
    log.OpenLog(&sink);
    ASSERT_TRUE(log.IsOpen());
    EXPECT_NO_THROW(log.WriteLog("Starting program"));
    EXPECT_NO_THROW(log.WriteLog("Read coupons"));
    EXPECT_TRUE(log.IsOpen());
    ASSERT_EQ(sink.messages.size(), 1u);
    EXPECT_EQ(sink.messages[0].first, "Failed writing log file");
}

} // namespace
} // namespace zorvi
