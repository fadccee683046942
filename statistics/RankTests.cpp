#include "statistics/RankTests.h"

#include "statistics/Ranks.h"

#include <boost/math/distributions/chi_squared.hpp>
#include <boost/math/distributions/normal.hpp>
#include <boost/math/distributions/students_t.hpp>

#include <algorithm>
#include <cmath>
#include <limits>

namespace {

// Two-sided p from the two tails of a discrete distribution: twice the smaller, at most 1.
double TwoSided(double atMost, double atLeast, double all)
{
    return std::min(1.0, 2.0 * std::min(atMost, atLeast) / all);
}

// The two groups' values ranked together by merging them in order: the runs of tied values (doubled
// mid-rank, how many of each group), from which the first group's rank sum and the tie term follow.
struct TieRun
{
    long doubledRank = 0;
    int first = 0;
    int second = 0;
};

std::vector<TieRun> MergeRuns(std::span<const double> first, std::span<const double> second)
{
    std::vector<TieRun> runs;
    std::size_t i = 0;
    std::size_t j = 0;
    long position = 0;
    while (i < first.size() || j < second.size()) {
        const bool fromFirst = j == second.size() || (i < first.size() && first[i] <= second[j]);
        const double value = fromFirst ? first[i] : second[j];
        TieRun run;
        if (value != value) { // NaN equals nothing: a run of its own, so the walk always moves on
            (fromFirst ? run.first : run.second) = 1;
            ++(fromFirst ? i : j);
        }
        while (i < first.size() && first[i] == value) {
            ++run.first;
            ++i;
        }
        while (j < second.size() && second[j] == value) {
            ++run.second;
            ++j;
        }
        const long count = run.first + run.second;
        run.doubledRank = 2 * position + count + 1;
        position += count;
        runs.push_back(run);
    }
    return runs;
}

// The exact p of the smaller group's doubled mid-rank sum: the number of ways each sum arises
// when `size` of the values are drawn, counted over the runs of tied values (a run of t values
// of doubled rank r gives k of them with C(t, k) ways and sum k r). Empty when past the work
// limit.
std::optional<double> ExactRankSumP(const std::vector<TieRun>& runs, int size, long observed)
{
    long values = 0;
    long largest = 0;
    int left = size;
    for (auto run = runs.rbegin(); run != runs.rend(); ++run) {
        const int count = run->first + run->second;
        values += count;
        const int taken = std::min(left, count);
        largest += taken * run->doubledRank;
        left -= taken;
    }
    const std::int64_t work = std::int64_t(values) * (size + 1) * (largest + 1);
    if (work > kExactMannWhitneyWork)
        return std::nullopt;
    const std::size_t width = std::size_t(largest) + 1;
    // ways[k * width + s]: draws of k values with doubled rank sum s.
    std::vector<double> ways(std::size_t(size + 1) * width, 0.0);
    std::vector<double> next(ways.size());
    ways[0] = 1.0;
    int seen = 0; // values seen so far, bounding k
    for (const TieRun& run : runs) {
        const int count = run.first + run.second;
        std::fill(next.begin(), next.end(), 0.0);
        std::vector<double> choose(std::size_t(std::min(count, size)) + 1, 1.0);
        for (std::size_t j = 1; j < choose.size(); ++j)
            choose[j] = choose[j - 1] * double(count - int(j) + 1) / double(j);
        const int reach = std::min(seen, size);
        for (int k = 0; k <= reach; ++k) {
            for (std::size_t s = 0; s < width; ++s) {
                const double w = ways[std::size_t(k) * width + s];
                if (w == 0.0)
                    continue;
                for (int j = 0; j < int(choose.size()) && k + j <= size; ++j) {
                    const std::size_t sum = s + std::size_t(j * run.doubledRank);
                    if (sum >= width)
                        break;
                    next[std::size_t(k + j) * width + sum] += w * choose[std::size_t(j)];
                }
            }
        }
        ways.swap(next);
        seen += count;
    }
    double all = 0.0;
    double atMost = 0.0;
    double atLeast = 0.0;
    for (std::size_t s = 0; s < width; ++s) {
        const double w = ways[std::size_t(size) * width + s];
        all += w;
        if (long(s) <= observed)
            atMost += w;
        if (long(s) >= observed)
            atLeast += w;
    }
    return TwoSided(atMost, atLeast, all);
}

double NormalTwoSided(double z)
{
    return std::min(1.0, 2.0 * boost::math::cdf(boost::math::complement(boost::math::normal(), z)));
}

// Mann-Whitney of two groups whose values are in ascending order.
TestResult MannWhitneySorted(std::span<const double> first, std::span<const double> second)
{
    TestResult result;
    result.method = TestMethod::Asymptotic;
    const std::size_t n1 = first.size();
    const std::size_t n2 = second.size();
    if (n1 == 0 || n2 == 0)
        return result;
    const std::vector<TieRun> runs = MergeRuns(first, second);
    long firstDoubled = 0;
    double tieTerm = 0.0;
    for (const TieRun& run : runs) {
        firstDoubled += run.first * run.doubledRank;
        const double t = run.first + run.second;
        tieTerm += t * t * t - t;
    }
    const double u1 = double(firstDoubled) / 2.0 - double(n1) * double(n1 + 1) / 2.0;
    const double product = double(n1) * double(n2);
    result.statistic = u1;
    result.effect = 2.0 * u1 / product - 1.0;
    const double n = double(n1 + n2);
    if (runs.size() == 1)
        return result; // every value the same: no ordering to test

    const bool firstSmaller = n1 <= n2;
    const std::size_t smaller = std::min(n1, n2);
    if (smaller <= std::size_t(kExactMannWhitneySmallerGroup)) {
        const long observed = firstSmaller ? firstDoubled : long(n * (n + 1)) - firstDoubled;
        if (const auto p = ExactRankSumP(runs, int(smaller), observed)) {
            result.method = TestMethod::Exact;
            result.p = *p;
            return result;
        }
    }
    const double mean = product / 2.0;
    const double variance = product / 12.0 * ((n + 1.0) - tieTerm / (n * (n - 1.0)));
    result.p = NormalTwoSided((std::abs(u1 - mean) - 0.5) / std::sqrt(variance));
    return result;
}

std::vector<double> Sorted(std::span<const double> values)
{
    std::vector<double> sorted(values.begin(), values.end());
    std::sort(sorted.begin(), sorted.end());
    return sorted;
}

} // namespace

TestResult MannWhitney(std::span<const double> first, std::span<const double> second)
{
    return MannWhitneySorted(Sorted(first), Sorted(second));
}

TestResult KruskalWallis(const std::vector<std::vector<double>>& groups)
{
    TestResult result;
    result.method = TestMethod::Asymptotic;
    std::vector<double> all;
    std::vector<std::size_t> sizes;
    for (const auto& g : groups) {
        if (g.empty())
            continue;
        all.insert(all.end(), g.begin(), g.end());
        sizes.push_back(g.size());
    }
    if (sizes.size() < 2)
        return result;
    const double n = double(all.size());
    const Ranking ranking = RankValues(all);
    const double tieTerm = ranking.tieTerm;
    if (tieTerm == n * n * n - n)
        return result;
    double sumSquares = 0.0;
    std::size_t at = 0;
    for (std::size_t size : sizes) {
        double rankSum = 0.0;
        for (std::size_t i = 0; i < size; ++i)
            rankSum += double(ranking.doubled[at++]) / 2.0;
        sumSquares += rankSum * rankSum / double(size);
    }
    const double h = (12.0 / (n * (n + 1.0)) * sumSquares - 3.0 * (n + 1.0)) / (1.0 - tieTerm / (n * n * n - n));
    const double df = double(sizes.size() - 1);
    result.statistic = h;
    result.df = df;
    result.p = boost::math::cdf(boost::math::complement(boost::math::chi_squared(df), std::max(0.0, h)));
    result.effect = h / (n - 1.0);
    return result;
}

std::vector<double> HolmAdjust(std::span<const double> p)
{
    std::vector<std::size_t> order;
    for (std::size_t i = 0; i < p.size(); ++i)
        if (!std::isnan(p[i]))
            order.push_back(i);
    std::stable_sort(order.begin(), order.end(), [&](std::size_t a, std::size_t b) { return p[a] < p[b]; });
    std::vector<double> adjusted(p.begin(), p.end());
    const double m = double(order.size());
    double running = 0.0;
    for (std::size_t k = 0; k < order.size(); ++k) {
        running = std::max(running, std::min(1.0, (m - double(k)) * p[order[k]]));
        adjusted[order[k]] = running;
    }
    return adjusted;
}

std::vector<PairwiseTest> PairwiseMannWhitneyHolm(const std::vector<std::vector<double>>& groups)
{
    std::vector<PairwiseTest> pairs;
    std::vector<double> raw;
    // Each group sorted once; every pair is then ranked by a merge.
    std::vector<std::vector<double>> sorted;
    for (const auto& g : groups)
        sorted.push_back(Sorted(g));
    for (std::size_t i = 0; i < groups.size(); ++i) {
        for (std::size_t j = i + 1; j < groups.size(); ++j) {
            PairwiseTest pair{int(i), int(j), MannWhitneySorted(sorted[i], sorted[j]), std::nullopt};
            pair.rawP = pair.test.p;
            raw.push_back(pair.test.p.value_or(std::numeric_limits<double>::quiet_NaN()));
            pairs.push_back(std::move(pair));
        }
    }
    const std::vector<double> adjusted = HolmAdjust(raw);
    for (std::size_t k = 0; k < pairs.size(); ++k)
        if (pairs[k].test.p)
            pairs[k].test.p = adjusted[k];
    return pairs;
}

TestResult Spearman(std::span<const double> x, std::span<const double> y)
{
    TestResult result;
    result.method = TestMethod::Asymptotic;
    const std::size_t n = std::min(x.size(), y.size());
    if (n < 2)
        return result;
    const std::vector<double> rx = MidRanks(x.first(n));
    const std::vector<double> ry = MidRanks(y.first(n));
    const double centre = (double(n) + 1.0) / 2.0;
    double sxy = 0.0;
    double sxx = 0.0;
    double syy = 0.0;
    for (std::size_t i = 0; i < n; ++i) {
        sxy += (rx[i] - centre) * (ry[i] - centre);
        sxx += (rx[i] - centre) * (rx[i] - centre);
        syy += (ry[i] - centre) * (ry[i] - centre);
    }
    if (sxx == 0.0 || syy == 0.0)
        return result;
    const double rho = std::clamp(sxy / std::sqrt(sxx * syy), -1.0, 1.0);
    result.statistic = rho;
    result.effect = rho;
    if (n < 3)
        return result;
    const double df = double(n - 2);
    result.df = df;
    if (std::abs(rho) == 1.0) {
        result.p = 0.0;
        return result;
    }
    const double t = rho * std::sqrt(df / (1.0 - rho * rho));
    result.p = std::min(1.0, 2.0 * boost::math::cdf(boost::math::complement(boost::math::students_t(df), std::abs(t))));
    return result;
}
