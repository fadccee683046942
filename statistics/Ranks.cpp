#include "statistics/Ranks.h"

#include <algorithm>
#include <cstdint>
#include <utility>

Ranking RankValues(std::span<const double> values)
{
    std::vector<std::pair<double, std::uint32_t>> sorted(values.size());
    for (std::size_t i = 0; i < values.size(); ++i)
        sorted[i] = {values[i], std::uint32_t(i)};
    std::sort(sorted.begin(), sorted.end());
    Ranking ranking;
    ranking.doubled.resize(values.size());
    for (std::size_t from = 0; from < sorted.size();) {
        std::size_t to = from;
        while (to + 1 < sorted.size() && sorted[to + 1].first == sorted[from].first)
            ++to;
        const long doubled = long(from + to + 2);
        for (std::size_t i = from; i <= to; ++i)
            ranking.doubled[sorted[i].second] = doubled;
        const double t = double(to - from + 1);
        ranking.tieTerm += t * t * t - t;
        from = to + 1;
    }
    return ranking;
}

std::vector<long> DoubledMidRanks(std::span<const double> values)
{
    return RankValues(values).doubled;
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
    return RankValues(values).tieTerm;
}
