// The three windows as a screen reader meets them: Qt's accessible tree, read in process.
#include "tests/app/MainWindowTestSupport.h"

#include "tests/app/RowName.h"
#include "tests/support/ModalWatch.h"

#include <QAccessible>
#include <QGroupBox>
#include <QTest>
#include <functional>

namespace apptest {
namespace {

// Every visible control under `parent` a keyboard or a pointer acts on, and the level bar.
void CollectControls(QAccessibleInterface* parent, QList<QAccessibleInterface*>& controls)
{
    for (int i = 0; i < parent->childCount(); ++i) {
        QAccessibleInterface* child = parent->child(i);
        if (child == nullptr || child->state().invisible)
            continue;
        const QAccessible::Role role = child->role();
        if (child->state().focusable || role == QAccessible::Button || role == QAccessible::ProgressBar)
            controls << child;
        CollectControls(child, controls);
    }
}

// Each control's name is its own: not empty, not a group box's title, not shared with another.
void ExpectNamesOfTheirOwn(QWidget* window, int atLeast)
{
    QStringList titles;
    for (const QGroupBox* box : window->findChildren<QGroupBox*>())
        titles << box->title() << box->title().trimmed();
    QList<QAccessibleInterface*> controls;
    CollectControls(QAccessible::queryAccessibleInterface(window), controls);
    EXPECT_GE(controls.size(), atLeast);
    QStringList names;
    for (QAccessibleInterface* control : controls) {
        const QString name = control->text(QAccessible::Name);
        const std::string who = control->object()->objectName().toStdString() + " \"" + name.toStdString() + "\"";
        EXPECT_FALSE(name.trimmed().isEmpty() || titles.contains(name) || names.contains(name)) << who;
        names << name;
    }
}

using MainWindowAccessibility = MainWindowTest;

TEST_F(MainWindowAccessibility, EveryControlOfTheMainWindowHasANameOfItsOwn)
{
    // Seven entries, two sexes, the button, five results, the bar and four toolbar buttons.
    ExpectNamesOfTheirOwn(&form(), 7 + 2 + 1 + 5 + 1 + 4);
}

TEST_F(MainWindowAccessibility, LevelBarCarriesTheIndexAndTheLevel)
{
    QAccessibleInterface* indicator = QAccessible::queryAccessibleInterface(bar());
    EXPECT_EQ(indicator->text(QAccessible::Name), QStringLiteral("ИФИ 0,00"));
    enterSubject(AcceptedSubject());
    click(calcButton());
    EXPECT_EQ(indicator->text(QAccessible::Name), QStringLiteral("ИФИ 2,30 — Удовлетворительная адаптация"));
    EXPECT_EQ(indicator->valueInterface()->currentValue().toInt(), 57);
    ErrorWindowSeen seen;
    expectErrorWindow(seen);
    typeInto(3, "0");
    click(calcButton());
    EXPECT_EQ(indicator->text(QAccessible::Name), QStringLiteral("ИФИ 0,00"));
    EXPECT_EQ(indicator->valueInterface()->currentValue().toInt(), 0);
}

TEST_F(MainWindowAccessibility, InputErrorWindowIsAnAlertWithItsHeadingAndMessage)
{
    bool inspected = false;
    testsupport::onNextModal([&](QWidget* modal) {
        ASSERT_TRUE(WaitUntilActive(modal));
        QAccessibleInterface* alert = QAccessible::queryAccessibleInterface(modal);
        EXPECT_EQ(alert->role(), QAccessible::AlertMessage);
        EXPECT_EQ(alert->text(QAccessible::Name), QStringLiteral("Ошибка ввода"));
        EXPECT_EQ(alert->text(QAccessible::Description), QStringLiteral("Проверьте правильность введенных данных"));
        EXPECT_EQ(QApplication::focusWidget(), modal->findChild<QWidget*>(QStringLiteral("BitBtn1")));
        ExpectNamesOfTheirOwn(modal, 1);
        inspected = true;
    });
    click(calcButton());
    EXPECT_TRUE(inspected);
}

struct ShortcutCase
{
    const char* name;
    Qt::Key key;
    std::function<void(MainWindowTest&)> check;
};

class ToolbarShortcut : public MainWindowTest, public ::testing::WithParamInterface<ShortcutCase>
{};

const ShortcutCase shortcutCases[] = {
    {"CtrlNIsNew", Qt::Key_N, [](MainWindowTest& t) { EXPECT_EQ(t.edit(1)->text(), QString()); }},
    {"CtrlOIsOpen", Qt::Key_O, [](MainWindowTest& t) { EXPECT_EQ(t.files->openCalls, 1); }},
    {"CtrlSIsSave", Qt::Key_S, [](MainWindowTest& t) { EXPECT_EQ(t.files->saveCalls, 1); }},
};

// Reached from an entry field, where the keyboard is; the field must not swallow them.
TEST_P(ToolbarShortcut, RunsItsCommandFromAnEntryField)
{
    typeInto(1, "Петров");
    runUntilIdle();
    QTest::keyClick(edit(1), GetParam().key, Qt::ControlModifier);
    GetParam().check(*this);
}

INSTANTIATE_TEST_SUITE_P(Keys, ToolbarShortcut, ::testing::ValuesIn(shortcutCases), RowName());

TEST_F(MainWindowAccessibility, F1ShowsTheAboutWindowAndItsNames)
{
    QWidget* shown = nullptr;
    testsupport::onNextModal([&](QWidget* modal) {
        ASSERT_TRUE(WaitUntilActive(modal));
        EXPECT_EQ(QAccessible::queryAccessibleInterface(modal)->text(QAccessible::Name), QStringLiteral("О программе"));
        ExpectNamesOfTheirOwn(modal, 2);
        shown = modal;
    });
    QTest::keyClick(edit(2), Qt::Key_F1);
    EXPECT_EQ(shown, &aboutWindow());
}

} // namespace
} // namespace apptest
