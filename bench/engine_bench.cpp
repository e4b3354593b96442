// Speed and memory of the engine's hot paths: reading a full coupon series, checking a
// coupon, saving the state, shuffling a game.
#include <benchmark/benchmark.h>

#include <algorithm>
#include <chrono>
#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <numeric>
#include <random>
#include <string>
#include <unistd.h>
#include <vector>

#include "BingoHelpers.h"
#include "Folders.h"
#include "ProgramState.h"
#include "Random.h"
#include "Settings.h"
#include "StateFile.h"

namespace {

constexpr std::size_t kCoupons = 999999;
constexpr std::size_t kSeriesBytes = kCoupons * 25; // 24,999,975

// A temporary program folder (working directory) and data folder for the whole run.
class BenchFolders {
public:
    BenchFolders() {
        root_ =
            std::filesystem::temp_directory_path() / ("zorvi-bench-" + std::to_string(::getpid()));
        std::filesystem::create_directories(root_ / "program");
        std::filesystem::create_directories(root_ / "xdg");
        ::setenv("XDG_DATA_HOME", (root_ / "xdg").c_str(), 1);
        std::filesystem::current_path(root_ / "program");
        zorvi::Helpers::ResetProgramFolderForTests();

        // Written in small pieces: a large buffer freed here would let the allocator keep
        // the memory, and the series' resident size could no longer be measured.
        std::mt19937 random(42);
        std::uniform_int_distribution<int> number(1, 75);
        std::ofstream out(root_ / "program" / "kup75.hex", std::ios::binary);
        std::string piece(25 * 4096, '\0');
        for (std::size_t written = 0; written < kSeriesBytes; written += piece.size()) {
            piece.resize(std::min(piece.size(), kSeriesBytes - written));
            for (char& b : piece)
                b = static_cast<char>(number(random));
            out.write(piece.data(), static_cast<std::streamsize>(piece.size()));
        }
    }
    ~BenchFolders() {
        std::error_code ec;
        std::filesystem::current_path(std::filesystem::temp_directory_path(), ec);
        std::filesystem::remove_all(root_, ec);
    }

private:
    std::filesystem::path root_;
};

BenchFolders& Folders() {
    static BenchFolders folders;
    return folders;
}

long ResidentKilobytes() {
    std::ifstream status("/proc/self/status");
    std::string line;
    while (std::getline(status, line))
        if (line.rfind("VmRSS:", 0) == 0)
            return std::strtol(line.c_str() + 6, nullptr, 10);
    return -1;
}

void BM_ReadCouponSeries(benchmark::State& state) {
    Folders();
    // The first read of the run, as at start-up: fresh memory from the system, so its
    // resident size is the memory the series holds. Measured once; the benchmark library
    // calls this function several times, and later reads reuse memory the allocator kept.
    static const auto first = [] {
        struct Figures {
            double milliseconds;
            long kilobytes;
        };
        const long before = ResidentKilobytes();
        const auto start = std::chrono::steady_clock::now();
        zorvi::BingoHelpers coupons;
        coupons.ReadCouponSeries(75, 0);
        const auto stop = std::chrono::steady_clock::now();
        return Figures{std::chrono::duration<double, std::milli>(stop - start).count(),
                       ResidentKilobytes() - before};
    }();
    state.counters["first_read_ms"] = first.milliseconds;
    state.counters["rss_delta_MB"] = static_cast<double>(first.kilobytes) / 1024.0;
    state.counters["rss_per_file_byte"] =
        static_cast<double>(first.kilobytes) * 1024.0 / static_cast<double>(kSeriesBytes);
    for (auto _ : state) {
        zorvi::BingoHelpers coupons;
        benchmark::DoNotOptimize(coupons.ReadCouponSeries(75, 0));
        if (coupons.CouponCount() != kCoupons)
            state.SkipWithError("series not read whole");
    }
    state.SetBytesProcessed(static_cast<std::int64_t>(state.iterations() * kSeriesBytes));
}
BENCHMARK(BM_ReadCouponSeries)->Unit(benchmark::kMillisecond);

void BM_CheckCouponNumber(benchmark::State& state) {
    Folders();
    zorvi::Settings settings{zorvi::Settings::NoLoad{}};
    settings.free_middle = 1;
    zorvi::BingoHelpers coupons;
    coupons.AttachSettings(settings);
    coupons.ReadCouponSeries(75, 0);

    std::vector<int> sequence(75);
    std::iota(sequence.begin(), sequence.end(), 1);
    std::mt19937 random(7);
    std::shuffle(sequence.begin(), sequence.end(), random);
    const std::vector<int> drawn(sequence.begin(), sequence.begin() + 45);

    std::uniform_int_distribution<long long> pick(1, kCoupons);
    std::vector<long long> numbers(4096);
    for (long long& k : numbers)
        k = pick(random);
    std::size_t i = 0;
    int wins = 0;
    for (auto _ : state) {
        wins += coupons.CheckCouponNumber(1, drawn, numbers[i++ & 4095]) == 1;
        benchmark::DoNotOptimize(wins);
    }
}
BENCHMARK(BM_CheckCouponNumber)->Unit(benchmark::kNanosecond);

void BM_SaveState90(benchmark::State& state) {
    Folders();
    zorvi::Settings settings{zorvi::Settings::NoLoad{}};
    settings.max_called_numbers = 90;
    zorvi::Random15 generator(1);
    zorvi::ProgramState game(generator);
    game.AttachSettings(settings);
    game.ResetGame();
    game.number_count = 45;
    game.winners = {{1, 20, 1045}, {2, 31, 77}, {3, 45, 999999}};
    int step = 0;
    for (auto _ : state) {
        // A different value each time, so the unchanged-content shortcut never applies.
        game.auto_speed = 1 + (step++ % 60);
        benchmark::DoNotOptimize(zorvi::StateFile::SaveState(game));
    }
}
BENCHMARK(BM_SaveState90)->Unit(benchmark::kMicrosecond);

void BM_ShuffleSequence90(benchmark::State& state) {
    zorvi::Random15 generator(1);
    std::vector<int> list(90);
    std::iota(list.begin(), list.end(), 1);
    for (auto _ : state) {
        zorvi::Helpers::ShuffleSequence(generator, list);
        benchmark::DoNotOptimize(list.data());
    }
}
BENCHMARK(BM_ShuffleSequence90)->Unit(benchmark::kNanosecond);

} // namespace
