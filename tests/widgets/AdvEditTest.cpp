#include "widgets/AdvEdit.h"

#include "core/RegionalSettings.h"
#include "widgets/SystemColors.h"

#include <QAction>
#include <QApplication>
#include <QClipboard>
#include <QKeyEvent>
#include <QMenu>
#include <QSignalSpy>
#include <QTest>
#include <QVBoxLayout>
#include <gtest/gtest.h>

namespace {

void configureInteger(TAdvEdit& edit)
{
    edit.setEditType(TAdvEdit::etNumeric);
    edit.setMaxLength(3);
    edit.setColor(clWhite);
    edit.setFocusColor(0x00F7E0CC);
    edit.setCanUndo(false);
    edit.setAutoThousandSeparator(false);
    edit.setText(QStringLiteral("0"));
}

void configureDecimalOutput(TAdvEdit& edit)
{
    edit.setEditType(TAdvEdit::etFloat);
    edit.setPrecision(2);
    edit.setMaxLength(4);
    edit.setReadOnly(true);
    edit.setTabStop(false);
    edit.setColor(clWhite);
    edit.setFocusColor(0x00F7E0CC);
    edit.setCanUndo(false);
}

// A shown, active window with the name field, two integer inputs and the decimal output.
class EditWindow : public ::testing::Test
{
protected:
    void SetUp() override
    {
        auto* layout = new QVBoxLayout(&window);
        for (TAdvEdit* edit : {&name, &first, &second, &output})
            layout->addWidget(edit);
        name.setColor(clWhite);
        name.setFocusColor(0x00F7E0CC);
        name.setCanUndo(false);
        name.setReturnIsTab(true);
        configureInteger(first);
        first.setReturnIsTab(true);
        configureInteger(second);
        second.setReturnIsTab(true);
        configureDecimalOutput(output);
        output.setText(QStringLiteral("0,00"));
        window.show();
        QApplication::setActiveWindow(&window);
        ASSERT_TRUE(QTest::qWaitForWindowActive(&window));
    }

    void focus(TAdvEdit& edit, Qt::FocusReason reason = Qt::TabFocusReason)
    {
        edit.setFocus(reason);
        QCoreApplication::processEvents();
        ASSERT_TRUE(edit.hasFocus());
    }

    ScopedRegionalSettings comma{QChar(u','), QChar(0x00A0)};
    QWidget window;
    TAdvEdit name{&window};
    TAdvEdit first{&window};
    TAdvEdit second{&window};
    TAdvEdit output{&window};
};

// Types text the way a keyboard layout delivers it: one key event per character,
// a surrogate pair in one event.
void typeText(QWidget& widget, const QString& text)
{
    for (qsizetype i = 0; i < text.size(); ++i) {
        const qsizetype length = text.at(i).isHighSurrogate() ? 2 : 1;
        QKeyEvent press(QEvent::KeyPress, Qt::Key_unknown, Qt::NoModifier, text.mid(i, length));
        QApplication::sendEvent(&widget, &press);
        i += length - 1;
    }
}

QColor background(const TAdvEdit& edit)
{
    return edit.palette().color(QPalette::Base);
}

} // namespace

TEST_F(EditWindow, TypingIntoAnIntegerField)
{
    focus(first);
    QSignalSpy changes(&first, &TAdvEdit::changed);
    QTest::keyClicks(&first, QStringLiteral("12-a 34"));
    EXPECT_EQ(first.text(), "123"); // the selected 0 replaced, then MaxLength stops the 4
    EXPECT_EQ(changes.count(), 3);
    EXPECT_TRUE(first.isModified());
}

TEST_F(EditWindow, RegressionSameTextTypedOverASelectionRaisedOnChange)
{
    // A typed character replaces the selection; only a text that differs afterwards is a change,
    // and MaxLength counts the text without the selection.
    struct Row { const char* name; TAdvEdit* field; QString before; int selStart; int selLength; QString typed; QString after; int changes; };
    const Row rows[] = {
        {"same digit over the selected zero", &first, "0", 0, 1, "0", "0", 0},
        {"same digit over part of the text", &first, "45", 0, 1, "4", "45", 0},
        {"same letter over a selected letter", &name, QStringLiteral("Ива"), 2, 1, QStringLiteral("а"), QStringLiteral("Ива"), 0},
        {"another digit over the selected zero", &first, "0", 0, 1, "5", "5", 1},
        {"full field: a selected digit replaced", &first, "123", 1, 1, "5", "153", 1},
        {"full field: everything selected replaced", &first, "123", 0, 3, "9", "9", 1},
        {"full field: a fourth digit refused", &first, "123", 3, 0, "4", "123", 0},
        {"one place left: a third digit taken", &first, "12", 2, 0, "3", "123", 1},
    };
    for (const Row& row : rows) {
        SCOPED_TRACE(row.name);
        row.field->setText(row.before);
        focus(*row.field);
        row.field->setSelection(row.selStart, row.selLength);
        if (row.selLength == 0)
            row.field->setCursorPosition(row.selStart);
        QSignalSpy changes(row.field, &TAdvEdit::changed);
        typeText(*row.field, row.typed);
        EXPECT_EQ(row.field->text(), row.after);
        EXPECT_EQ(changes.count(), row.changes);
    }
}

TEST_F(EditWindow, CtrlCharactersReachTheControlOnce)
{
    focus(first);
    first.setText(QStringLiteral("45"));
    first.setCursorPosition(2);
    QTest::keyClick(&first, Qt::Key_A, Qt::ControlModifier);
    EXPECT_EQ(first.selectedText(), "45");
    QTest::keyClick(&first, Qt::Key_Backspace);
    EXPECT_EQ(first.text(), "");
    QTest::keyClick(&first, Qt::Key_Z, Qt::ControlModifier);
    EXPECT_EQ(first.text(), "45");
}

TEST_F(EditWindow, RegressionMenuKeysInsertedTheirTextPastTheKeyRules)
{
    output.setReadOnly(false);
    output.setText(QStringLiteral("1,00"));
    struct Row { const char* name; TAdvEdit* field; QString before; Qt::Key key; Qt::KeyboardModifiers mods; QString text; QString after; };
    const Row rows[] = {
        {"Alt+letter into an integer field types nothing", &first, "1", Qt::Key_A, Qt::AltModifier, "a", "1"},
        {"Alt+digit into an integer field types nothing", &first, "1", Qt::Key_5, Qt::AltModifier, "5", "1"},
        {"Alt+letter into the name types nothing", &name, "x", Qt::Key_A, Qt::AltModifier, "a", "x"},
        {"an AltGr character in a decimal field obeys its rules", &output, "1,00", Qt::Key_Q,
         Qt::ControlModifier | Qt::AltModifier, "@", "1,00"},
        {"an AltGr character types into the name", &name, "x", Qt::Key_Q, Qt::ControlModifier | Qt::AltModifier, "@", "x@"},
    };
    for (const Row& row : rows) {
        SCOPED_TRACE(row.name);
        row.field->setText(row.before);
        focus(*row.field);
        row.field->setCursorPosition(int(row.before.size()));
        QKeyEvent press(QEvent::KeyPress, row.key, row.mods, row.text);
        QApplication::sendEvent(row.field, &press);
        EXPECT_EQ(row.field->text(), row.after);
    }
}

TEST_F(EditWindow, NameFieldKeepsToTheRecordCodePage)
{
    focus(name);
    typeText(name, QStringLiteral("Müller Иван\U0001F600"));
    EXPECT_EQ(name.text(), QStringLiteral("M?ller Иван?"));
    QApplication::clipboard()->setText(QStringLiteral(" \u03B1\U0001F600ё"));
    QTest::keyClick(&name, Qt::Key_V, Qt::ControlModifier);
    EXPECT_EQ(name.text(), QStringLiteral("M?ller Иван? ??ё"));
}

TEST_F(EditWindow, PastePathsGoThroughThePasteRule)
{
    struct Row { const char* name; QString before; int selStart; int selLength; QString clip; QString after; QString selected; int caret; };
    const Row rows[] = {
        {"too long for MaxLength", "45", 2, 0, "12", "45", "", 2},
        {"over a selected digit", "45", 0, 1, "7", "75", "7", 1},
        {"letters refused", "45", 2, 0, "1a", "45", "", 2},
        {"minus refused", "4", 1, 0, "-3", "4", "", 1},
        {"digits at the caret", "4", 0, 0, "12", "124", "", 2},
    };
    const std::function<void(TAdvEdit&)> paths[] = {
        [](TAdvEdit& e) { QTest::keyClick(&e, Qt::Key_V, Qt::ControlModifier); },
        [](TAdvEdit& e) { QTest::keyClick(&e, Qt::Key_Insert, Qt::ShiftModifier); },
        [](TAdvEdit& e) {
            std::unique_ptr<QMenu> menu(e.createContextMenu());
            for (QAction* action : menu->actions())
                if (action->text().startsWith(QLineEdit::tr("&Paste")))
                    action->trigger();
        },
    };
    focus(first);
    for (std::size_t path = 0; path < std::size(paths); ++path) {
        for (const Row& row : rows) {
            SCOPED_TRACE(std::string(row.name) + " via path " + std::to_string(path));
            first.setText(row.before);
            first.setSelection(row.selStart, row.selLength);
            if (row.selLength == 0)
                first.setCursorPosition(row.selStart);
            QApplication::clipboard()->setText(row.clip);
            QSignalSpy changes(&first, &TAdvEdit::changed);
            paths[path](first);
            EXPECT_EQ(first.text(), row.after);
            EXPECT_EQ(first.selectedText(), row.selected);
            EXPECT_EQ(first.cursorPosition(), row.caret);
            EXPECT_EQ(changes.count(), row.after == row.before ? 0 : 1);
        }
    }
}

TEST_F(EditWindow, RegressionContextMenuCopyAndCutSkippedTheirClipboardEvents)
{
    struct Row { const char* name; QString item; bool allow; QString textAfter; QString clipboardAfter; };
    const Row rows[] = {
        {"copy refused", QLineEdit::tr("&Copy"), false, "abc", "before"},
        {"copy allowed", QLineEdit::tr("&Copy"), true, "abc", "abc"},
        {"cut refused", QLineEdit::tr("Cu&t"), false, "abc", "before"},
        {"cut allowed", QLineEdit::tr("Cu&t"), true, "", "abc"},
    };
    focus(name);
    for (const Row& row : rows) {
        SCOPED_TRACE(row.name);
        name.setText(QStringLiteral("abc"));
        name.selectAll();
        QApplication::clipboard()->setText(QStringLiteral("before"));
        QStringList offered;
        const auto decide = [&](const QString& selected, bool& allow) {
            offered.append(selected);
            allow = row.allow;
        };
        const QMetaObject::Connection copy = QObject::connect(&name, &TAdvEdit::clipboardCopy, decide);
        const QMetaObject::Connection cut = QObject::connect(&name, &TAdvEdit::clipboardCut, decide);
        std::unique_ptr<QMenu> menu(name.createContextMenu());
        for (QAction* action : menu->actions())
            if (action->text().section(QLatin1Char('\t'), 0, 0) == row.item)
                action->trigger();
        QObject::disconnect(copy);
        QObject::disconnect(cut);
        EXPECT_EQ(offered, QStringList{"abc"});
        EXPECT_EQ(name.text(), row.textAfter);
        EXPECT_EQ(QApplication::clipboard()->text(), row.clipboardAfter);
    }
}

TEST_F(EditWindow, RegressionKeyboardCopyAndCutDidNothingInADecimalField)
{
    struct Row { const char* name; TAdvEdit* field; QString before; Qt::Key key; Qt::KeyboardModifiers mods; QString after; QString clipboard; };
    const Row rows[] = {
        {"Ctrl+C in the decimal output", &output, "2,30", Qt::Key_C, Qt::ControlModifier, "2,30", "2,30"},
        {"Ctrl+Insert in the decimal output", &output, "2,30", Qt::Key_Insert, Qt::ControlModifier, "2,30", "2,30"},
        {"Ctrl+X in the read-only output copies", &output, "2,30", Qt::Key_X, Qt::ControlModifier, "2,30", "2,30"},
        {"Shift+Delete in the read-only output copies", &output, "2,30", Qt::Key_Delete, Qt::ShiftModifier, "2,30", "2,30"},
        {"Ctrl+X in an integer input cuts", &first, "45", Qt::Key_X, Qt::ControlModifier, "", "45"},
    };
    for (const Row& row : rows) {
        SCOPED_TRACE(row.name);
        row.field->setText(row.before);
        focus(*row.field, Qt::MouseFocusReason);
        row.field->selectAll();
        QApplication::clipboard()->setText(QStringLiteral("before"));
        QTest::keyClick(row.field, row.key, row.mods);
        EXPECT_EQ(row.field->text(), row.after);
        EXPECT_EQ(QApplication::clipboard()->text(), row.clipboard);
    }
}

TEST_F(EditWindow, ReadOnlyFieldIgnoresPasteAndTyping)
{
    focus(output, Qt::MouseFocusReason);
    EXPECT_EQ(background(output), QColor(204, 224, 247));
    QApplication::clipboard()->setText(QStringLiteral("3,5"));
    QTest::keyClick(&output, Qt::Key_V, Qt::ControlModifier);
    QTest::keyClicks(&output, QStringLiteral("7,"));
    EXPECT_EQ(output.text(), "0,00");
    focus(name);
    EXPECT_EQ(background(output), QColor(255, 255, 255));
}

TEST_F(EditWindow, FocusColoursAndAutoSelect)
{
    focus(first);
    EXPECT_EQ(background(first), QColor(204, 224, 247));
    EXPECT_EQ(first.color(), 0x00F7E0CCu);
    EXPECT_EQ(first.selectedText(), "0");
    EXPECT_EQ(first.cursorPosition(), 0);
    QTest::keyClick(&first, Qt::Key_5);
    EXPECT_EQ(first.text(), "5"); // the first character replaces the selected text
    focus(second);
    EXPECT_EQ(background(first), QColor(255, 255, 255));
    EXPECT_EQ(first.color(), clWhite);
    // Without AutoSelect a field with decimals takes the caret just before its separator.
    output.setAutoSelect(false);
    focus(output);
    EXPECT_EQ(output.selectedText(), "");
    EXPECT_EQ(output.cursorPosition(), 1);
}

TEST_F(EditWindow, EnterMovesLikeTab)
{
    struct Row { const char* name; TAdvEdit* from; Qt::KeyboardModifiers modifiers; TAdvEdit* to; };
    const Row rows[] = {
        {"Enter goes on", &name, Qt::NoModifier, &first},
        {"keypad Enter too", &first, Qt::KeypadModifier, &second},
        {"Shift+Enter goes back", &second, Qt::ShiftModifier, &first},
        {"Ctrl+Enter goes nowhere", &first, Qt::ControlModifier, &first},
        {"Enter in an output stays", &output, Qt::NoModifier, &output},
    };
    for (const Row& row : rows) {
        SCOPED_TRACE(row.name);
        focus(*row.from);
        QSignalSpy keyPresses(row.from, &TAdvEdit::keyPress);
        const Qt::Key key = row.modifiers & Qt::KeypadModifier ? Qt::Key_Enter : Qt::Key_Return;
        QTest::keyClick(row.from, key, row.modifiers);
        QCoreApplication::processEvents();
        EXPECT_TRUE(row.to->hasFocus());
        EXPECT_EQ(row.to->selectedText(), row.to->text()); // reached by Enter: all selected
        EXPECT_EQ(keyPresses.count(), row.modifiers & Qt::ControlModifier ? 0 : 1);
    }
    // The output is skipped by Tab: from the last input, Enter wraps to the name.
    focus(second);
    QTest::keyClick(&second, Qt::Key_Return);
    QCoreApplication::processEvents();
    EXPECT_TRUE(name.hasFocus());
}

TEST_F(EditWindow, LeavingAnEmptyIntegerFieldShowsZero)
{
    focus(first);
    QTest::keyClick(&first, Qt::Key_Backspace);
    ASSERT_EQ(first.text(), "");
    QSignalSpy changes(&first, &TAdvEdit::changed);
    focus(second);
    EXPECT_EQ(first.text(), "0");
    EXPECT_EQ(changes.count(), 1);
}

TEST_F(EditWindow, LeavingADecimalFieldRewritesItsDecimals)
{
    output.setReadOnly(false);
    focus(output);
    QTest::keyClick(&output, Qt::Key_Backspace);
    QTest::keyClicks(&output, QStringLiteral("3,5"));
    EXPECT_EQ(output.text(), "3,5");
    focus(name);
    EXPECT_EQ(output.text(), "3,50");
    focus(output);
    QTest::keyClick(&output, Qt::Key_Backspace);
    focus(name);
    EXPECT_EQ(output.text(), "0,00");
}

TEST_F(EditWindow, RegressionLeavingAMoneyFieldDroppedItsThousandSeparators)
{
    // Leaving rewrites the text as the text setter would show its value; free decimals
    // (Precision 0) keep the text, and only an empty one becomes "0".
    struct Row { const char* name; TAdvEdit::TAdvEditType type; int precision; QString assigned; bool retype; QString typed; QString shown; };
    const Row rows[] = {
        {"decimal field", TAdvEdit::etFloat, 2, "0", true, "1234,5", "1234,50"},
        {"money field groups the thousands", TAdvEdit::etMoney, 2, "0", true, "1234,5", QStringLiteral("1\u00A0234,50")},
        {"money field left empty", TAdvEdit::etMoney, 2, "0", true, "", "0,00"},
        {"free decimals keep an assigned text", TAdvEdit::etFloat, 0, "2,8547", false, "", "2,8547"},
        {"free decimals keep typed digits", TAdvEdit::etFloat, 0, "0", true, "35", "35"},
        {"free decimals left empty show zero", TAdvEdit::etFloat, 0, "7", true, "", "0"},
    };
    output.setReadOnly(false);
    output.setMaxLength(0);
    for (const Row& row : rows) {
        SCOPED_TRACE(row.name);
        output.setEditType(row.type);
        output.setPrecision(row.precision);
        output.setText(row.assigned);
        focus(output);
        if (row.retype) {
            QTest::keyClick(&output, Qt::Key_Backspace);
            QTest::keyClicks(&output, row.typed);
            ASSERT_EQ(output.text(), row.typed);
        }
        focus(name);
        EXPECT_EQ(output.text(), row.shown);
    }
}

TEST_F(EditWindow, EscapeRestoresTheTextOfFocusEntryWhenUndoIsOn)
{
    first.setCanUndo(true);
    first.setText(QStringLiteral("42"));
    focus(first);
    QTest::keyClicks(&first, QStringLiteral("7"));
    ASSERT_EQ(first.text(), "7");
    QTest::keyClick(&first, Qt::Key_Escape);
    EXPECT_EQ(first.text(), "42");
    EXPECT_EQ(first.selectedText(), "42");
    EXPECT_FALSE(first.isModified());
}

TEST(AdvEdit, TextSetterWithEitherSeparator)
{
    struct Row { QChar decimal; QString value; QString shown; };
    const Row rows[] = {
        {u',', "2,8547", "2,85"}, {u',', "abc", "0,00"}, {u',', "2.85", "0,00"}, {u',', "10", "10,00"},
        {u'.', "2.8547", "2.85"}, {u'.', "0,00", "0.00"}, {u'.', "2,295", "0.00"}, {u',', "2,295", "2,30"},
    };
    for (const Row& row : rows) {
        ScopedRegionalSettings separators(row.decimal, QChar(0x00A0));
        TAdvEdit edit;
        configureDecimalOutput(edit);
        edit.setText(row.value);
        EXPECT_EQ(edit.text(), row.shown) << row.value.toStdString();
    }
}

TEST(AdvEdit, ChangedFiresOncePerRealChange)
{
    TAdvEdit edit;
    configureInteger(edit);
    QSignalSpy changes(&edit, &TAdvEdit::changed);
    edit.setText(QStringLiteral("0"));
    EXPECT_EQ(changes.count(), 0);
    edit.setText(QStringLiteral("-25"));
    EXPECT_EQ(changes.count(), 1);
    edit.setText(QStringLiteral("12,5")); // shows 0
    EXPECT_EQ(changes.count(), 2);
    EXPECT_EQ(edit.text(), "0");
    edit.setText(QStringLiteral("abc")); // still 0
    EXPECT_EQ(changes.count(), 2);
    edit.clear();
    EXPECT_EQ(changes.count(), 3);
    edit.clear();
    EXPECT_EQ(changes.count(), 3);
    edit.setReadOnly(true);
    edit.setText(QStringLiteral("7"));
    EXPECT_EQ(changes.count(), 4);
}

TEST(AdvEdit, MaxLengthNeverCutsTheProgramsText)
{
    TAdvEdit edit;
    configureInteger(edit);
    edit.setText(QStringLiteral("123456"));
    EXPECT_EQ(edit.text(), "123456");
    EXPECT_EQ(edit.maxLength(), 3);
    const QString longName(40000, QChar(u'a'));
    TAdvEdit name;
    name.setText(longName);
    EXPECT_EQ(name.text(), longName);
}

TEST(AdvEdit, RegressionComposedInputCameBackWhenReadOnlyWasSwitchedOff)
{
    // Composed (input method) text would go into the field past the key rules.
    struct Row { const char* name; std::vector<bool> readOnlySteps; };
    const Row rows[] = {
        {"as constructed", {}},
        {"read-only", {true}},
        {"read-only switched off again", {true, false}},
    };
    for (const Row& row : rows) {
        SCOPED_TRACE(row.name);
        TAdvEdit edit;
        for (const bool readOnly : row.readOnlySteps)
            edit.setReadOnly(readOnly);
        EXPECT_FALSE(edit.testAttribute(Qt::WA_InputMethodEnabled));
    }
}

TEST(AdvEdit, DefaultsAndDragAndDropOff)
{
    TAdvEdit edit;
    EXPECT_EQ(edit.editType(), TAdvEdit::etString);
    EXPECT_EQ(edit.focusColor(), clWindow);
    EXPECT_EQ(edit.focusFontColor(), clWindowText);
    EXPECT_EQ(edit.focusAlign(), TAdvEdit::eaDefault);
    EXPECT_EQ(edit.modifiedColor(), clHighlight);
    EXPECT_EQ(edit.errorColor(), clRed);
    EXPECT_EQ(edit.errorFontColor(), clWhite);
    EXPECT_EQ(edit.disabledColor(), clSilver);
    EXPECT_EQ(edit.labelMargin(), 4);
    EXPECT_EQ(edit.urlColor(), clBlue);
    EXPECT_TRUE(edit.canUndo());
    EXPECT_TRUE(edit.autoThousandSeparator());
    EXPECT_TRUE(edit.flatParentColor());
    EXPECT_FALSE(edit.returnIsTab());
    EXPECT_FALSE(edit.acceptDrops());
    EXPECT_FALSE(edit.dragEnabled());
    EXPECT_EQ(edit.property("EditType").toInt(), int(TAdvEdit::etString));
    edit.setEnabled(false);
    EXPECT_EQ(background(edit), QColor(192, 192, 192));
    edit.setEnabled(true);
    EXPECT_EQ(background(edit), ResolveColor(clWindow));
}
