#include "group_windows/SummaryWindow.h"

#include "core/RegionalSettings.h"
#include "reports/NamesFreeExport.h"
#include "summary/SummaryTableModel.h"
#include "group_windows/CountsChartWidget.h"
#include "tests/support/TestFiles.h"

#include <QDir>
#include <QFile>
#include <QPrinter>
#include <QSemaphore>
#include <QStatusBar>
#include <QTreeWidget>
#include <QSignalSpy>
#include <QTemporaryDir>
#include <QTest>
#include <QTimer>
#include <gtest/gtest.h>

#include <sys/stat.h>
#include <unistd.h>

namespace {

QByteArray Record(int systolic, int diastolic, int pulse, int age)
{
    return "Vornale 5\r\nX\r\n" + QByteArray::number(systolic) + "\r\n" + QByteArray::number(diastolic) + "\r\n"
           + QByteArray::number(pulse) + "\r\n0\r\n70\r\n175\r\n" + QByteArray::number(age) + "\r\n";
}

class SummaryWindowTest : public ::testing::Test
{
protected:
    SummaryWindowTest()
    {
        window.reportFailure = [this](const QString& message) { failures << message; };
        window.show();
    }
    QString at(const QString& name) const { return m_folder.filePath(name); }
    void write(const QString& name, const QByteArray& bytes) { testsupport::WriteFile(at(name), bytes); }
    bool readAll(const QStringList& paths)
    {
        QSignalSpy finished(&window, &SummaryWindow::readingFinished);
        window.openPaths(paths);
        return finished.wait(20000) && !finished.first().first().toBool();
    }
    QStringList column(int column) const
    {
        QStringList cells;
        QSortFilterProxyModel* sorted = const_cast<SummaryWindow&>(window).sortedModel();
        for (int r = 0; r < sorted->rowCount(); ++r)
            cells << sorted->index(r, column).data().toString();
        return cells;
    }

    QTemporaryDir m_folder;
    ScopedRegionalSettings m_comma{QChar(u','), QChar(0x00A0)};
    SummaryWindow window;
    QStringList failures;
};

TEST_F(SummaryWindowTest, OpenFolderShowsEveryFileAndTheCounts)
{
    write("g/1.vnl", Record(120, 80, 70, 30));
    write("g/2.vnl", Record(160, 100, 110, 70));
    write("g/3.vnl", Record(0, 0, 0, 0));
    write("g/4.vnl", "broken");
    ASSERT_TRUE(readAll({at("g")}));
    EXPECT_EQ(window.model()->rowCount(), 4);
    const SummaryCounts& counts = window.model()->counts();
    EXPECT_EQ(counts.assessed, 2);
    EXPECT_EQ(counts.notAcceptable, 1);
    EXPECT_EQ(counts.formatErrors, 1);
    EXPECT_EQ(window.findChild<CountsChartWidget*>("chart")->counts().files, 4);
    EXPECT_TRUE(window.findChild<QLabel*>("countsLabel")->text().contains(QStringLiteral("Файлов: 4")));
    EXPECT_TRUE(window.findChild<QAction*>("actionExportCsv")->isEnabled());
}

TEST_F(SummaryWindowTest, ClickOnAHeaderSortsByThatColumn)
{
    write("g/a.vnl", Record(120, 80, 70, 30));
    write("g/b.vnl", Record(160, 100, 110, 70));
    write("g/c.vnl", Record(130, 85, 60, 40));
    ASSERT_TRUE(readAll({at("g")}));
    auto* table = window.findChild<QTableView*>("tableView");
    table->sortByColumn(SummaryTableModel::ColIndex, Qt::DescendingOrder);
    const QStringList indices = column(SummaryTableModel::ColIndex);
    ASSERT_EQ(indices.size(), 3);
    QStringList sorted = indices;
    std::sort(sorted.begin(), sorted.end(), [](const QString& l, const QString& r) {
        return QString(l).replace(u',', u'.').toDouble() > QString(r).replace(u',', u'.').toDouble();
    });
    EXPECT_EQ(indices, sorted);
}

TEST_F(SummaryWindowTest, ExportsBothFormats)
{
    write("g/a.vnl", Record(120, 80, 70, 30));
    ASSERT_TRUE(readAll({at("g")}));
    QStringList asked;
    window.chooseSavePath = [&](const QString& caption, const QString&) {
        asked << caption;
        return at(caption.endsWith("CSV") ? "out.csv" : "out.pdf");
    };
    window.findChild<QAction*>("actionExportCsv")->trigger();
    QSignalSpy reported(&window, &SummaryWindow::reportFinished);
    window.findChild<QAction*>("actionExportPdf")->trigger();
    ASSERT_TRUE(reported.wait(20000));
    EXPECT_TRUE(reported.first().first().toBool());
    EXPECT_EQ(asked, QStringList({QStringLiteral("Экспорт в CSV"), QStringLiteral("Экспорт в PDF")}));
    QFile csv(at("out.csv")), pdf(at("out.pdf"));
    ASSERT_TRUE(csv.open(QIODevice::ReadOnly));
    ASSERT_TRUE(pdf.open(QIODevice::ReadOnly));
    EXPECT_EQ(csv.readAll().count("\r\n"), 2);
    EXPECT_TRUE(pdf.readAll().startsWith("%PDF-"));
    EXPECT_TRUE(failures.isEmpty());
}

TEST_F(SummaryWindowTest, CodesInsteadOfNamesHideNamesFilesAndFoldersAndAreLogged)
{
    QByteArray named = Record(120, 80, 70, 30);
    named.replace("\r\nX\r\n", "\r\nIvanova Polina\r\n");
    write("Shkola/Polina.vnl", named);
    ASSERT_TRUE(readAll({at("Shkola")}));
    window.findChild<QAction*>("actionNamesFree")->setChecked(true);
    const QString log = ExportLogPath();
    const qsizetype logged = QFile(log).size();
    ASSERT_TRUE(window.exportCsv(at("out.csv")));
    QFile csv(at("out.csv"));
    ASSERT_TRUE(csv.open(QIODevice::ReadOnly));
    const QByteArray text = csv.readAll();
    EXPECT_TRUE(text.contains(QStringLiteral(";Л0001;").toUtf8()) || text.contains(QStringLiteral("\nЛ0001;").toUtf8()))
        << text.toStdString();
    for (const char* hidden : {"Ivanova", "Polina", "Shkola", ".vnl"})
        EXPECT_FALSE(text.contains(hidden)) << hidden;
    EXPECT_GT(QFile(log).size(), logged);
}

TEST_F(SummaryWindowTest, FailedExportIsReportedAndKeepsTheEarlierFile)
{
    write("g/a.vnl", Record(120, 80, 70, 30));
    ASSERT_TRUE(readAll({at("g")}));
    EXPECT_FALSE(window.exportCsv(at("missing/out.csv")));
    ASSERT_EQ(failures.size(), 1);
    EXPECT_TRUE(failures[0].startsWith(QStringLiteral("Не удалось записать")));
}

TEST_F(SummaryWindowTest, PdfIsDrawnWhileTheWindowAnswersAndCancelKeepsTheEarlierFile)
{
    for (int i = 0; i < 120; ++i)
        write(QStringLiteral("g/%1.vnl").arg(i), Record(120, 80, 70, 30));
    ASSERT_TRUE(readAll({at("g")}));
    write("out.pdf", "earlier");
    QSemaphore atSecondPage, goOn;
    window.reportPageGate = [&](int page) {
        if (page == 1) {
            atSecondPage.release();
            goOn.tryAcquire(1, 20000); // never hangs, even were it drawn on this thread
        }
    };
    QSignalSpy reported(&window, &SummaryWindow::reportFinished);
    window.exportPdf(at("out.pdf"));
    bool answered = false;
    QTimer::singleShot(0, &window, [&] { answered = true; });
    EXPECT_TRUE(QTest::qWaitFor([&] { return answered; }, 5000));
    ASSERT_TRUE(atSecondPage.tryAcquire(1, 20000));
    EXPECT_TRUE(window.isReporting());
    EXPECT_FALSE(window.findChild<QAction*>("actionPrint")->isEnabled());
    QTest::mouseClick(window.findChild<QPushButton*>("cancelButton"), Qt::LeftButton);
    goOn.release();
    ASSERT_TRUE(reported.wait(20000));
    EXPECT_FALSE(reported.first().first().toBool());
    EXPECT_FALSE(window.isReporting());
    QFile earlier(at("out.pdf"));
    ASSERT_TRUE(earlier.open(QIODevice::ReadOnly));
    EXPECT_EQ(earlier.readAll(), "earlier");
    EXPECT_EQ(QDir(m_folder.path()).entryList(QDir::Files | QDir::Hidden), QStringList{"out.pdf"});
    EXPECT_TRUE(failures.isEmpty());
}

TEST_F(SummaryWindowTest, PrintOffersTheReportsPageSetUpAndKeepsWhatTheUserChose)
{
    write("g/a.vnl", Record(120, 80, 70, 30));
    ASSERT_TRUE(readAll({at("g")}));
    window.choosePrinter = [&](QPrinter& printer) {
        EXPECT_EQ(printer.pageLayout().pageSize().id(), QPageSize::A4);
        EXPECT_EQ(printer.pageLayout().orientation(), QPageLayout::Landscape);
        printer.setPageOrientation(QPageLayout::Portrait);
        printer.setOutputFileName(at("printed.pdf"));
        return true;
    };
    QSignalSpy reported(&window, &SummaryWindow::reportFinished);
    window.findChild<QAction*>("actionPrint")->trigger();
    ASSERT_TRUE(reported.wait(20000));
    EXPECT_TRUE(reported.first().first().toBool());
    QFile printed(at("printed.pdf"));
    ASSERT_TRUE(printed.open(QIODevice::ReadOnly));
    EXPECT_TRUE(printed.readAll().contains("/MediaBox [0 0 595.000000 842.000000]")); // A4 as the user turned it
}

// Holds the reader after its first batch until the test lets it go, even when the test fails.
struct ReaderGate
{
    ~ReaderGate() { open.release(1000); }
    QSemaphore open;
};

TEST_F(SummaryWindowTest, LongReadShowsRowsEarlyAndCanBeCancelled)
{
    for (int i = 0; i < 3000; ++i)
        write(QStringLiteral("big/%1.vnl").arg(i, 5, 10, QChar(u'0')), Record(120, 80, 70, 30));
    QSignalSpy finished(&window, &SummaryWindow::readingFinished);
    ReaderGate gate;
    window.batchGate = [&gate] { gate.open.acquire(); };
    window.openPaths({at("big")});
    // The first rows arrive while the rest is still being read.
    ASSERT_TRUE(QTest::qWaitFor([&] { return window.model()->rowCount() > 0; }, 10000));
    EXPECT_TRUE(window.isReading());
    EXPECT_TRUE(window.findChild<QWidget*>("progressPanel")->isVisible());
    QTest::mouseClick(window.findChild<QPushButton*>("cancelButton"), Qt::LeftButton);
    ASSERT_EQ(finished.size(), 1);
    EXPECT_TRUE(finished.first().first().toBool());
    EXPECT_FALSE(window.isReading());
    const int rowsAtCancel = window.model()->rowCount();
    gate.open.release(1000);
    QTest::qWait(300); // whatever the worker still sends is ignored
    EXPECT_EQ(window.model()->rowCount(), rowsAtCancel);
    EXPECT_LT(rowsAtCancel, 3000);
    // A new read afterwards works from a clean table.
    window.batchGate = nullptr;
    write("small/a.vnl", Record(120, 80, 70, 30));
    ASSERT_TRUE(readAll({at("small")}));
    EXPECT_EQ(window.model()->rowCount(), 1);
}

// A folder name is never taken for markup; what was skipped is listed, by kind, until the next read.
TEST_F(SummaryWindowTest, PathsArePlainTextAndSkippedOnesAreListedUntilTheNextRead)
{
    const QString folder = QStringLiteral("<b>g</b> & <i>h</i>");
    write(folder + "/a.vnl", Record(120, 80, 70, 30));
    ASSERT_EQ(::symlink("nowhere", QFile::encodeName(at(folder + "/gone.vnl")).constData()), 0);
    ASSERT_EQ(::mkfifo(QFile::encodeName(at(folder + "/pipe.vnl")).constData(), 0600), 0);
    ASSERT_TRUE(readAll({at(folder)}));
    for (const QLabel* label : window.findChildren<QLabel*>())
        EXPECT_EQ(label->textFormat(), Qt::PlainText) << label->objectName().toStdString();
    EXPECT_EQ(window.findChild<QLabel*>("sourceLabel")->text(), at(folder));
    auto* list = window.findChild<QTreeWidget*>("skippedList");
    ASSERT_EQ(list->topLevelItemCount(), 2);
    EXPECT_EQ(list->topLevelItem(0)->text(0), at(folder + "/gone.vnl"));
    EXPECT_EQ(list->topLevelItem(1)->text(1), QStringLiteral("Не обычный файл (канал или устройство)"));
    const QString counted = QStringLiteral("пропущено путей: 2 (ссылок: 1, каналов и устройств: 1)");
    EXPECT_TRUE(window.statusBar()->currentMessage().endsWith(counted)) << window.statusBar()->currentMessage().toStdString();

    write("clean/a.vnl", Record(120, 80, 70, 30));
    ASSERT_TRUE(readAll({at("clean")}));
    EXPECT_EQ(list->topLevelItemCount(), 0);
    EXPECT_FALSE(list->isVisible());
}

} // namespace
