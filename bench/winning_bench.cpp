// Winning now at full size: 999,999 coupons of 75 numbers (a 25 MB series) and of 90 numbers
// (15 MB). Time per draw, per cancel and per resumed game, the time from a draw's request to
// the answer through the scan's own thread, the window thread's share of it, and the extra
// memory the scan keeps.
#include <benchmark/benchmark.h>

#include <algorithm>
#include <chrono>
#include <condition_variable>
#include <cstdint>
#include <memory>
#include <mutex>
#include <numeric>
#include <random>
#include <vector>

#include "GameRules.h"
#include "WinPattern.h"
#include "WinningMarks.h"
#include "WinningNowScan.h"

namespace {

using zorvi::WinningMarks;
using zorvi::WinningNow;
using zorvi::WinningNowScan;
using zorvi::WinningQuery;
namespace GameRules = zorvi::GameRules;

constexpr std::size_t kCoupons = 999999;

// A printed series: 75-number cards with their columns (B 1-15 ... O 61-75) row by row, or
// 90-number tickets of 15 distinct numbers, five to a row.
std::shared_ptr<const std::vector<std::uint8_t>> Series(int n) {
    static std::shared_ptr<const std::vector<std::uint8_t>> series[2];
    auto& kept = series[n == GameRules::kNumbers75 ? 0 : 1];
    if (kept)
        return kept;
    std::mt19937 random(static_cast<std::uint32_t>(n));
    const int size = GameRules::CouponSize(n);
    auto bytes = std::make_shared<std::vector<std::uint8_t>>();
    bytes->reserve(kCoupons * static_cast<std::size_t>(size));
    std::vector<int> column(15);
    std::vector<int> all(static_cast<std::size_t>(n));
    std::iota(all.begin(), all.end(), 1);
    std::vector<std::uint8_t> card(static_cast<std::size_t>(size));
    for (std::size_t c = 0; c < kCoupons; ++c) {
        if (n == GameRules::kNumbers75) {
            for (int col = 0; col < 5; ++col) {
                std::iota(column.begin(), column.end(), col * 15 + 1);
                std::shuffle(column.begin(), column.end(), random);
                for (int row = 0; row < 5; ++row)
                    card[static_cast<std::size_t>(row * 5 + col)] =
                        static_cast<std::uint8_t>(column[static_cast<std::size_t>(row)]);
            }
        } else {
            std::shuffle(all.begin(), all.end(), random);
            for (int p = 0; p < size; ++p)
                card[static_cast<std::size_t>(p)] =
                    static_cast<std::uint8_t>(all[static_cast<std::size_t>(p)]);
        }
        bytes->insert(bytes->end(), card.begin(), card.end());
    }
    kept = bytes;
    return kept;
}

std::vector<int> Sequence(int n, std::uint32_t seed) {
    std::vector<int> sequence(static_cast<std::size_t>(n));
    std::iota(sequence.begin(), sequence.end(), 1);
    std::mt19937 random(seed);
    std::shuffle(sequence.begin(), sequence.end(), random);
    return sequence;
}

WinningQuery Query(int n, const std::vector<int>& sequence, int drawnCount, int row) {
    WinningQuery query;
    query.series = Series(n);
    query.couponSize = static_cast<std::uint32_t>(GameRules::CouponSize(n));
    query.drawn.assign(sequence.begin(), sequence.begin() + drawnCount);
    query.rowsNeeded = row;
    query.freeMiddle = n == GameRules::kNumbers75 ? 1 : 0;
    return query;
}

void MemoryCounters(benchmark::State& state, std::size_t extra, int n) {
    const double seriesBytes = static_cast<double>(Series(n)->size());
    state.counters["extra_bytes"] = static_cast<double>(extra);
    state.counters["series_bytes"] = seriesBytes;
    state.counters["extra_per_series_byte"] = static_cast<double>(extra) / seriesBytes;
}

// One draw: the marks take the new number and the coupons that hold it are judged. Games go
// round: row 1 while nobody can have two rows, then the row a hall plays at that stage.
void BM_WinningNowDraw(benchmark::State& state) {
    const int n = static_cast<int>(state.range(0));
    Series(n); // made once, outside the timing
    const auto sequence = Sequence(n, 7);
    WinningMarks marks;
    int drawn = 0;
    double winners = 0;
    std::int64_t draws = 0;
    for (auto _ : state) {
        if (drawn == n) {
            state.PauseTiming();
            drawn = 0;
            benchmark::DoNotOptimize(marks.Answer(Query(n, sequence, 0, 1)));
            state.ResumeTiming();
        }
        ++drawn;
        const int row = std::clamp(drawn / 15, 1, GameRules::RowsPerGame(n));
        const auto answer = marks.Answer(Query(n, sequence, drawn, row));
        winners += answer ? answer->count : 0;
        ++draws;
    }
    state.counters["winners_per_draw"] =
        winners / static_cast<double>(std::max<std::int64_t>(draws, 1));
    MemoryCounters(state, marks.MemoryBytes(), n);
}
BENCHMARK(BM_WinningNowDraw)->Arg(75)->Arg(90)->Unit(benchmark::kMillisecond);

// One draw of a stage played by a pattern of the 75-number library: the pattern with the most
// masks (any line, 12), a single large one (large frame), and the one of four variants
// (postage stamp); argument: the index in the list below.
void BM_WinningNowDrawPattern(benchmark::State& state) {
    static const char* const kKeys[] = {"any_line", "large_frame", "postage_stamp", "full_card"};
    const auto pattern = *zorvi::WinPatterns::Find(kKeys[state.range(0)], GameRules::kNumbers75);
    const int n = GameRules::kNumbers75;
    Series(n); // made once, outside the timing
    const auto sequence = Sequence(n, 9);
    WinningMarks marks;
    int drawn = 0;
    double winners = 0;
    std::int64_t draws = 0;
    const auto query = [&](int count) {
        WinningQuery q = Query(n, sequence, count, 1);
        q.patternMasks = pattern.masks;
        q.patternSquares = pattern.squares;
        return q;
    };
    for (auto _ : state) {
        if (drawn == n) {
            state.PauseTiming();
            drawn = 0;
            benchmark::DoNotOptimize(marks.Answer(query(0)));
            state.ResumeTiming();
        }
        ++drawn;
        const auto answer = marks.Answer(query(drawn));
        winners += answer ? answer->count : 0;
        ++draws;
    }
    state.SetLabel(kKeys[state.range(0)]);
    state.counters["winners_per_draw"] =
        winners / static_cast<double>(std::max<std::int64_t>(draws, 1));
}
BENCHMARK(BM_WinningNowDrawPattern)->DenseRange(0, 3)->Unit(benchmark::kMillisecond);

// A cancel at draw 40: the cancelled number leaves the marks and the coupons that hold the
// number before it are judged again.
void BM_WinningNowCancel(benchmark::State& state) {
    const int n = static_cast<int>(state.range(0));
    Series(n); // made once, outside the timing
    const auto sequence = Sequence(n, 8);
    WinningMarks marks;
    benchmark::DoNotOptimize(marks.Answer(Query(n, sequence, 40, 1)));
    for (auto _ : state) {
        benchmark::DoNotOptimize(marks.Answer(Query(n, sequence, 39, 1)));
        state.PauseTiming();
        benchmark::DoNotOptimize(marks.Answer(Query(n, sequence, 40, 1)));
        state.ResumeTiming();
    }
    MemoryCounters(state, marks.MemoryBytes(), n);
}
BENCHMARK(BM_WinningNowCancel)->Arg(75)->Arg(90)->Unit(benchmark::kMillisecond);

// A game resumed at start-up with 40 numbers drawn: the marks are built from nothing.
void BM_WinningNowResume(benchmark::State& state) {
    const int n = static_cast<int>(state.range(0));
    Series(n); // made once, outside the timing
    const auto sequence = Sequence(n, 9);
    for (auto _ : state) {
        WinningMarks marks;
        benchmark::DoNotOptimize(marks.Answer(Query(n, sequence, 40, 1)));
    }
}
BENCHMARK(BM_WinningNowResume)->Arg(75)->Arg(90)->Unit(benchmark::kMillisecond);

// A draw as the operator window makes it: the request on the window thread, the answer from the
// scan's thread. Real time from the request to the delivered answer; `request_us` is what the
// window thread spends.
void BM_WinningNowDrawThreaded(benchmark::State& state) {
    const int n = static_cast<int>(state.range(0));
    Series(n); // made once, outside the timing
    const auto sequence = Sequence(n, 10);
    std::mutex mutex;
    std::condition_variable answered;
    std::uint64_t delivered = 0;
    WinningNowScan scan(WinningNowScan::Mode::Threaded);
    scan.SetDeliver([&](std::uint64_t generation, const WinningNow&) {
        const std::lock_guard lock(mutex);
        delivered = generation;
        answered.notify_all();
    });
    int drawn = 0;
    double requestSeconds = 0;
    std::int64_t draws = 0;
    for (auto _ : state) {
        if (drawn == n) {
            state.PauseTiming();
            drawn = 0;
            const std::uint64_t generation = scan.Request(Query(n, sequence, 0, 1));
            std::unique_lock lock(mutex);
            answered.wait(lock, [&] { return delivered == generation; });
            state.ResumeTiming();
        }
        ++drawn;
        const int row = std::clamp(drawn / 15, 1, GameRules::RowsPerGame(n));
        const auto start = std::chrono::steady_clock::now();
        const std::uint64_t generation = scan.Request(Query(n, sequence, drawn, row));
        requestSeconds +=
            std::chrono::duration<double>(std::chrono::steady_clock::now() - start).count();
        ++draws;
        std::unique_lock lock(mutex);
        answered.wait(lock, [&] { return delivered == generation; });
    }
    state.counters["request_us"] =
        requestSeconds * 1e6 / static_cast<double>(std::max<std::int64_t>(draws, 1));
    MemoryCounters(state, scan.MemoryBytes(), n);
}
BENCHMARK(BM_WinningNowDrawThreaded)
    ->Arg(75)
    ->Arg(90)
    ->Unit(benchmark::kMillisecond)
    ->UseRealTime();

} // namespace
