#include "statistics/Ranks.h"

#include <algorithm>
#include <numeric>

namespace {

// Calls tied(first, last) for each run of equal values in ascending order, with the positions
// into `order` (0-based, last inclusive).
template <typename Tied>
void ForEachTieRun(std::span<const double> values, Tied tied)
{
    std::vector<std::size_t> order(values.size());
    std::iota(order.begin(), order.end(), std::size_t{0});
    std::stable_sort(order.begin(), order.end(), [&](std::size_t a, std::size_t b) { return values[a] < values[b]; });
    for (std::size_t from = 0; from < order.size();) {
        std::size_t to = from;
        while (to + 1 < order.size() && values[order[to + 1]] == values[order[from]])
            ++to;
        tied(order, from, to);
        from = to + 1;
    }
}

} // namespace

std::vector<long> DoubledMidRanks(std::span<const double> values)
{
    std::vector<long> ranks(values.size());
    ForEachTieRun(values, [&](const std::vector<std::size_t>& order, std::size_t from, std::size_t to) {
        const long doubled = long(from + to + 2);
        for (std::size_t i = from; i <= to; ++i)
            ranks[order[i]] = doubled;
    });
    return ranks;
}

std::vector<double> MidRanks(std::span<const double> values)
{
    const std::vector<long> doubled = DoubledMidRanks(values);
    std::vector<double> ranks(doubled.size());
    std::transform(doubled.begin(), doubled.end(), ranks.begin(), [](long r) { return double(r) / 2.0; });
    return ranks;
}

double TieTerm(std::span<const double> values)
{
    double term = 0.0;
    ForEachTieRun(values, [&](const std::vector<std::size_t>&, std::size_t from, std::size_t to) {
        const double t = double(to - from + 1);
        term += t * t * t - t;
    });
    return term;
}
