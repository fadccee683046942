#include "compare/ComparisonReport.h"

#include "compare/ComparisonRun.h"
#include "compare/ComparisonTable.h"
#include "tests/support/StageFiles.h"

#include <QFile>
#include <QTemporaryDir>
#include <gtest/gtest.h>

namespace {

class ComparisonReport : public ::testing::Test
{
protected:
    ComparisonReport()
    {
        testsupport::WriteStage(at("autumn"), {{"Иванов Иван", 120}, {"Петров Пётр", 160}, {"Сидоров Олег", 120}});
        testsupport::WriteStage(at("spring"), {{"Иванов Иван", 190}, {"Петров Петр", 120}});
        comparison = std::make_shared<const Comparison>(
            RunComparison({{{at("autumn")}, QStringLiteral("осень")}, {{at("spring")}, QStringLiteral("весна")}},
                          Separators::current()));
    }
    QString at(const QString& name) const { return m_folder.filePath(name); }
    static QString Row(const TableReport& report, qsizetype row)
    {
        QStringList texts;
        for (const TableCell& cell : report.rowAt(row))
            texts << cell.text;
        return texts.join(u'|');
    }

    QTemporaryDir m_folder;
    std::shared_ptr<const Comparison> comparison;
};

// The one who got worse leads, crossed; anonymised, no row shows a name, and the codes are the CSV's.
TEST_F(ComparisonReport, PutsTheWorseFirstCrossedAndAnonymisesTheNames)
{
    for (const bool anonymised : {false, true}) {
        const TableReport report = BuildComparisonReport({MakeHandOver(comparison, anonymised).shown, anonymised});
        ASSERT_EQ(report.rowCount, 3);
        const TableRow first = report.rowAt(0);
        ASSERT_GE(first.front().fill, 0);
        EXPECT_EQ(report.fills[first.front().fill].mark, CellMark::Cross);
        EXPECT_EQ(first.front().text.startsWith(u'Л'), anonymised);
        EXPECT_EQ(report.fills.value(report.rowAt(1).front().fill).mark, CellMark::None);
        for (qsizetype row = 0; row < report.rowCount; ++row) {
            EXPECT_EQ(Row(report, row).contains(QStringLiteral("Иванов")), !anonymised && row == 0);
            EXPECT_FALSE(Row(report, row).contains(m_folder.path()));
        }
    }
}

TEST_F(ComparisonReport, IsWrittenAsAPdf)
{
    const QString path = at("report.pdf");
    EXPECT_EQ(WriteComparisonPdf(path, BuildComparisonReport({comparison})), QString());
    QFile file(path);
    ASSERT_TRUE(file.open(QIODevice::ReadOnly));
    EXPECT_TRUE(file.read(5).startsWith("%PDF"));
    // Stopped before its first page, it leaves the earlier file alone.
    EXPECT_FALSE(WriteComparisonPdf(path, BuildComparisonReport({comparison}), [](int, int) { return false; }).isEmpty());
    EXPECT_GT(QFile(path).size(), 0);
}

} // namespace
