// The secure draw: one 90-number game from each source (target: under 20 microseconds), and
// `zorvi-draws collect` of a million games (target: under 10 seconds).
#include <benchmark/benchmark.h>

#include <cstdio>
#include <vector>

#include "DrawCollect.h"
#include "DrawCommitment.h"
#include "DrawSource.h"
#include "Helpers.h"

namespace {

const std::uint8_t kKey[32] = {1, 2, 3};

void BM_SecureShuffle90_OsSource(benchmark::State& state) {
    zorvi::OsRandomSource source;
    for (auto _ : state) {
        std::vector<int> game = zorvi::Helpers::ShuffledSequence(source, 90);
        benchmark::DoNotOptimize(game.data());
    }
}
BENCHMARK(BM_SecureShuffle90_OsSource)->Unit(benchmark::kMicrosecond);

void BM_SecureShuffle90_KeyedSource(benchmark::State& state) {
    zorvi::KeyedSource source(kKey);
    for (auto _ : state) {
        std::vector<int> game = zorvi::Helpers::ShuffledSequence(source, 90);
        benchmark::DoNotOptimize(game.data());
    }
}
BENCHMARK(BM_SecureShuffle90_KeyedSource)->Unit(benchmark::kMicrosecond);

// A new game as the program makes it: the shuffle, a nonce and the commitment's digest.
void BM_NewCommittedGame90(benchmark::State& state) {
    zorvi::OsRandomSource source;
    for (auto _ : state) {
        std::vector<int> game = zorvi::Helpers::ShuffledSequence(source, 90);
        const std::string nonce = zorvi::DrawCommitment::NewNonce(source);
        benchmark::DoNotOptimize(zorvi::DrawCommitment::Commitment(game, nonce));
    }
}
BENCHMARK(BM_NewCommittedGame90)->Unit(benchmark::kMicrosecond);

template <typename Source> void CollectMillion(benchmark::State& state, Source& source) {
    std::FILE* sink = std::fopen("/dev/null", "wb");
    if (sink == nullptr) {
        state.SkipWithError("no /dev/null");
        return;
    }
    for (auto _ : state)
        benchmark::DoNotOptimize(zorvi::CollectGames(source, 90, 1000000, sink));
    std::fclose(sink);
}

void BM_CollectMillionGames90_OsSource(benchmark::State& state) {
    zorvi::OsRandomSource source;
    CollectMillion(state, source);
}
BENCHMARK(BM_CollectMillionGames90_OsSource)->Unit(benchmark::kSecond)->Iterations(1);

void BM_CollectMillionGames90_KeyedSource(benchmark::State& state) {
    zorvi::KeyedSource source(kKey);
    CollectMillion(state, source);
}
BENCHMARK(BM_CollectMillionGames90_KeyedSource)->Unit(benchmark::kSecond)->Iterations(1);

} // namespace
