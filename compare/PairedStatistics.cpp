#include "compare/PairedStatistics.h"

#include <boost/math/distributions/binomial.hpp>
#include <boost/math/distributions/normal.hpp>
#include <boost/math/distributions/students_t.hpp>

#include <algorithm>
#include <cmath>
#include <cstdint>
#include <cstdlib>

namespace {

// P(T+ <= t) and P(T+ >= t) for n untied ranks, by counting the subsets of 1..n with each sum.
double ExactSignedRankP(int n, int positiveRankSum)
{
    const int top = n * (n + 1) / 2;
    if (positiveRankSum == top / 2)
        return 1.0;
    std::vector<double> ways(std::size_t(top) + 1, 0.0); // at most 2^50: exact in a double
    ways[0] = 1.0;
    for (int rank = 1; rank <= n; ++rank) {
        for (int sum = top; sum >= rank; --sum)
            ways[std::size_t(sum)] += ways[std::size_t(sum - rank)];
    }
    double atMost = 0.0;
    double atLeast = 0.0;
    for (int sum = 0; sum <= top; ++sum) {
        if (sum <= positiveRankSum)
            atMost += ways[std::size_t(sum)];
        if (sum >= positiveRankSum)
            atLeast += ways[std::size_t(sum)];
    }
    const double all = std::ldexp(1.0, n);
    return std::min(1.0, 2.0 * std::min(atMost, atLeast) / all);
}

} // namespace

MeanInterval MeanChangeInterval(const std::vector<int>& hundredths)
{
    MeanInterval interval;
    interval.pairs = int(hundredths.size());
    if (hundredths.empty())
        return interval;
    std::int64_t sum = 0;
    for (int value : hundredths)
        sum += value;
    const long double n = hundredths.size();
    const long double mean = sum / n;
    interval.mean = double(mean / 100);
    if (hundredths.size() < 2)
        return interval;
    long double squares = 0;
    for (int value : hundredths)
        squares += (value - mean) * (value - mean);
    const long double standardError = std::sqrt(squares / (n - 1) / n);
    const boost::math::students_t distribution(double(n - 1));
    const double t = boost::math::quantile(boost::math::complement(distribution, 0.025));
    interval.lower = double((mean - t * standardError) / 100);
    interval.upper = double((mean + t * standardError) / 100);
    return interval;
}

PairedTest WilcoxonSignedRank(const std::vector<int>& hundredths)
{
    std::vector<int> changes;
    std::copy_if(hundredths.begin(), hundredths.end(), std::back_inserter(changes),
                 [](int d) { return d != 0; });
    std::sort(changes.begin(), changes.end(),
              [](int a, int b) { return std::abs(a) < std::abs(b); });
    PairedTest test;
    const int n = int(changes.size());
    test.pairs = n;
    if (n == 0)
        return test;

    // Ranks doubled so that mid-ranks of ties stay whole numbers.
    std::int64_t positiveDoubled = 0;
    double tieTerm = 0.0; // sum of t^3 - t over groups of tied magnitudes
    for (int from = 0; from < n;) {
        int to = from;
        while (to + 1 < n &&
               std::abs(changes[std::size_t(to + 1)]) == std::abs(changes[std::size_t(from)]))
            ++to;
        const int doubledRank = from + to + 2;
        for (int i = from; i <= to; ++i) {
            if (changes[std::size_t(i)] > 0)
                positiveDoubled += doubledRank;
        }
        const double tied = to - from + 1;
        tieTerm += tied * tied * tied - tied;
        from = to + 1;
    }

    if (n <= kExactSignedRankPairs && tieTerm == 0.0) {
        test.exact = true;
        test.pValue = ExactSignedRankP(n, int(positiveDoubled / 2));
        return test;
    }
    const double count = n;
    const double totalDoubled = count * (count + 1.0);
    const double statistic =
        std::min(double(positiveDoubled), totalDoubled - double(positiveDoubled)) / 2.0;
    const double mean = count * (count + 1.0) / 4.0;
    const double variance = (count * (count + 1.0) * (2.0 * count + 1.0) - tieTerm / 2.0) / 24.0;
    const double continuity = statistic > mean ? 0.5 : statistic < mean ? -0.5 : 0.0;
    const double z = (statistic - mean - continuity) / std::sqrt(variance);
    const boost::math::normal normal;
    test.pValue =
        std::min(1.0, 2.0 * boost::math::cdf(boost::math::complement(normal, std::abs(z))));
    return test;
}

PairedTest SignTest(int better, int worse)
{
    PairedTest test;
    test.pairs = better + worse;
    test.exact = true;
    if (test.pairs == 0)
        return test;
    const boost::math::binomial distribution(test.pairs, 0.5);
    const double tail = boost::math::cdf(distribution, std::min(better, worse));
    test.pValue = std::min(1.0, 2.0 * tail);
    return test;
}
