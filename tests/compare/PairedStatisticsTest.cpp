#include "compare/PairedStatistics.h"

#include <QFile>
#include <QStringList>
#include <gtest/gtest.h>

#include <cmath>

namespace {

// Every row of the reference file (SciPy's values; see make_reference.py) against ours.
void ExpectClose(const std::optional<double>& ours, const QString& reference)
{
    const double expected = reference.toDouble();
    if (std::isnan(expected)) {
        EXPECT_FALSE(ours.has_value());
        return;
    }
    ASSERT_TRUE(ours.has_value());
    EXPECT_NEAR(*ours, expected, 1e-9 * std::max(1.0, std::abs(expected)));
}

TEST(PairedStatistics, EqualTheIndependentReferenceValues)
{
    QFile file(QStringLiteral(VORNALE_COMPARE_REFERENCE));
    ASSERT_TRUE(file.open(QIODevice::ReadOnly | QIODevice::Text));
    int rows = 0;
    while (!file.atEnd()) {
        const QString line = QString::fromUtf8(file.readLine()).trimmed();
        if (line.startsWith(u'#'))
            continue;
        const QStringList f = line.split(u'\t');
        ASSERT_EQ(f.size(), 12) << line.toStdString();
        SCOPED_TRACE(f[0].toStdString());
        std::vector<int> changes;
        for (const QString& value : f[1].split(u','))
            changes.push_back(value.toInt());

        const MeanInterval mean = MeanChangeInterval(changes);
        EXPECT_EQ(mean.pairs, int(changes.size()));
        ExpectClose(mean.mean, f[4]);
        ExpectClose(mean.lower, f[5]);
        ExpectClose(mean.upper, f[6]);
        const PairedTest signedRank = WilcoxonSignedRank(changes);
        EXPECT_EQ(signedRank.pairs, f[7].toInt());
        ExpectClose(signedRank.pValue, f[8]);
        EXPECT_EQ(signedRank.exact, f[9] == "1");
        const PairedTest sign = SignTest(f[2].toInt(), f[3].toInt());
        EXPECT_EQ(sign.pairs, f[10].toInt());
        ExpectClose(sign.pValue, f[11]);
        ++rows;
    }
    EXPECT_GE(rows, 9);
}

} // namespace
