#include "group_windows/CompareWindow.h"
#include "group_windows/CountsChartWidget.h"
#include "group_windows/EntryWindow.h"
#include "group_windows/SummaryWindow.h"

#include <QAccessible>
#include <QGroupBox>
#include <QScreen>
#include <QTemporaryDir>
#include <QTabBar>

#include <gtest/gtest.h>

#include <functional>
#include <memory>

namespace {

struct WindowCase
{
    const char* name;
    std::function<std::unique_ptr<QMainWindow>(const QString& folder)> open;
};

void PrintTo(const WindowCase& window, std::ostream* out)
{
    *out << window.name;
}

const WindowCase kWindows[] = {
    {"summary", [](const QString&) { return std::make_unique<SummaryWindow>(); }},
    {"comparison", [](const QString&) { return std::make_unique<CompareWindow>(); }},
    {"entry", [](const QString& folder) { return std::make_unique<EntryWindow>(folder + "/stage", nullptr, folder); }},
};

class GroupWindowAccessibility : public ::testing::TestWithParam<WindowCase>
{
protected:
    QTemporaryDir m_folder;
};

// What a keyboard user can land on, and what a reader says there: a name of the control's own,
// not the title of the box it sits in, and no two controls alike.
TEST_P(GroupWindowAccessibility, EveryFocusableControlHasANameOfItsOwn)
{
    const std::unique_ptr<QMainWindow> window = GetParam().open(m_folder.path());
    QHash<QString, QString> seen; // name -> object
    for (QWidget* widget : window->findChildren<QWidget*>()) {
        if (widget->focusPolicy() == Qt::NoFocus) // hidden panels too: they show while work goes on
            continue;
        // A tab bar's scroll arrows are Qt's own mouse aids; its tabs are reached with the arrow keys.
        if (qobject_cast<const QTabBar*>(widget->parentWidget()))
            continue;
        QAccessibleInterface* control = QAccessible::queryAccessibleInterface(widget);
        ASSERT_NE(control, nullptr);
        const QString name = control->text(QAccessible::Name).trimmed();
        const std::string what = widget->objectName().toStdString() + " (" + widget->metaObject()->className() + ")";
        EXPECT_FALSE(name.isEmpty()) << what;
        if (const auto* box = qobject_cast<const QGroupBox*>(widget->parentWidget())) {
            EXPECT_NE(name, box->title()) << what;
        }
        EXPECT_FALSE(seen.contains(name)) << what << " and " << seen.value(name).toStdString();
        seen.insert(name, widget->objectName());
    }
    EXPECT_FALSE(seen.isEmpty());
}

// Opened within the screen, and shrinkable to a 1366×768 screen at 1.5× scale.
TEST_P(GroupWindowAccessibility, FitsTheScreen)
{
    const std::unique_ptr<QMainWindow> window = GetParam().open(m_folder.path());
    const QSize available = window->screen()->availableGeometry().size();
    EXPECT_LE(window->width(), available.width());
    EXPECT_LE(window->height(), available.height());
    const QSize smallest = window->minimumSizeHint().expandedTo(window->minimumSize()) * 1.5;
    EXPECT_LE(smallest.width(), 1366);
    EXPECT_LE(smallest.height(), 768 - 60) << "room for the title and a panel";
}

INSTANTIATE_TEST_SUITE_P(GroupWindows, GroupWindowAccessibility, ::testing::ValuesIn(kWindows),
                         [](const auto& row) { return std::string(row.param.name); });

// The summary's chart reads as a table: a bar a row, its count and its share of the assessed.
TEST(CountsChartAccessibility, ReadsAsATableOfItsBars)
{
    CountsChartWidget chart;
    SummaryCounts counts;
    counts.files = 5;
    counts.assessed = 4;
    counts.level(AdaptationLevel::Strain) = 3;
    counts.level(AdaptationLevel::Breakdown) = 1;
    counts.balance(VegetativeBalance::Sympathicotonia) = 4;
    chart.setCounts(counts);

    QAccessibleInterface* table = QAccessible::queryAccessibleInterface(&chart);
    ASSERT_NE(table, nullptr);
    EXPECT_EQ(table->role(), QAccessible::Table);
    QAccessibleTableInterface* figures = table->tableInterface();
    ASSERT_NE(figures, nullptr);
    ASSERT_EQ(figures->rowCount(), 7);
    ASSERT_EQ(figures->columnCount(), 3);
    EXPECT_EQ(figures->columnDescription(2), QStringLiteral("Доля, %"));
    const auto cell = [&](int row, int column) { return figures->cellAt(row, column)->text(QAccessible::Name); };
    struct Row
    {
        int row;
        QString caption;
        QString count;
        QString share;
    };
    const Row rows[] = {
        {1, LevelText(AdaptationLevel::Strain), "3", PercentText(3, 4)},
        {3, LevelText(AdaptationLevel::Breakdown), "1", PercentText(1, 4)},
        {6, BalanceText(VegetativeBalance::Sympathicotonia), "4", PercentText(4, 4)},
    };
    for (const Row& row : rows) {
        EXPECT_EQ(cell(row.row, 0), row.caption);
        EXPECT_EQ(cell(row.row, 1), row.count) << row.row;
        EXPECT_EQ(cell(row.row, 2), row.share) << row.row;
    }
    EXPECT_EQ(table->child(1 * 3 + 1)->text(QAccessible::Name), QStringLiteral("3"));
    EXPECT_EQ(figures->cellAt(7, 0), nullptr);

    // Fewer figures later: the reader is not handed the old ones.
    chart.setCounts({});
    EXPECT_EQ(cell(1, 1), QStringLiteral("0"));
}

} // namespace
