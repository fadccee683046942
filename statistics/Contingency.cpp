#include "statistics/Contingency.h"

#include <boost/math/distributions/chi_squared.hpp>

#include <algorithm>
#include <cmath>
#include <limits>
#include <numeric>
#include <random>

namespace {

// Tables no more probable than the observed one count as "as extreme", within this relative
// tolerance against rounding.
constexpr double kRelativeTolerance = 1e-7;

struct Margins
{
    std::vector<int> rows;
    std::vector<int> columns;
    int total = 0;
};

Margins MarginsOf(const CountTable& table)
{
    Margins m;
    m.rows.assign(table.size(), 0);
    m.columns.assign(table.empty() ? 0 : table.front().size(), 0);
    for (std::size_t i = 0; i < table.size(); ++i) {
        for (std::size_t j = 0; j < table[i].size(); ++j) {
            m.rows[i] += table[i][j];
            m.columns[j] += table[i][j];
        }
    }
    m.total = std::accumulate(m.rows.begin(), m.rows.end(), 0);
    return m;
}

// ln k! for k = 0..n.
std::vector<double> LogFactorials(int n)
{
    std::vector<double> lf(std::size_t(n) + 1, 0.0);
    for (int k = 2; k <= n; ++k)
        lf[std::size_t(k)] = std::lgamma(double(k) + 1.0);
    return lf;
}

// The table's ln probability under its margins, less the part common to every such table:
// minus the sum of ln n_ij!.
double CellLogWeight(const CountTable& table, const std::vector<double>& lf)
{
    double w = 0.0;
    for (const auto& row : table)
        for (int n : row)
            w -= lf[std::size_t(n)];
    return w;
}

// ln of (prod r_i! prod c_j!) / N!: turns a CellLogWeight into a ln probability.
double MarginLogWeight(const Margins& m, const std::vector<double>& lf)
{
    double w = -lf[std::size_t(m.total)];
    for (int r : m.rows)
        w += lf[std::size_t(r)];
    for (int c : m.columns)
        w += lf[std::size_t(c)];
    return w;
}

// Walks every table with the given margins, column by column and within a column row by row
// (the last row of each column and the last column are forced), while fewer than `limit`
// tables have been seen.
class TableEnumerator
{
public:
    TableEnumerator(const Margins& m, const std::vector<double>& lf, double observedWeight, std::int64_t limit,
                    const std::atomic<bool>* cancel)
        : m_(m), lf_(lf), base_(MarginLogWeight(m, lf)), threshold_(observedWeight + kRelativeTolerance),
          limit_(limit), cancel_(cancel), rowsLeft_(m.rows)
    {
    }

    // False when the limit was reached or the work was cancelled.
    bool run()
    {
        column(0, 0, m_.columns.empty() ? 0 : m_.columns[0], 0.0);
        return !stopped_;
    }
    double sumAsExtreme() const { return asExtreme_; }

private:
    void column(std::size_t j, std::size_t i, int need, double weight)
    {
        if (stopped_)
            return;
        const std::size_t lastColumn = m_.columns.size() - 1;
        if (j == lastColumn) {
            // The last column takes what each row has left.
            double w = weight;
            for (int left : rowsLeft_)
                w -= lf_[std::size_t(left)];
            if (++seen_ > limit_ || ((seen_ & 0xfff) == 0 && cancel_ && cancel_->load(std::memory_order_relaxed))) {
                stopped_ = true;
                return;
            }
            if (w <= threshold_)
                asExtreme_ += std::exp(w + base_);
            return;
        }
        if (i + 1 == rowsLeft_.size()) {
            if (need > rowsLeft_[i])
                return;
            rowsLeft_[i] -= need;
            column(j + 1, 0, m_.columns[j + 1], weight - lf_[std::size_t(need)]);
            rowsLeft_[i] += need;
            return;
        }
        // What the rows below can still take bounds this cell from below.
        int below = 0;
        for (std::size_t k = i + 1; k < rowsLeft_.size(); ++k)
            below += rowsLeft_[k];
        const int low = std::max(0, need - below);
        const int high = std::min(need, rowsLeft_[i]);
        for (int n = low; n <= high && !stopped_; ++n) {
            rowsLeft_[i] -= n;
            column(j, i + 1, need - n, weight - lf_[std::size_t(n)]);
            rowsLeft_[i] += n;
        }
    }

    const Margins& m_;
    const std::vector<double>& lf_;
    double base_; // turns a cell weight into a ln probability
    double threshold_;
    std::int64_t limit_;
    const std::atomic<bool>* cancel_;
    std::vector<int> rowsLeft_;
    std::int64_t seen_ = 0;
    bool stopped_ = false;
    double asExtreme_ = 0.0;
};

// Uniform on [0, 1) from the top 53 bits, the same on every platform.
double Uniform(std::mt19937_64& random)
{
    return double(random() >> 11) * 0x1.0p-53;
}

// One hypergeometric draw by inversion walking out from the mode: the work follows the spread,
// so it serves small draws.
int HypergeometricByWalk(int population, int successes, int draws, const std::vector<double>& lf,
                         std::mt19937_64& random)
{
    const int low = std::max(0, draws - (population - successes));
    const int high = std::min(draws, successes);
    if (low == high)
        return low;
    const int mode = std::clamp(int((double(draws) + 1.0) * (double(successes) + 1.0) / (double(population) + 2.0)),
                                low, high);
    const auto logPmf = [&](int x) {
        return lf[std::size_t(successes)] - lf[std::size_t(x)] - lf[std::size_t(successes - x)] +
               lf[std::size_t(population - successes)] - lf[std::size_t(draws - x)] -
               lf[std::size_t(population - successes - draws + x)] - lf[std::size_t(population)] +
               lf[std::size_t(draws)] + lf[std::size_t(population - draws)];
    };
    double u = Uniform(random);
    const double atMode = std::exp(logPmf(mode));
    u -= atMode;
    if (u <= 0)
        return mode;
    int down = mode;
    int up = mode;
    double pDown = atMode;
    double pUp = atMode;
    const double failures = population - successes;
    while (down > low || up < high) {
        if (up < high) {
            pUp *= double(successes - up) * double(draws - up) / (double(up + 1) * (failures - draws + up + 1));
            ++up;
            u -= pUp;
            if (u <= 0)
                return up;
        }
        if (down > low) {
            pDown *= double(down) * (failures - draws + down) / (double(successes - down + 1) * double(draws - down + 1));
            --down;
            u -= pDown;
            if (u <= 0)
                return down;
        }
    }
    return mode; // rounding left a sliver of u
}

// The same draw by ratio-of-uniforms rejection (Stadlober's H2PE as simplified in HRUA): a
// couple of tries whatever the spread, each a few table lookups; the tail past 16 standard
// deviations is left out.
int Hypergeometric(int population, int successes, int draws, const std::vector<double>& lf, std::mt19937_64& random)
{
    const int sample = std::min(draws, population - draws);
    if (sample < 10)
        return HypergeometricByWalk(population, successes, draws, lf, random);
    const int failures = population - successes;
    const int fewer = std::min(successes, failures);
    const int more = std::max(successes, failures);
    const double p = double(fewer) / population;
    const double q = double(more) / population;
    const double a = sample * p + 0.5;
    const double c = std::sqrt(double(population - sample) * sample * p * q / (population - 1) + 0.5);
    const double h = 1.7155277699214135 * c + 0.8989161620588988;
    const int mode = int(std::floor(double(sample + 1) * (fewer + 1) / (population + 2)));
    const auto weight = [&](int k) {
        return lf[std::size_t(k)] + lf[std::size_t(fewer - k)] + lf[std::size_t(sample - k)] +
               lf[std::size_t(more - sample + k)];
    };
    const double g = weight(mode);
    const double bound = std::min(double(std::min(sample, fewer) + 1), std::floor(a + 16 * c));
    int k = 0;
    for (;;) {
        const double u = Uniform(random);
        const double v = Uniform(random);
        if (u == 0.0)
            continue;
        const double x = a + h * (v - 0.5) / u;
        if (x < 0.0 || x >= bound)
            continue;
        k = int(std::floor(x));
        if (k > std::min(sample, fewer) || more - sample + k < 0)
            continue;
        const double t = g - weight(k);
        if (u * (4.0 - u) - 3.0 <= t)
            break;
        if (u * (u - t) >= 1.0)
            continue;
        if (2.0 * std::log(u) <= t)
            break;
    }
    if (successes > failures)
        k = sample - k;
    if (sample < draws)
        k = successes - k;
    return k;
}

TestResult MonteCarloFfh(const CountTable& table, const Margins& m, const std::vector<double>& lf,
                         const ExactTestLimits& limits, const std::atomic<bool>* cancel)
{
    TestResult result;
    result.method = TestMethod::MonteCarlo;
    const double observed = CellLogWeight(table, lf);
    result.statistic = std::exp(observed + MarginLogWeight(m, lf));
    std::mt19937_64 random(limits.seed);
    const std::size_t rows = m.rows.size();
    const std::size_t columns = m.columns.size();
    std::vector<int> rowsLeft(rows);
    int hits = 0;
    for (int t = 0; t < limits.monteCarloTables; ++t) {
        if ((t & 0x3ff) == 0 && cancel && cancel->load(std::memory_order_relaxed))
            return TestResult{std::nullopt, std::nullopt, std::nullopt, TestMethod::MonteCarlo, std::nullopt};
        rowsLeft = m.rows;
        int left = m.total;
        double weight = 0.0;
        for (std::size_t j = 0; j + 1 < columns; ++j) {
            int need = m.columns[j];
            int population = left;
            for (std::size_t i = 0; i < rows && need > 0; ++i) {
                const int n = i + 1 == rows ? need : Hypergeometric(population, rowsLeft[i], need, lf, random);
                population -= rowsLeft[i];
                rowsLeft[i] -= n;
                need -= n;
                weight -= lf[std::size_t(n)];
            }
            left -= m.columns[j];
        }
        for (int n : rowsLeft)
            weight -= lf[std::size_t(n)];
        if (weight <= observed + kRelativeTolerance)
            ++hits;
    }
    result.p = (1.0 + hits) / (1.0 + limits.monteCarloTables);
    return result;
}

} // namespace

CountTable WithoutEmptyLines(const CountTable& table)
{
    const Margins m = MarginsOf(table);
    CountTable kept;
    for (std::size_t i = 0; i < table.size(); ++i) {
        if (m.rows[i] == 0)
            continue;
        std::vector<int> row;
        for (std::size_t j = 0; j < table[i].size(); ++j) {
            if (m.columns[j] != 0)
                row.push_back(table[i][j]);
        }
        kept.push_back(std::move(row));
    }
    return kept;
}

TestResult PearsonChiSquare(const CountTable& full)
{
    TestResult result;
    result.method = TestMethod::Asymptotic;
    const CountTable table = WithoutEmptyLines(full);
    if (table.size() < 2 || table.front().size() < 2)
        return result;
    const Margins m = MarginsOf(table);
    double chi = 0.0;
    for (std::size_t i = 0; i < table.size(); ++i) {
        for (std::size_t j = 0; j < table[i].size(); ++j) {
            const double expected = double(m.rows[i]) * double(m.columns[j]) / double(m.total);
            const double d = table[i][j] - expected;
            chi += d * d / expected;
        }
    }
    const double df = double((table.size() - 1) * (table.front().size() - 1));
    result.statistic = chi;
    result.df = df;
    result.p = boost::math::cdf(boost::math::complement(boost::math::chi_squared(df), chi));
    const double smaller = double(std::min(table.size(), table.front().size()) - 1);
    result.effect = std::sqrt(chi / (double(m.total) * smaller));
    return result;
}

bool AnyExpectedBelow(const CountTable& full, double threshold)
{
    const CountTable table = WithoutEmptyLines(full);
    const Margins m = MarginsOf(table);
    for (int r : m.rows)
        for (int c : m.columns)
            if (double(r) * double(c) / double(m.total) < threshold)
                return true;
    return false;
}

TestResult FisherExact2x2(int a, int b, int c, int d)
{
    TestResult result;
    result.method = TestMethod::Exact;
    if (double(b) * c > 0 || double(a) * d > 0)
        result.statistic = double(b) * c == 0 ? std::numeric_limits<double>::infinity() : double(a) * d / (double(b) * c);
    const int row1 = a + b;
    const int row2 = c + d;
    const int column1 = a + c;
    const int total = row1 + row2;
    const std::vector<double> lf = LogFactorials(total);
    const auto logP = [&](int x) {
        return lf[std::size_t(row1)] - lf[std::size_t(x)] - lf[std::size_t(row1 - x)] + lf[std::size_t(row2)] -
               lf[std::size_t(column1 - x)] - lf[std::size_t(row2 - column1 + x)] - lf[std::size_t(total)] +
               lf[std::size_t(column1)] + lf[std::size_t(total - column1)];
    };
    const double observed = logP(a);
    double p = 0.0;
    for (int x = std::max(0, column1 - row2); x <= std::min(row1, column1); ++x) {
        const double lx = logP(x);
        if (lx <= observed + kRelativeTolerance)
            p += std::exp(lx);
    }
    result.p = std::min(1.0, p);
    return result;
}

TestResult FisherFreemanHalton(const CountTable& full, const ExactTestLimits& limits, const std::atomic<bool>* cancel)
{
    const CountTable table = WithoutEmptyLines(full);
    TestResult result;
    result.method = TestMethod::Exact;
    if (table.size() < 2 || table.front().size() < 2)
        return result;
    const Margins m = MarginsOf(table);
    const std::vector<double> lf = LogFactorials(m.total);
    const double observed = CellLogWeight(table, lf);
    TableEnumerator enumerator(m, lf, observed, limits.maxEnumeratedTables, cancel);
    if (enumerator.run()) {
        result.statistic = std::exp(observed + MarginLogWeight(m, lf));
        result.p = std::min(1.0, enumerator.sumAsExtreme());
        return result;
    }
    if (cancel && cancel->load())
        return result;
    return MonteCarloFfh(table, m, lf, limits, cancel);
}

TestResult ExactContingencyTest(const CountTable& full, const ExactTestLimits& limits, const std::atomic<bool>* cancel)
{
    const CountTable table = WithoutEmptyLines(full);
    if (table.size() == 2 && table.front().size() == 2)
        return FisherExact2x2(table[0][0], table[0][1], table[1][0], table[1][1]);
    return FisherFreemanHalton(table, limits, cancel);
}
