#include "group_windows/GroupsView.h"

#include "core/RegionalSettings.h"
#include "groups/GroupSources.h"
#include "group_windows/SummaryWindow.h"
#include "summary/SummaryTableModel.h"
#include "tests/support/StageFiles.h"

#include <QSemaphore>
#include <QSignalSpy>
#include <QTemporaryDir>
#include <QTest>
#include <gtest/gtest.h>

namespace {

// Two classes read by the summary window, then grouped in its Группы view.
class GroupsViewTest : public ::testing::Test
{
protected:
    GroupsViewTest()
    {
        testsupport::WriteStage(m_folder.filePath("5А"), {{"Анна", 120}, {"Борис", 190}, {"Вера", 160}});
        testsupport::WriteStage(m_folder.filePath("5Б"), {{"Глеб", 210}, {"Дина", 120}, {"Ева", 118}, {"Жанна", 135}});
        window.reportFailure = [this](const QString& message) { failures << message; };
        view = window.findChild<GroupsView*>("groupsView");
        view->reportFailure = window.reportFailure;
        QSignalSpy read(&window, &SummaryWindow::readingFinished);
        window.openPaths(sources);
        EXPECT_TRUE(read.wait(20000));
        view->findChild<QCheckBox*>("bySource")->setChecked(true);
        view->findChild<QCheckBox*>("bySex")->setChecked(false);
    }
    QTemporaryDir m_folder;
    const QStringList sources{m_folder.filePath("5А"), m_folder.filePath("5Б")};
    ScopedRegionalSettings m_comma{QChar(u','), QChar(0x00A0)};
    SummaryWindow window;
    GroupsView* view = nullptr;
    QStringList failures;
};

TEST_F(GroupsViewTest, GroupsOffTheGuiThreadAndShowsTheLibrarysFigures)
{
    QThread* workedOn = nullptr;
    view->workGate = [&] { workedOn = QThread::currentThread(); };
    QSignalSpy computed(view, &GroupsView::computed);
    QTest::mouseClick(view->findChild<QPushButton*>("computeButton"), Qt::LeftButton);
    ASSERT_TRUE(computed.wait(20000));
    EXPECT_FALSE(computed.first().first().toBool());
    EXPECT_NE(workedOn, nullptr);
    EXPECT_NE(workedOn, QThread::currentThread());

    const Grouping grouping{{GroupingKey::Source}, DefaultAgeBands()};
    const GroupsResult expected = ComputeGroups(SplitBySource(sources, {}, window.model()->rows()), grouping);
    EXPECT_EQ(view->figures()->table().captions, QStringList({"Показатель", "5А", "5Б", "p"}));
    EXPECT_EQ(view->figures()->table().rows, FiguresTable(expected).rows);
    EXPECT_EQ(view->tests()->table().rows, TestsTable(expected).rows);
    EXPECT_EQ(view->findChild<GroupSharesChartWidget*>("sharesChart")->result(), view->result().get());
    // The risk list: exactly those at levels 3 and 4, worst first.
    QStringList risk;
    for (const QStringList& row : view->risk()->table().rows)
        risk << row[0] + u' ' + row[1];
    EXPECT_EQ(risk, QStringList({"5А Борис", "5Б Глеб"}));
    EXPECT_TRUE(failures.isEmpty());
}

TEST_F(GroupsViewTest, CancelStopsTheGroupingAndShowsNothing)
{
    QSemaphore started, goOn;
    view->workGate = [&] {
        started.release();
        goOn.tryAcquire(1, 20000);
    };
    QSignalSpy computed(view, &GroupsView::computed);
    ASSERT_TRUE(view->compute());
    ASSERT_TRUE(started.tryAcquire(1, 20000));
    EXPECT_FALSE(view->findChild<QWidget*>("groupsProgressPanel")->isHidden());
    QTest::mouseClick(view->findChild<QPushButton*>("groupsCancelButton"), Qt::LeftButton);
    goOn.release(1000);
    ASSERT_EQ(computed.size(), 1);
    EXPECT_TRUE(computed.first().first().toBool());
    QTest::qWait(200); // a late result from the cancelled grouping is not shown
    EXPECT_EQ(view->result(), nullptr);
    EXPECT_EQ(view->figures()->rowCount(), 0);
    EXPECT_TRUE(view->findChild<QWidget*>("groupsProgressPanel")->isHidden());
    EXPECT_TRUE(view->findChild<QPushButton*>("computeButton")->isEnabled());
}

TEST_F(GroupsViewTest, AgeBandsThatDoNotReadAreToldAndNothingStarts)
{
    view->findChild<QCheckBox*>("byAge")->setChecked(true);
    view->findChild<QLineEdit*>("ageBands")->setText("16, 13");
    EXPECT_FALSE(view->compute());
    EXPECT_FALSE(view->isComputing());
    EXPECT_EQ(failures.size(), 1);
}

TEST_F(GroupsViewTest, ExportsWithCodesHoldNoNameNorPath)
{
    QSignalSpy computed(view, &GroupsView::computed);
    ASSERT_TRUE(view->compute());
    ASSERT_TRUE(computed.wait(20000));
    view->findChild<QCheckBox*>("codesCheck")->setChecked(true); // worked out again without file names
    ASSERT_TRUE(computed.wait(20000));
    EXPECT_EQ(view->risk()->table().captions.size(), 5); // no file column
    view->chooseSavePath = [&](const QString&, const QString& filter) {
        return m_folder.filePath(filter.left(3).toLower() == "pdf" ? "out.pdf" : "out." + filter.left(filter.indexOf(u' ')).toLower());
    };
    QSignalSpy reported(view, &GroupsView::reportFinished);
    for (const char* button : {"exportJsonButton", "exportCsvButton", "exportPdfButton"})
        view->findChild<QPushButton*>(button)->click();
    ASSERT_TRUE(reported.wait(20000));
    EXPECT_TRUE(reported.first().first().toBool());
    QFile json(m_folder.filePath("out.json")), csv(m_folder.filePath("out.csv")), pdf(m_folder.filePath("out.pdf"));
    ASSERT_TRUE(json.open(QIODevice::ReadOnly) && csv.open(QIODevice::ReadOnly) && pdf.open(QIODevice::ReadOnly));
    const QString written = QString::fromUtf8(json.readAll() + csv.readAll());
    EXPECT_TRUE(written.contains(QStringLiteral("\"code\":\"Л"))) << written.toStdString();
    EXPECT_FALSE(written.contains(QStringLiteral("Борис")));
    EXPECT_FALSE(written.contains(m_folder.path()));
    EXPECT_TRUE(pdf.readAll().startsWith("%PDF-"));
    EXPECT_TRUE(failures.isEmpty());
}

} // namespace
