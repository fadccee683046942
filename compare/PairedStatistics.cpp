#include "compare/PairedStatistics.h"

#include <boost/math/distributions/binomial.hpp>
#include <boost/math/distributions/students_t.hpp>

#include <algorithm>
#include <cmath>
#include <cstdint>
#include <cstdlib>

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
    const std::vector<double> changes(hundredths.begin(), hundredths.end());
    const SignedRankResult signedRank = SignedRankTest(changes);
    return PairedTest{signedRank.pairs, signedRank.test.p, signedRank.test.method == TestMethod::Exact};
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
