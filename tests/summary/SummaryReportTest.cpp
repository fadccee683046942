#include "summary/SummaryReport.h"

#include <QFile>
#include <QTemporaryDir>
#include <QTextDocument>
#include <gtest/gtest.h>

#include <memory>

namespace {

SummaryRows Rows()
{
    SummaryRow assessed;
    assessed.path = "/group/a.vnl";
    assessed.outcome = RowOutcome::Assessed;
    assessed.texts.FullName = "Иванов <b>&";
    assessed.result.Level = AdaptationLevel::Strain;
    assessed.adaptationIndexShown = "2,80";
    SummaryRow broken;
    broken.path = "/group/b.vnl";
    broken.outcome = RowOutcome::FormatError;
    broken.reason = "Неверный формат файла";
    return {assessed, broken};
}

TEST(SummaryReport, HoldsTitleSourcesCountsAndEveryRowWithTextsEscaped)
{
    std::unique_ptr<QTextDocument> document(BuildSummaryReport(Rows(), {{"/group"}, QDateTime({2026, 12, 8}, {10, 5})}));
    const QString text = document->toPlainText();
    for (const char* expected : {"Сводка по группе", "08.12.2026 10:05", "/group", "Файлов: 2", "Рассчитано: 1",
                                 "Иванов <b>&", "Напряжение механизмов адаптации", "Неверный формат файла", "2,80"})
        EXPECT_TRUE(text.contains(QString::fromUtf8(expected))) << expected;
}

TEST(SummaryReport, PdfIsWrittenAndAFailedOneKeepsTheEarlierFile)
{
    QTemporaryDir folder;
    const QString out = folder.filePath("report.pdf");
    ASSERT_EQ(WriteSummaryPdf(out, Rows(), {{"/group"}}), QString());
    QFile pdf(out);
    ASSERT_TRUE(pdf.open(QIODevice::ReadOnly));
    EXPECT_TRUE(pdf.readAll().startsWith("%PDF-"));
    EXPECT_FALSE(WriteSummaryPdf(folder.filePath("missing/report.pdf"), Rows(), {{"/group"}}).isEmpty());
}

} // namespace
