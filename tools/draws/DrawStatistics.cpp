#include "DrawStatistics.h"

#include <algorithm>
#include <cmath>

namespace zorvi {

namespace Statistics {

namespace {

// Regularised lower incomplete gamma P(a, x) by its series (for x < a + 1).
double LowerSeries(double a, double x) {
    double term = 1.0 / a;
    double sum = term;
    for (int k = 1; k < 1000000; ++k) {
        term *= x / (a + k);
        sum += term;
        if (term < sum * 1e-16)
            break;
    }
    return sum * std::exp(-x + a * std::log(x) - std::lgamma(a));
}

// Regularised upper incomplete gamma Q(a, x) by its continued fraction (for x >= a + 1),
// evaluated with the modified Lentz method.
double UpperFraction(double a, double x) {
    constexpr double kTiny = 1e-300;
    double b = x + 1.0 - a;
    double c = 1.0 / kTiny;
    double d = 1.0 / b;
    double h = d;
    for (int i = 1; i < 1000000; ++i) {
        const double an = -i * (i - a);
        b += 2.0;
        d = an * d + b;
        if (std::fabs(d) < kTiny)
            d = kTiny;
        c = b + an / c;
        if (std::fabs(c) < kTiny)
            c = kTiny;
        d = 1.0 / d;
        const double delta = d * c;
        h *= delta;
        if (std::fabs(delta - 1.0) < 1e-16)
            break;
    }
    return std::exp(-x + a * std::log(x) - std::lgamma(a)) * h;
}

double LogChoose(int n, int k) {
    if (k < 0 || k > n)
        return -INFINITY;
    return std::lgamma(n + 1.0) - std::lgamma(k + 1.0) - std::lgamma(n - k + 1.0);
}

} // namespace

double ChiSquareUpperTail(double x, double degrees) {
    if (!(x > 0) || !(degrees > 0))
        return 1.0;
    const double a = degrees / 2.0;
    const double half = x / 2.0;
    if (half < a + 1.0)
        return std::clamp(1.0 - LowerSeries(a, half), 0.0, 1.0);
    return std::clamp(UpperFraction(a, half), 0.0, 1.0);
}

std::vector<double> RunsDistribution(int low, int high) {
    const int n = low + high;
    std::vector<double> p(static_cast<std::size_t>(n) + 1, 0.0);
    if (low == 0 || high == 0) {
        p[n > 0 ? 1 : 0] = 1.0;
        return p;
    }
    const double all = LogChoose(n, low);
    for (int r = 2; r <= n; ++r) {
        double value = 0;
        if (r % 2 == 0) {
            const int k = r / 2;
            value = 2.0 * std::exp(LogChoose(low - 1, k - 1) + LogChoose(high - 1, k - 1) - all);
        } else {
            const int k = (r - 1) / 2;
            value = std::exp(LogChoose(low - 1, k) + LogChoose(high - 1, k - 1) - all) +
                    std::exp(LogChoose(low - 1, k - 1) + LogChoose(high - 1, k) - all);
        }
        p[static_cast<std::size_t>(r)] = value;
    }
    return p;
}

} // namespace Statistics

namespace {

std::size_t Index(int row, int column, int n) {
    return static_cast<std::size_t>(row) * static_cast<std::size_t>(n) +
           static_cast<std::size_t>(column);
}

// Pearson's statistic of counts against expected counts.
double Pearson(const std::vector<std::uint64_t>& counts, const std::vector<double>& expected) {
    double sum = 0;
    for (std::size_t i = 0; i < counts.size(); ++i) {
        if (expected[i] <= 0)
            continue;
        const double d = static_cast<double>(counts[i]) - expected[i];
        sum += d * d / expected[i];
    }
    return sum;
}

DrawTally::Test Make(std::string name, double statistic, double degrees) {
    return {std::move(name), statistic, degrees,
            Statistics::ChiSquareUpperTail(statistic, degrees)};
}

} // namespace

DrawTally::DrawTally(int n)
    : n_(std::max(n, 3)), position_(Index(n_, 0, n_)), first_(static_cast<std::size_t>(n_)),
      pairs_(Index(n_, 0, n_)), order_(6), runs_(static_cast<std::size_t>(n_) + 1) {}

std::vector<int> DrawTally::OrderedNumbers() const {
    return {1, (n_ + 1) / 2, n_};
}

void DrawTally::Add(const std::vector<int>& sequence) {
    if (sequence.size() != static_cast<std::size_t>(n_))
        return;
    std::vector<int> where(static_cast<std::size_t>(n_) + 1, -1);
    for (int i = 0; i < n_; ++i) {
        const int number = sequence[static_cast<std::size_t>(i)];
        if (number < 1 || number > n_ || where[static_cast<std::size_t>(number)] != -1)
            return;
        where[static_cast<std::size_t>(number)] = i;
    }
    for (int i = 0; i < n_; ++i)
        ++position_[Index(sequence[static_cast<std::size_t>(i)] - 1, i, n_)];
    ++first_[static_cast<std::size_t>(sequence[0] - 1)];

    // One pair a game, its place moving along the sequence, so the pairs counted are
    // independent and each is uniform over the n(n - 1) ordered pairs.
    const auto at = static_cast<std::size_t>(games_ % static_cast<std::uint64_t>(n_ - 1));
    ++pairs_[Index(sequence[at] - 1, sequence[at + 1] - 1, n_)];

    // Relative order of three numbers: which comes first, then which of the other two.
    const std::vector<int> three = OrderedNumbers();
    const int a = where[static_cast<std::size_t>(three[0])];
    const int b = where[static_cast<std::size_t>(three[1])];
    const int c = where[static_cast<std::size_t>(three[2])];
    const int order = a < b ? (b < c ? 0 : (a < c ? 1 : 4)) : (a < c ? 2 : (b < c ? 3 : 5));
    ++order_[static_cast<std::size_t>(order)];

    // Runs of numbers at most n / 2 ("low") and above it.
    int runs = 1;
    for (int i = 1; i < n_; ++i) {
        const bool lowBefore = sequence[static_cast<std::size_t>(i - 1)] <= n_ / 2;
        const bool lowHere = sequence[static_cast<std::size_t>(i)] <= n_ / 2;
        runs += lowBefore != lowHere ? 1 : 0;
    }
    ++runs_[static_cast<std::size_t>(runs)];
    ++games_;
}

std::vector<DrawTally::Test> DrawTally::Tests() const {
    std::vector<Test> tests;
    const double g = static_cast<double>(games_);
    const double n = n_;

    // Every row and column of the table sums to the number of games, and the covariance of a
    // random permutation matrix acts on the remaining (n-1)^2 dimensions as n/(n-1) times the
    // identity: Pearson's sum times (n-1)/n is chi-square with (n-1)^2 degrees of freedom.
    {
        const std::vector<double> expected(position_.size(), g / n);
        tests.push_back(Make("number x position", Pearson(position_, expected) * (n - 1) / n,
                             (n - 1) * (n - 1)));
    }
    {
        const std::vector<double> expected(first_.size(), g / n);
        tests.push_back(Make("first number", Pearson(first_, expected), n - 1));
    }
    {
        std::vector<double> expected(pairs_.size(), g / (n * (n - 1)));
        for (int i = 0; i < n_; ++i)
            expected[Index(i, i, n_)] = 0;
        tests.push_back(Make("consecutive pairs", Pearson(pairs_, expected), n * (n - 1) - 1));
    }
    {
        const std::vector<double> expected(6, g / 6);
        tests.push_back(Make("order of three numbers", Pearson(order_, expected), 5));
    }
    {
        // Runs, with the rare counts at both ends pooled so that every class expects at
        // least 5 games.
        const std::vector<double> p = Statistics::RunsDistribution(n_ / 2, n_ - n_ / 2);
        std::vector<std::uint64_t> counts;
        std::vector<double> expected;
        std::uint64_t pooledCount = 0;
        double pooledExpected = 0;
        for (std::size_t r = 0; r < p.size(); ++r) {
            pooledCount += runs_[r];
            pooledExpected += p[r] * g;
            if (pooledExpected >= 5) {
                counts.push_back(pooledCount);
                expected.push_back(pooledExpected);
                pooledCount = 0;
                pooledExpected = 0;
            }
        }
        if (!counts.empty()) {
            counts.back() += pooledCount;
            expected.back() += pooledExpected;
        }
        tests.push_back(Make("runs below/above the middle", Pearson(counts, expected),
                             static_cast<double>(counts.size()) - 1));
    }
    return tests;
}

} // namespace zorvi
