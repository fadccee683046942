#include "statistics/SignedRank.h"

#include "statistics/Ranks.h"

#include <boost/math/distributions/normal.hpp>

#include <algorithm>
#include <cmath>
#include <map>

namespace {

// P-value of the doubled positive mid-rank sum over all 2^n sign patterns: a run of t tied
// magnitudes of doubled rank r gives k positive signs in C(t, k) ways, adding k r. The counts
// stay below 2^50, so exact in a double.
double ExactSignedRankP(const std::vector<long>& doubledRanks, long observed)
{
    std::map<long, int> runs;
    long top = 0;
    for (long r : doubledRanks) {
        ++runs[r];
        top += r;
    }
    std::vector<double> ways(std::size_t(top) + 1, 0.0);
    ways[0] = 1.0;
    long reached = 0;
    for (const auto& [rank, count] : runs) {
        std::vector<double> choose(std::size_t(count) + 1, 1.0);
        for (std::size_t k = 1; k < choose.size(); ++k)
            choose[k] = choose[k - 1] * double(count - int(k) + 1) / double(k);
        std::vector<double> next(ways.size(), 0.0);
        for (long s = 0; s <= reached; ++s) {
            if (ways[std::size_t(s)] == 0.0)
                continue;
            for (int k = 0; k <= count; ++k)
                next[std::size_t(s + k * rank)] += ways[std::size_t(s)] * choose[std::size_t(k)];
        }
        ways.swap(next);
        reached += count * rank;
    }
    double atMost = 0.0;
    double atLeast = 0.0;
    for (long s = 0; s <= top; ++s) {
        if (s <= observed)
            atMost += ways[std::size_t(s)];
        if (s >= observed)
            atLeast += ways[std::size_t(s)];
    }
    const double all = std::ldexp(1.0, int(doubledRanks.size()));
    return std::min(1.0, 2.0 * std::min(atMost, atLeast) / all);
}

} // namespace

SignedRankResult SignedRankTest(std::span<const double> differences)
{
    std::vector<double> magnitudes;
    std::vector<bool> positive;
    for (double d : differences) {
        if (d == 0.0)
            continue;
        magnitudes.push_back(std::abs(d));
        positive.push_back(d > 0.0);
    }
    SignedRankResult result;
    result.pairs = int(magnitudes.size());
    result.test.method = TestMethod::Asymptotic;
    if (magnitudes.empty())
        return result;
    const Ranking ranking = RankValues(magnitudes);
    const std::vector<long>& doubled = ranking.doubled;
    long positiveDoubled = 0;
    for (std::size_t i = 0; i < doubled.size(); ++i)
        if (positive[i])
            positiveDoubled += doubled[i];
    result.test.statistic = double(positiveDoubled) / 2.0;

    if (result.pairs <= kExactSignedRankPairs) {
        result.test.method = TestMethod::Exact;
        result.test.p = ExactSignedRankP(doubled, positiveDoubled);
        return result;
    }
    const double n = result.pairs;
    const double statistic = std::min(double(positiveDoubled), n * (n + 1.0) - double(positiveDoubled)) / 2.0;
    const double mean = n * (n + 1.0) / 4.0;
    const double variance = (n * (n + 1.0) * (2.0 * n + 1.0) - ranking.tieTerm / 2.0) / 24.0;
    const double continuity = statistic > mean ? 0.5 : statistic < mean ? -0.5 : 0.0;
    const double z = (statistic - mean - continuity) / std::sqrt(variance);
    result.test.p = std::min(1.0, 2.0 * boost::math::cdf(boost::math::complement(boost::math::normal(), std::abs(z))));
    return result;
}
