#include "group_windows/CompareWindow.h"

#include "core/RegionalSettings.h"
#include "group_windows/ComparisonChartWidgets.h"
#include "group_windows/ComparisonTableModel.h"
#include "group_windows/StageListModel.h"
#include "tests/support/StageFiles.h"

#include <QAccessible>
#include <QFile>
#include <QSemaphore>
#include <QSignalSpy>
#include <QTemporaryDir>
#include <gtest/gtest.h>

namespace {

using PersonColumn = ComparisonTable::PersonColumn;

class CompareWindowTest : public ::testing::Test
{
protected:
    CompareWindowTest()
    {
        testsupport::WriteStage(at("2027-05"), {{"Иванов Иван", 190}, {"Петров Пётр", 120}, {"Орлов Ян", 160}});
        testsupport::WriteStage(at("2026-09"), {{"Иванов Иван", 120}, {"Петров Пётр", 160}, {"Орлов Ян", 160},
                                                {"Сидоров Олег", 120}});
        window.reportFailure = [this](const QString& message) { failures << message; };
        window.show();
        // Given in the wrong order: the labels are dates, so they order the comparison.
        window.addStage({at("2027-05")});
        window.addStage({at("2026-09")});
    }
    QString at(const QString& name) const { return m_folder.filePath(name); }
    bool compared()
    {
        QSignalSpy finished(&window, &CompareWindow::comparisonFinished);
        window.compare();
        return finished.wait(20000) && !finished.first().first().toBool();
    }
    QString cell(int row, int column) { return window.sortedModel()->index(row, column).data().toString(); }
    bool exported(const std::function<void()>& start)
    {
        QSignalSpy reported(&window, &CompareWindow::reportFinished);
        start();
        return reported.wait(20000) && reported.first().first().toBool();
    }

    QTemporaryDir m_folder;
    ScopedRegionalSettings m_comma{QChar(u','), QChar(0x00A0)};
    CompareWindow window;
    QStringList failures;
};

TEST_F(CompareWindowTest, ComparesTheStagesAndShowsTheTableFiguresAndPictures)
{
    ASSERT_TRUE(compared());
    ComparisonTableModel* model = window.model();
    ASSERT_EQ(model->rowCount(), 4);
    // Worse first: Иванов rose from satisfactory to unsatisfactory; Сидоров has no change, last.
    const int person = model->column(PersonColumn::Person);
    EXPECT_EQ(cell(0, person), QStringLiteral("Иванов Иван"));
    EXPECT_EQ(cell(0, model->column(PersonColumn::Direction)), QStringLiteral("хуже"));
    EXPECT_EQ(cell(3, person), QStringLiteral("Сидоров Олег"));
    EXPECT_EQ(cell(3, model->column(1, ComparisonTable::StageColumn::State)), QStringLiteral("нет в этапе"));
    EXPECT_EQ(model->headerData(model->column(0, ComparisonTable::StageColumn::Index), Qt::Horizontal).toString(),
              QStringLiteral("2026-09:\nИФИ"));

    EXPECT_EQ(window.findChild<QTableWidget*>("sharesTable")->rowCount(), 2);
    EXPECT_EQ(window.findChild<QTableWidget*>("transitionTable")->item(0, 2)->text(), QStringLiteral("1"));
    EXPECT_EQ(window.findChild<QTableWidget*>("transitionTable")->item(4, 4)->text(), QStringLiteral("3"));
    // Орлов did not change: the signed-rank test leaves him out.
    EXPECT_TRUE(window.findChild<QLabel*>("statisticsLabel")->text().contains(QStringLiteral("Критерий Уилкоксона: пар 2")));
    EXPECT_EQ(window.findChild<LevelSharesWidget*>("sharesChart")->stages().size(), 2u);

    // The person picture follows the selected row.
    auto* course = window.findChild<IndexCourseWidget*>("courseChart");
    EXPECT_TRUE(course->title().contains(QStringLiteral("Иванов")));
    window.findChild<QTableView*>("personView")->selectRow(3);
    EXPECT_TRUE(course->title().contains(QStringLiteral("Сидоров")));
    ASSERT_EQ(course->points().size(), 2u);
    EXPECT_EQ(course->points()[0].text, QStringLiteral("2,30"));
    EXPECT_EQ(course->points()[1].text, QStringLiteral("нет в этапе"));
    // Both pictures read as tables: the person's index and level per stage, the shares per stage.
    QAccessibleTableInterface* courseTable = QAccessible::queryAccessibleInterface(course)->tableInterface();
    ASSERT_EQ(courseTable->rowCount(), 2);
    EXPECT_EQ(courseTable->cellAt(0, 2)->text(QAccessible::Name), LevelText(AdaptationLevel::Satisfactory));
    EXPECT_EQ(courseTable->cellAt(1, 1)->text(QAccessible::Name), QStringLiteral("нет в этапе"));
    auto* shares = window.findChild<LevelSharesWidget*>("sharesChart");
    QAccessibleTableInterface* sharesTable = QAccessible::queryAccessibleInterface(shares)->tableInterface();
    ASSERT_EQ(sharesTable->rowCount(), 8);
    EXPECT_EQ(sharesTable->cellAt(1, 0)->text(QAccessible::Name), QStringLiteral("2026-09"));
    EXPECT_EQ(sharesTable->cellAt(1, 2)->text(QAccessible::Name), QStringLiteral("2")); // Петров and Орлов strained

    // Anonymised, the table shows codes; the CSV and the PDF follow it.
    window.findChild<QCheckBox*>("anonymiseBox")->setChecked(true);
    EXPECT_TRUE(cell(0, person).startsWith(u'Л'));
    ASSERT_TRUE(exported([&] { window.exportCsv(at("out.csv")); })) << failures.join(u'\n').toStdString();
    QFile csv(at("out.csv"));
    ASSERT_TRUE(csv.open(QIODevice::ReadOnly));
    EXPECT_FALSE(QString::fromUtf8(csv.readAll()).contains(QStringLiteral("Иванов")));
    ASSERT_TRUE(exported([&] { window.exportPdf(at("out.pdf")); })) << failures.join(u'\n').toStdString();
    EXPECT_TRUE(QFile::exists(at("out.pdf")));
}

// Held on its thread, the comparison is cancelled: the window says so and shows nothing half-read.
TEST_F(CompareWindowTest, CancelStopsTheComparison)
{
    QSemaphore started;
    QSemaphore release;
    window.workGate = [&] {
        started.release();
        release.acquire();
    };
    QSignalSpy finished(&window, &CompareWindow::comparisonFinished);
    window.compare();
    ASSERT_TRUE(started.tryAcquire(1, 10000));
    EXPECT_TRUE(window.isBusy());
    EXPECT_FALSE(window.findChild<QPushButton*>("compareButton")->isEnabled());
    window.findChild<QPushButton*>("cancelButton")->click();
    release.release();
    ASSERT_TRUE(finished.wait(20000));
    EXPECT_TRUE(finished.first().first().toBool());
    EXPECT_EQ(window.model()->rowCount(), 0);
    EXPECT_FALSE(window.isBusy());
}

// Dated folders are listed by date and stay so; a word label lets them be reordered, and an
// emptied label takes the folder's name again.
TEST_F(CompareWindowTest, StagesAreReorderedAndRelabelled)
{
    StageListModel* stages = window.stages();
    const auto shown = [stages](int row) { return stages->index(row, StageListModel::ColLabel).data().toString(); };
    EXPECT_EQ(shown(0), QStringLiteral("2026-09"));
    EXPECT_FALSE(stages->moveStage(1, -1));
    EXPECT_FALSE(window.findChild<QLabel*>("stageOrderLabel")->text().isEmpty());
    const QModelIndex label = stages->index(0, StageListModel::ColLabel);
    EXPECT_TRUE(stages->setData(label, QStringLiteral(" осень ")));
    EXPECT_EQ(shown(0), QStringLiteral("осень")); // still dated by its folder
    EXPECT_FALSE(stages->moveStage(1, -1));
    window.addStage({at("2026-09/1.vnl")}); // undated: the given order stands
    EXPECT_TRUE(stages->moveStage(2, -1));
    EXPECT_EQ(shown(1), QStringLiteral("1.vnl"));
    stages->removeStage(1);
    EXPECT_TRUE(stages->setData(label, QString()));
    EXPECT_EQ(shown(0), QStringLiteral("2026-09"));
    stages->removeStage(0);
    EXPECT_EQ(stages->rowCount(), 1);
    EXPECT_FALSE(window.findChild<QPushButton*>("compareButton")->isEnabled());
}

} // namespace
