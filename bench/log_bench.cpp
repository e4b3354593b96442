// The game log's chain over a busy month: opening the month's file (the writer reads its chain
// back) and verifying it with zorvi-draws, for a log of 30 evenings of 20 games, every draw,
// check and seal in it: about 62,000 lines.
#include <benchmark/benchmark.h>

#include <cstdlib>
#include <ctime>
#include <filesystem>
#include <fstream>
#include <string>
#include <unistd.h>

#include "Folders.h"
#include "LogLines.h"
#include "LogVerifier.h"
#include "LogWriter.h"
#include "SeriesFiles.h"

namespace {

namespace fs = std::filesystem;

constexpr int kEvenings = 30;
constexpr int kGamesAnEvening = 20;

std::tm At(int day) {
    std::tm time{};
    time.tm_year = 2026 - 1900;
    time.tm_mon = 11;
    time.tm_mday = day;
    time.tm_hour = 18;
    return time;
}

// A data folder holding a month written by the log writer itself, so that its seals hold.
class MonthLog {
public:
    MonthLog() {
        root_ = fs::temp_directory_path() / ("zorvi-log-bench-" + std::to_string(::getpid()));
        fs::create_directories(root_ / "xdg");
        ::setenv("XDG_DATA_HOME", (root_ / "xdg").c_str(), 1);
        zorvi::Helpers::ResetProgramFolderForTests();
        for (int day = 1; day <= kEvenings; ++day) {
            zorvi::LogWriter log;
            log.SetClock([day] { return At(day); });
            log.OpenLog(nullptr);
            log.WriteLog("Starting program");
            for (int game = 0; game < kGamesAnEvening; ++game) {
                log.WriteLog("Game commitment: " + std::string(64, 'a'));
                log.WriteLog(zorvi::LogLines::GameRulesNote(75, false, 0));
                log.WriteLog(zorvi::LogLines::CouponSeriesNote("kup75.hex", std::string(64, 'b')));
                for (int count = 1; count <= 100; ++count) {
                    if (count <= 75)
                        log.WriteLog(zorvi::LogLines::NumberDrawn(count, count));
                    else
                        log.WriteLog(zorvi::LogLines::CheckedCoupon(count, 1, 75, true));
                }
                log.SealGame();
            }
            path_ = log.GetLogFilePath();
        }
    }
    ~MonthLog() {
        std::error_code ec;
        fs::remove_all(root_, ec);
    }
    const std::string& path() const { return path_; }

private:
    fs::path root_;
    std::string path_;
};

MonthLog& Month() {
    static MonthLog month;
    return month;
}

void BM_OpenLogOfABusyMonth(benchmark::State& state) {
    Month();
    for (auto _ : state) {
        zorvi::LogWriter log;
        log.SetClock([] { return At(31); });
        log.OpenLog(nullptr);
        benchmark::DoNotOptimize(log.IsOpen());
        state.PauseTiming();
        log.CloseLog(); // its seal is written outside the measure
        state.ResumeTiming();
    }
    state.SetBytesProcessed(static_cast<std::int64_t>(state.iterations()) *
                            static_cast<std::int64_t>(fs::file_size(Month().path())));
}
BENCHMARK(BM_OpenLogOfABusyMonth)->Unit(benchmark::kMillisecond);

void BM_VerifyABusyMonth(benchmark::State& state) {
    Month();
    for (auto _ : state) {
        zorvi::SeriesFiles series;
        zorvi::LogVerifier verifier(&series);
        std::ifstream in(Month().path(), std::ios::binary);
        verifier.Feed(in, "month");
        const auto result = verifier.Finish();
        if (result.seals_verified == 0)
            state.SkipWithError("no seal verified");
    }
}
BENCHMARK(BM_VerifyABusyMonth)->Unit(benchmark::kMillisecond);

} // namespace
