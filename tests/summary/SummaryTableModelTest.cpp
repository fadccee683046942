#include "summary/SummaryTableModel.h"

#include "summary/CountsChart.h"
#include "reports/HeaderCaption.h"
#include "tests/core/RowName.h"

#include <QBrush>
#include <QImage>
#include <QPainter>
#include <QSortFilterProxyModel>
#include <gtest/gtest.h>

namespace {

SummaryRow Assessed(const QString& path, AdaptationLevel level, VegetativeBalance balance, double index, int kerdo)
{
    SummaryRow row;
    row.path = path;
    row.outcome = RowOutcome::Assessed;
    row.result.Level = level;
    row.result.Balance = balance;
    row.result.AdaptationIndex = index;
    row.result.KerdoShown = kerdo;
    row.adaptationIndexShown = QString::number(index, 'f', 2);
    row.texts.Systolic = QString::number(int(index * 40));
    return row;
}

SummaryRow Refused(const QString& path, RowOutcome outcome, const QString& reason)
{
    SummaryRow row;
    row.path = path;
    row.outcome = outcome;
    row.reason = reason;
    return row;
}

SummaryRows Group()
{
    return {Assessed("a", AdaptationLevel::Breakdown, VegetativeBalance::Sympathicotonia, 3.6, 25),
            Assessed("b", AdaptationLevel::Satisfactory, VegetativeBalance::NormalBalance, 2.1, -3),
            Assessed("c", AdaptationLevel::Strain, VegetativeBalance::Vagotonia, 2.9, -40),
            Refused("d", RowOutcome::ReadError, "Ошибка чтения: File access denied"),
            Refused("e", RowOutcome::NotAcceptable, ""),
            Assessed("f", AdaptationLevel::Satisfactory, VegetativeBalance::Sympathicotonia, 10.25, 100)};
}

QStringList ColumnAfterSorting(const SummaryRows& rows, int column, Qt::SortOrder order)
{
    SummaryTableModel model;
    model.appendRows(rows);
    QSortFilterProxyModel sorted;
    sorted.setSourceModel(&model);
    sorted.setSortRole(SummaryTableModel::SortRole);
    sorted.sort(column, order);
    QStringList paths;
    for (int r = 0; r < sorted.rowCount(); ++r)
        paths << sorted.index(r, SummaryTableModel::ColPath).data().toString();
    return paths;
}

struct SortCase
{
    std::string name;
    int column;
    Qt::SortOrder order;
    QStringList paths;
};

class SortedBy : public ::testing::TestWithParam<SortCase>
{
};

TEST_P(SortedBy, ColumnGivesTheOrderOfItsValues)
{
    EXPECT_EQ(ColumnAfterSorting(Group(), GetParam().column, GetParam().order), GetParam().paths);
}

INSTANTIATE_TEST_SUITE_P(
    Rows, SortedBy,
    ::testing::Values(
        // 10,25 sorts above 3,60 as a number, not below it as a text would; rows without a
        // value gather at one end.
        SortCase{"index_as_number", SummaryTableModel::ColIndex, Qt::DescendingOrder, {"d", "e", "f", "a", "c", "b"}},
        SortCase{"kerdo_negative_first", 15, Qt::AscendingOrder, {"c", "b", "a", "f", "d", "e"}},
        SortCase{"level_by_severity", SummaryTableModel::ColLevel, Qt::DescendingOrder, {"d", "e", "a", "c", "b", "f"}},
        SortCase{"path", SummaryTableModel::ColPath, Qt::DescendingOrder, {"f", "e", "d", "c", "b", "a"}}),
    RowName());

TEST(SummaryTableModel, CountsFollowTheRowsAsTheyArrive)
{
    SummaryTableModel model;
    int signalled = 0;
    QObject::connect(&model, &SummaryTableModel::countsChanged, [&] { ++signalled; });
    const SummaryRows rows = Group();
    model.appendRows(rows.mid(0, 2));
    model.appendRows(rows.mid(2));
    EXPECT_EQ(signalled, 2);
    const SummaryCounts& c = model.counts();
    EXPECT_EQ(c.files, 6);
    EXPECT_EQ(c.assessed, 4);
    EXPECT_EQ(c.readErrors, 1);
    EXPECT_EQ(c.notAcceptable, 1);
    EXPECT_EQ(c.level(AdaptationLevel::Satisfactory), 2);
    EXPECT_EQ(c.level(AdaptationLevel::Unsatisfactory), 0);
    EXPECT_EQ(c.balance(VegetativeBalance::Sympathicotonia), 2);
    model.clear();
    EXPECT_EQ(model.counts().files, 0);
    EXPECT_EQ(model.rowCount(), 0);
}

TEST(SummaryTableModel, LevelCellsWearTheLevelColoursAndReasonsShow)
{
    SummaryTableModel model;
    model.appendRows(Group());
    const QModelIndex breakdown = model.index(0, SummaryTableModel::ColLevel);
    EXPECT_EQ(breakdown.data(Qt::BackgroundRole).value<QBrush>().color(), QColor(Qt::black));
    EXPECT_EQ(breakdown.data(Qt::ForegroundRole).value<QBrush>().color(), QColor(Qt::white));
    EXPECT_EQ(model.index(1, SummaryTableModel::ColLevel).data(Qt::BackgroundRole).value<QBrush>().color(),
              QColor(0, 255, 0));
    EXPECT_EQ(model.index(3, SummaryTableModel::ColOutcome).data().toString(),
              QStringLiteral("Ошибка чтения: File access denied"));
    EXPECT_FALSE(model.index(3, SummaryTableModel::ColLevel).data(Qt::BackgroundRole).isValid());
}

TEST(CountsChart, BarsAreAsLongAsTheirShareAndInTheLevelColour)
{
    SummaryCounts counts;
    counts.level(AdaptationLevel::Satisfactory) = 4;
    counts.level(AdaptationLevel::Breakdown) = 2;
    QImage image(400, 140, QImage::Format_RGB32);
    image.fill(Qt::white);
    QPainter painter(&image);
    DrawCountsChart(painter, image.rect(), counts);
    painter.end();
    // Row 0 (satisfactory) holds the longest bar in lime; row 3 (breakdown) a black one half as long.
    auto runOf = [&image](int y, QColor color) {
        int n = 0;
        for (int x = 0; x < image.width(); ++x)
            n += image.pixelColor(x, y) == color ? 1 : 0;
        return n;
    };
    const int rowHeight = (140 - 6) / 7;
    const int lime = runOf(rowHeight / 2, QColor(0, 255, 0));
    const int black = runOf(3 * rowHeight + rowHeight / 2, QColor(0, 0, 0));
    EXPECT_GT(lime, 100);
    EXPECT_NEAR(black, lime / 2, 12); // the caption's and count's glyphs add a few dark pixels
    EXPECT_EQ(runOf(rowHeight + rowHeight / 2, LevelQColor(AdaptationLevel::Strain)), 0);
}

struct CaptionRow
{
    const char* name;
    QString caption;
    int lineChars;
    QString wrapped;
};

class HeaderCaption : public ::testing::TestWithParam<CaptionRow>
{
};

TEST_P(HeaderCaption, BreaksAfterCommasAndAtBlanksOnly)
{
    EXPECT_EQ(WrapCaption(GetParam().caption, GetParam().lineChars), GetParam().wrapped);
}

INSTANTIATE_TEST_SUITE_P(
    Captions, HeaderCaption,
    ::testing::Values(CaptionRow{"unit_below", "Сист. АД, мм рт.ст.", 18, "Сист. АД,\nмм рт.ст."},
                      CaptionRow{"word_per_line", "2026-09: уровень адаптации", 1, "2026-09:\nуровень\nадаптации"},
                      CaptionRow{"fits_on_one", "Уровень адаптации", 18, "Уровень адаптации"},
                      CaptionRow{"long_word_kept", "Систолическое давление", 10, "Систолическое\nдавление"}),
    RowName());

} // namespace
