// Coupon-series tool: generating strips and checking a large series.
#include <benchmark/benchmark.h>

#include "CouponGenerator.h"
#include "CouponInspector.h"
#include "CouponRandom.h"

namespace {

// 10,000 strips of six 90-number tickets, with the check that no ticket repeats.
void BM_GenerateNinetyStrips(benchmark::State& state) {
    zorvi::GenerateOptions options{90, 60000, 1, false};
    for (auto _ : state) {
        benchmark::DoNotOptimize(zorvi::CouponGenerator::Generate(options));
        ++options.seed;
    }
    state.SetItemsProcessed(state.iterations() * 10000);
}
BENCHMARK(BM_GenerateNinetyStrips)->Unit(benchmark::kMillisecond);

void BM_MakeStrip(benchmark::State& state) {
    zorvi::CouponRandom random(7);
    std::uint8_t strip[90];
    for (auto _ : state) {
        zorvi::CouponGenerator::MakeStrip(random, strip);
        benchmark::DoNotOptimize(strip);
    }
}
BENCHMARK(BM_MakeStrip);

void BM_Inspect(benchmark::State& state) {
    const int numbers = static_cast<int>(state.range(0));
    const std::uint64_t count = numbers == 75 ? 999999 : 999996;
    const auto bytes = zorvi::CouponGenerator::Generate({numbers, count, 5, false});
    for (auto _ : state)
        benchmark::DoNotOptimize(zorvi::CouponInspector::Inspect(bytes, numbers, 20));
    state.SetItemsProcessed(state.iterations() * static_cast<std::int64_t>(count));
}
BENCHMARK(BM_Inspect)->Arg(75)->Arg(90)->Unit(benchmark::kMillisecond);

} // namespace
