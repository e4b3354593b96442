#pragma once

#include <cstdint>
#include <string>
#include <vector>

namespace zorvi {

// Statistics of many draw sequences of 1 .. n, each test a chi-square with its degrees of
// freedom. Under uniformly random orders every p-value is uniform on 0 .. 1.
class DrawTally {
public:
    struct Test {
        std::string name;
        double statistic = 0; // chi-square
        double degrees = 0;
        double p_value = 1;
    };

    explicit DrawTally(int n);
    virtual ~DrawTally() = default;

    // One game: a permutation of 1 .. n (anything else is ignored).
    void Add(const std::vector<int>& sequence);
    std::uint64_t Games() const { return games_; }

    // Number x position, first number, consecutive pairs, the order of three fixed numbers and
    // runs below/above the middle, in this order.
    std::vector<Test> Tests() const;

    // The three numbers whose relative order is tallied: 1, the middle one and n.
    std::vector<int> OrderedNumbers() const;

private:
    int n_;
    std::uint64_t games_ = 0;
    std::vector<std::uint64_t> position_; // n x n: number - 1, position
    std::vector<std::uint64_t> first_;
    std::vector<std::uint64_t> pairs_; // n x n: first - 1, second - 1
    std::vector<std::uint64_t> order_; // 6 orders
    std::vector<std::uint64_t> runs_;  // by the number of runs, 0 .. n
};

namespace Statistics {

// P(X >= x) for X chi-square distributed with `degrees` degrees of freedom.
double ChiSquareUpperTail(double x, double degrees);

// Probabilities of 0 .. n runs when n1 low and n2 high marks are put in random order.
std::vector<double> RunsDistribution(int low, int high);

} // namespace Statistics
} // namespace zorvi
