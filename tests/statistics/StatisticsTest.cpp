#include "statistics/Contingency.h"
#include "statistics/Descriptive.h"
#include "statistics/RankTests.h"
#include "statistics/SignedRank.h"

#include <QFile>
#include <QStringList>
#include <gtest/gtest.h>

#include <cmath>

namespace {

std::vector<std::vector<double>> Groups(const QString& data)
{
    std::vector<std::vector<double>> groups;
    for (const QString& group : data.split(u'|')) {
        groups.emplace_back();
        for (const QString& value : group.split(u','))
            groups.back().push_back(value.toDouble());
    }
    return groups;
}

CountTable Table(const QString& data)
{
    CountTable table;
    for (const auto& row : Groups(data)) {
        table.emplace_back();
        for (double v : row)
            table.back().push_back(int(v));
    }
    return table;
}

void ExpectClose(const std::optional<double>& ours, const QString& reference, double tolerance = 1e-9)
{
    const double expected = reference.toDouble();
    if (std::isnan(expected)) {
        EXPECT_FALSE(ours.has_value());
        return;
    }
    ASSERT_TRUE(ours.has_value());
    EXPECT_NEAR(*ours, expected, tolerance * std::max(1.0, std::abs(expected)));
}

// Every row of the reference file against ours: statistic, df, p, method and effect.
TEST(Statistics, EqualTheReferenceValues)
{
    QFile file(QStringLiteral(VORNALE_STATISTICS_REFERENCE));
    ASSERT_TRUE(file.open(QIODevice::ReadOnly | QIODevice::Text));
    int rows = 0;
    while (!file.atEnd()) {
        const QString line = QString::fromUtf8(file.readLine()).trimmed();
        if (line.startsWith(u'#'))
            continue;
        const QStringList f = line.split(u'\t');
        ASSERT_EQ(f.size(), 8) << line.toStdString();
        SCOPED_TRACE(f[0].toStdString());
        const QString kind = f[1];
        TestResult r{};
        double pTolerance = 1e-9;
        if (kind == u"describe") {
            const Description d = Describe(Groups(f[2])[0]);
            r = {d.median, d.q1, d.q3, TestMethod::Exact, d.sd};
        } else if (kind == u"mean") {
            r.statistic = Describe(Groups(f[2])[0]).mean;
        } else if (kind == u"chi-square") {
            r = PearsonChiSquare(Table(f[2]));
        } else if (kind == u"fisher-exact") {
            const CountTable t = Table(f[2]);
            r = FisherExact2x2(t[0][0], t[0][1], t[1][0], t[1][1]);
        } else if (kind == u"fisher-freeman-halton") {
            r = FisherFreemanHalton(Table(f[2]));
            r.statistic.reset(); // the table's own probability; R gives none
        } else if (kind == u"ffh-monte-carlo") {
            r = FisherFreemanHalton(Table(f[2]), ExactTestLimits{.maxEnumeratedTables = 10});
            r.statistic.reset();
            pTolerance = 0.005 / r.p.value_or(1); // 100 000 tables: a few standard errors
        } else if (kind == u"mann-whitney") {
            const auto g = Groups(f[2]);
            r = MannWhitney(g[0], g[1]);
        } else if (kind == u"kruskal-wallis") {
            r = KruskalWallis(Groups(f[2]));
        } else if (kind == u"holm") {
            const std::vector<double> adjusted = HolmAdjust(Groups(f[2])[0]);
            r.p = adjusted[std::size_t(f[7].toDouble())];
            r.effect = f[7].toDouble();
        } else if (kind == u"spearman") {
            const auto g = Groups(f[2]);
            r = Spearman(g[0], g[1]);
        } else {
            FAIL() << "unknown kind " << kind.toStdString();
        }
        ExpectClose(r.statistic, f[3]);
        ExpectClose(r.df, f[4]);
        ExpectClose(r.p, f[5], pTolerance);
        if (f[6] != u"none") {
            EXPECT_EQ(TestMethodName(r.method), f[6].toStdString());
        }
        ExpectClose(r.effect, f[7]);
        ++rows;
    }
    EXPECT_GE(rows, 30);
}

// Past the enumeration's limit the test switches to random tables and says so; a cancelled run
// gives no p.
TEST(Statistics, FisherFreemanHaltonStaysBounded)
{
    const CountTable large{{40, 35, 2, 1}, {38, 41, 0, 3}, {45, 30, 1, 2}, {39, 44, 3, 0}};
    const TestResult sampled = FisherFreemanHalton(large, ExactTestLimits{.maxEnumeratedTables = 1000});
    EXPECT_EQ(sampled.method, TestMethod::MonteCarlo);
    ASSERT_TRUE(sampled.p);
    EXPECT_GT(*sampled.p, 0.0);
    EXPECT_EQ(FisherFreemanHalton(large, ExactTestLimits{.maxEnumeratedTables = 1000}).p, sampled.p); // fixed seed
    const std::atomic<bool> cancel{true};
    EXPECT_FALSE(FisherFreemanHalton(large, {}, &cancel).p);
}

// A large second group keeps a small first one from an unbounded exact count.
TEST(Statistics, MannWhitneyExactOnlyWithinItsWork)
{
    std::vector<double> few{2.1, 2.5, 2.9};
    std::vector<double> many;
    for (int i = 0; i < 6000; ++i)
        many.push_back(1.5 + (i % 300) / 100.0);
    EXPECT_EQ(MannWhitney(few, many).method, TestMethod::Asymptotic);
    EXPECT_EQ(MannWhitney(few, std::vector<double>(many.begin(), many.begin() + 40)).method, TestMethod::Exact);
    const std::vector<double> same(6, 2.41);
    EXPECT_FALSE(MannWhitney(same, same).p);
}

// The signed-rank switch: 50 tied pairs exact, 51 approximate.
TEST(Statistics, SignedRankExactUpToFiftyPairsWithTies)
{
    std::vector<double> changes(50, 0.1);
    changes[0] = -0.1;
    EXPECT_EQ(SignedRankTest(changes).test.method, TestMethod::Exact);
    // One negative among fifty equal magnitudes: P(T+ >= observed) = 51 / 2^50, twice that.
    EXPECT_DOUBLE_EQ(*SignedRankTest(changes).test.p, 2.0 * 51.0 / std::ldexp(1.0, 50));
    changes.push_back(0.1);
    EXPECT_EQ(SignedRankTest(changes).test.method, TestMethod::Asymptotic);
}

} // namespace
