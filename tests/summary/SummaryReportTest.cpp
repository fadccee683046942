#include "summary/SummaryReport.h"

#include "summary/CsvExport.h"

#include <QDir>
#include <QFile>
#include <QPaintEngine>
#include <QTemporaryDir>
#include <gtest/gtest.h>

namespace {

// Records the texts drawn, a list per page: what a reader of the paper would see.
class RecordingEngine : public QPaintEngine
{
public:
    RecordingEngine() : QPaintEngine(AllFeatures) {}
    bool begin(QPaintDevice*) override { return true; }
    bool end() override { return true; }
    void updateState(const QPaintEngineState&) override {}
    void drawPixmap(const QRectF&, const QPixmap&, const QRectF&) override {}
    void drawPath(const QPainterPath&) override {}
    void drawPolygon(const QPointF*, int, PolygonDrawMode) override {}
    void drawRects(const QRectF*, int) override {}
    void drawLines(const QLineF*, int) override {}
    void drawEllipse(const QRectF&) override {}
    void drawTextItem(const QPointF&, const QTextItem& item) override { texts << item.text(); }
    Type type() const override { return User; }
    QStringList texts;
};

// The painting area of A4 landscape with 12 mm margins, at 300 dpi.
class RecordingPage : public QPaintDevice
{
public:
    QPaintEngine* paintEngine() const override { return &engine; }
    int metric(PaintDeviceMetric m) const override
    {
        switch (m) {
        case PdmWidth: return 3224;
        case PdmHeight: return 2197;
        case PdmWidthMM: return 273;
        case PdmHeightMM: return 186;
        case PdmDpiX: case PdmDpiY: case PdmPhysicalDpiX: case PdmPhysicalDpiY: return 300;
        case PdmDevicePixelRatioScaled: return int(devicePixelRatioFScale());
        default: return m == PdmDepth ? 32 : 1;
        }
    }
    mutable RecordingEngine engine;
};

TableReport NumberedTable(qsizetype rows)
{
    TableReport report;
    report.title = "Сводка";
    report.subject = "5А";
    report.date = "08.12.2026";
    report.headingLines = {"Группа: 5А"};
    report.fills = {{Qt::yellow, CellMark::Triangle}};
    report.legend = {{0, "Напряжение"}};
    report.columns = {{"Строка", 2}, {"Уровень", 3}, {"Число", 1, Qt::AlignRight}};
    report.rowCount = rows;
    report.rowAt = [](qsizetype i) {
        return TableRow{{QStringLiteral("строка-%1").arg(i)}, {"Напряжение механизмов адаптации", 0}, {"7"}};
    };
    return report;
}

// The pages' texts, each page drawn on a fresh recording.
QList<QStringList> PagesOf(const TableReport& report, TableReportLayout* laidOut = nullptr)
{
    RecordingPage device;
    const TableReportLayout layout = LayOutTableReport(report, device);
    QList<QStringList> pages;
    for (int page = 0; page < layout.pageCount(); ++page) {
        device.engine.texts.clear();
        QPainter painter(&device);
        DrawTableReportPage(painter, report, layout, page);
        painter.end();
        pages << device.engine.texts;
    }
    if (laidOut != nullptr)
        *laidOut = layout;
    return pages;
}

TEST(TableReport, EveryPageHasTheHeadCaptionsAndItsNumberAndEveryRowOnceWhole)
{
    RecordingPage device;
    const qsizetype firstPageRows = LayOutTableReport(NumberedTable(1000), device).pageStarts[1];
    for (const qsizetype rows : {qsizetype(0), qsizetype(1), firstPageRows, firstPageRows + 1,
                                 qsizetype(300)}) {
        TableReportLayout layout;
        const QList<QStringList> pages = PagesOf(NumberedTable(rows), &layout);
        qsizetype next = 0;
        for (int p = 0; p < pages.size(); ++p) {
            const QStringList& texts = pages[p];
            for (const char* expected : {"Сводка — 5А", "08.12.2026", "Строка", "Уровень", "Число"})
                EXPECT_TRUE(texts.contains(QString::fromUtf8(expected))) << rows << " rows, page " << p << expected;
            EXPECT_TRUE(texts.contains(QStringLiteral("стр. %1 из %2").arg(p + 1).arg(pages.size())));
            for (const QString& text : texts.filter("строка-"))
                EXPECT_EQ(text, QStringLiteral("строка-%1").arg(next++)) << rows << " rows, page " << p;
            // No row reaches into the page number's band.
            const qreal tableBottom = layout.tableTop(p) + layout.captionHeight
                                      + qreal(layout.pageStarts[p + 1] - layout.pageStarts[p]) * layout.rowHeight;
            EXPECT_LE(tableBottom, layout.page.bottom() - layout.footHeight);
            // A level text is wrapped between its words, never inside one.
            const QStringList words = QStringLiteral("Напряжение механизмов адаптации").split(u' ');
            for (const QString& text : texts.filter("механизм") + texts.filter("адаптации"))
                for (const QString& part : text.split(u' ', Qt::SkipEmptyParts))
                    EXPECT_TRUE(words.contains(part)) << text.toStdString();
        }
        EXPECT_EQ(next, rows);
    }
}

TEST(TableReport, PageCountGrowsInStepWithTheRows)
{
    RecordingPage device;
    const TableReportLayout sample = LayOutTableReport(NumberedTable(1000), device);
    const qsizetype first = sample.pageStarts[1];
    const qsizetype perPage = sample.pageStarts[2] - first;
    ASSERT_GT(perPage, first); // the heading takes room on the first page only
    for (const qsizetype k : {1, 10, 100}) {
        EXPECT_EQ(LayOutTableReport(NumberedTable(first + k * perPage), device).pageCount(), 1 + k) << k;
        EXPECT_EQ(LayOutTableReport(NumberedTable(first + k * perPage + 1), device).pageCount(), 2 + k) << k;
    }
}

TEST(TableReport, WrapsAtSpacesOnlyAndShortensWhatDoesNotFit)
{
    const QFontMetricsF metrics{QFont()};
    const qreal word = metrics.horizontalAdvance("Неудовлетворительная");
    struct Case
    {
        const char* name;
        QString text;
        qreal width;
        int lines;
        Qt::TextElideMode elide;
        QStringList expected;
    } cases[] = {
        {"fits", "Срыв адаптации", word * 2, 2, Qt::ElideRight, {"Срыв адаптации"}},
        {"wraps_at_the_space", "Неудовлетворительная адаптация", word * 1.1, 2, Qt::ElideRight,
         {"Неудовлетворительная", "адаптация"}},
        {"long_word_shortened_not_broken", "Неудовлетворительная", word / 2, 2, Qt::ElideRight,
         {metrics.elidedText("Неудовлетворительная", Qt::ElideRight, word / 2)}},
        {"rest_on_the_last_line", "один два три четыре", metrics.horizontalAdvance("один два"), 1, Qt::ElideRight,
         {metrics.elidedText("один два три четыре", Qt::ElideRight, metrics.horizontalAdvance("один два"))}},
        {"path_keeps_its_end", "a/b/c/d/e/f/file.vnl", metrics.horizontalAdvance("…f/file.vnl"), 2, Qt::ElideLeft,
         {metrics.elidedText("a/b/c/d/e/f/file.vnl", Qt::ElideLeft, metrics.horizontalAdvance("…f/file.vnl"))}},
        {"path_folders_then_the_name", "школа/класс/осень/file.vnl", metrics.horizontalAdvance("школа/класс/осе"), 2,
         Qt::ElideMiddle, {"школа/класс/", "осень/file.vnl"}},
        {"path_name_whole_on_its_line", "школа/длинное-имя-файла.vnl", metrics.horizontalAdvance("длинное-имя-файла.vnl"),
         2, Qt::ElideMiddle, {"школа/", "длинное-имя-файла.vnl"}},
    };
    for (const Case& c : cases)
        EXPECT_EQ(WrapAtSpaces(c.text, metrics, c.width, c.lines, c.elide), c.expected) << c.name;
}

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

TEST(SummaryReport, RowsShowTheTableTextsAndTheHeadingTheSharesInTheRegionalFormat)
{
    ReportHeading heading{{"/group"}, QDateTime({2026, 12, 8}, {10, 5})};
    heading.decimal = u',';
    const TableReport report = BuildSummaryReport(Rows(), heading);
    EXPECT_EQ(report.subject, "group");
    EXPECT_EQ(report.date, "08.12.2026 10:05");
    ASSERT_EQ(report.rowCount, 2);
    const SummaryCells cells = SummaryRowCells(Rows()[0]);
    const TableRow row = report.rowAt(0);
    for (int c = 0; c < SummaryColumnCount; ++c)
        EXPECT_EQ(row[c].text, c == ColPath ? QString("a.vnl") : cells[std::size_t(c)]) << c;
    EXPECT_GE(row[ColLevel].fill, 0);
    EXPECT_NE(report.fills[row[ColLevel].fill].mark, CellMark::None);
    const QString heading0 = report.headingLines.join('\n');
    EXPECT_TRUE(heading0.contains(QStringLiteral("рассчитано: 1 (50,0\u00a0%)"))) << heading0.toStdString();
    EXPECT_TRUE(report.legend[1].text.endsWith(QStringLiteral("1 (100,0\u00a0%)"))) << report.legend[1].text.toStdString();
}

TEST(SummaryReport, PdfReplacesTheFileOnlyWhenCompleteAndLeavesNoTemporaryFile)
{
    QTemporaryDir folder;
    const QString out = folder.filePath("report.pdf");
    ASSERT_EQ(WriteSummaryPdf(out, Rows(), {{"/group"}}), QString());
    QFile pdf(out);
    ASSERT_TRUE(pdf.open(QIODevice::ReadOnly));
    const QByteArray written = pdf.readAll();
    EXPECT_TRUE(written.startsWith("%PDF-"));
    EXPECT_FALSE(WriteSummaryPdf(folder.filePath("missing/report.pdf"), Rows(), {{"/group"}}).isEmpty());
    // Stopped at the first page: the earlier file stays as it was.
    EXPECT_FALSE(WriteSummaryPdf(out, Rows(), {{"/group"}}, [](int, int) { return false; }).isEmpty());
    pdf.seek(0);
    EXPECT_EQ(pdf.readAll(), written);
    EXPECT_EQ(QDir(folder.path()).entryList(QDir::Files | QDir::Hidden), QStringList{"report.pdf"});
}

} // namespace
