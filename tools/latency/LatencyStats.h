#pragma once

#include <algorithm>
#include <cmath>
#include <optional>
#include <vector>

namespace zorvi::latency {

// Median and 95th percentile of a set of samples (milliseconds), nearest-rank: the value at
// rank ceil(p * n), so with 30 samples the p95 is the 29th smallest.
struct Summary {
    int count = 0;
    double median = 0;
    double p95 = 0;
    double max = 0;
};

inline std::optional<Summary> Summarise(std::vector<double> samples) {
    samples.erase(
        std::remove_if(samples.begin(), samples.end(), [](double v) { return !std::isfinite(v); }),
        samples.end());
    if (samples.empty())
        return std::nullopt;
    std::sort(samples.begin(), samples.end());
    const auto rank = [&](double p) {
        const auto index = static_cast<std::size_t>(std::ceil(p * double(samples.size())));
        return samples[std::clamp<std::size_t>(index, 1, samples.size()) - 1];
    };
    const std::size_t n = samples.size();
    const double median = n % 2 ? samples[n / 2] : (samples[n / 2 - 1] + samples[n / 2]) / 2;
    return Summary{int(n), median, rank(0.95), samples.back()};
}

} // namespace zorvi::latency
