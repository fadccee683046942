// The main window driven as the examiner drives it: mouse clicks, typed keys, real files.
#include "tests/app/MainWindowTestSupport.h"

#include "app/FailureReport.h"
#include "app/StatusBar.h"
#include "core/ApplicationErrors.h"
#include "core/Assessment.h"
#include "records/RecordFile.h"
#include "tests/app/RowName.h"
#include "tests/support/ModalWatch.h"

#include <QApplication>
#include <QHelpEvent>
#include <QMessageBox>
#include <QPaintEvent>
#include <QSignalSpy>
#include <QTest>
#include <QToolTip>
#include <functional>
#include <tuple>

namespace apptest {
namespace {

const QString kIfiHint = QStringLiteral("ИФИ - Индекс функциональных изменений сердечно-сосудистой системы.");

// "Vornale 5" and the eight slots, each line ending in CR LF, Windows-1251.
QByteArray RecordBytes(const QByteArray& name, const char* systolic, const char* diastolic, const char* pulse,
                       const char* sex, const char* weight, const char* height, const char* age)
{
    return "Vornale 5\r\n" + name + "\r\n" + systolic + "\r\n" + diastolic + "\r\n" + pulse + "\r\n" + sex
           + "\r\n" + weight + "\r\n" + height + "\r\n" + age + "\r\n";
}

const QByteArray kIvanovCp1251 = "\xC8\xE2\xE0\xED\xEE\xE2"; // "Иванов"

// --- Start state and layout ---------------------------------------------------------------------

TEST_F(MainWindowTest, StartState)
{
    EXPECT_FALSE(saveEnabled());
    EXPECT_EQ(edit(1)->text(), "");
    EXPECT_EQ(focused(), edit(1));
    for (int n = 2; n <= 11; ++n)
        EXPECT_EQ(edit(n)->text(), "0") << "AdvEdit" << n;
    EXPECT_EQ(edit(12)->text(), "0,00");
    EXPECT_TRUE(radio(1)->isChecked());
    EXPECT_EQ(label("Label15")->text(), "");
    EXPECT_EQ(levelLabel()->text(), "");
    EXPECT_EQ(bar()->position(), 0);
    EXPECT_EQ(soundStarts(), 0);
    EXPECT_FALSE(form().isModified());
}

// The summary and the group entry take their field rules from the table: the layout must agree.
TEST_F(MainWindowTest, LayoutHoldsToTheEntryFieldTable)
{
    const auto fields = form().entryFields();
    for (const EntryFieldDefinition& definition : EntryFieldDefinitions()) {
        const TAdvEdit* field = fields[std::size_t(definition.field)];
        SCOPED_TRACE(field->objectName().toStdString());
        EXPECT_EQ(field, edit(int(definition.field) + 1)) << "typing order";
        EXPECT_EQ(field->editType(), definition.type);
        EXPECT_EQ(field->precision(), definition.precision);
        EXPECT_EQ(field->maxLength(), definition.maxLength);
        EXPECT_EQ(field->text(), definition.resetText);
    }
    const EditRules index = AdaptationIndexFieldRules();
    EXPECT_EQ(edit(12)->editType(), index.type);
    EXPECT_EQ(edit(12)->precision(), index.precision);
    EXPECT_EQ(edit(12)->maxLength(), kAdaptationIndexMaxLength);
}

TEST_F(MainWindowTest, FixedWindowWithoutMaximize)
{
    EXPECT_EQ(form().windowTitle(), "Vornale Lite");
    EXPECT_EQ(form().size(), QSize(382, 376));
    EXPECT_EQ(form().minimumSize(), form().maximumSize());
    EXPECT_FALSE(form().windowFlags().testFlag(Qt::WindowMaximizeButtonHint));
    EXPECT_TRUE(form().windowFlags().testFlag(Qt::WindowMinimizeButtonHint));
}

TEST_F(MainWindowTest, ToolBarButtonsAndPrintNeverShown)
{
    struct Button
    {
        const char* action;
        int left;
        bool enabled;
    };
    const Button buttons[] = {{"AcNew", 0, true}, {"AcOpen", 23, true}, {"AcSave", 46, false}, {"AcAbout", 77, true}};
    for (const Button& b : buttons) {
        SCOPED_TRACE(b.action);
        QToolButton* button = toolButton(b.action);
        ASSERT_NE(button, nullptr);
        EXPECT_EQ(button->x(), b.left);
        EXPECT_EQ(button->width(), 23);
        EXPECT_EQ(button->isEnabled(), b.enabled);
    }
    auto* toolBar = form().findChild<QToolBar*>("ToolBar1");
    EXPECT_FALSE(toolBar->actions().contains(action("AcPrint")));
    EXPECT_FALSE(action("AcPrint")->isEnabled());
}

// --- Calculate ------------------------------------------------------------------------------------

TEST_F(MainWindowTest, CalculateAcceptedSubject)
{
    enterSubject(AcceptedSubject());
    click(calcButton());
    EXPECT_EQ(edit(8)->text(), "122");
    EXPECT_EQ(edit(9)->text(), "78");
    EXPECT_EQ(edit(10)->text(), "71");
    EXPECT_EQ(edit(12)->text(), "2,30"); // index 2,295: the exact half rounds away from zero
    EXPECT_EQ(bar()->position(), 57);
    EXPECT_EQ(bar()->level0Color(), clLime);
    EXPECT_EQ(bar()->level0ColorTo(), 14811105u);
    EXPECT_EQ(levelLabel()->text(), "Удовлетворительная адаптация");
    EXPECT_EQ(edit(11)->text(), "-14");
    EXPECT_EQ(label("Label15")->text(), "Нормальный баланс");
    EXPECT_EQ(soundStarts(), 0);
}

struct FailureCase
{
    const char* name;
    std::function<void(MainWindowTest&)> makeInputUnusable;
};

class CalculateFailureCase : public MainWindowTest, public ::testing::WithParamInterface<FailureCase> {};

const FailureCase failureCases[] = {
    {"NewThenCalculate",
     [](MainWindowTest& t) {
         t.trigger("AcNew");
         t.click(t.calcButton());
     }},
    {"DiastolicBelowRange",
     [](MainWindowTest& t) {
         t.typeInto(3, "20");
         t.click(t.calcButton());
     }},
    {"OpenedFileWithEmptyAge",
     [](MainWindowTest& t) {
         // Leaving a field empty turns it into "0"; only a file can bring an empty age.
         t.files->openAnswers << t.writeFile("no-age.vnl", RecordBytes("", "120", "80", "70", "0", "70", "175", ""));
         t.trigger("AcOpen");
     }},
};

TEST_P(CalculateFailureCase, ClearsResultsSoundsAndShowsTheInputError)
{
    enterSubject(AcceptedSubject());
    click(calcButton());
    ASSERT_EQ(bar()->position(), 57);

    ErrorWindowSeen seen;
    expectErrorWindow(seen);
    GetParam().makeInputUnusable(*this);

    EXPECT_TRUE(seen.shown);
    EXPECT_EQ(seen.heading, "Ошибка ввода");
    EXPECT_EQ(seen.message, "Проверьте правильность введенных данных");
    EXPECT_EQ(soundStarts(), 1);
    for (int n = 8; n <= 11; ++n)
        EXPECT_EQ(edit(n)->text(), "0") << "AdvEdit" << n;
    EXPECT_EQ(edit(12)->text(), "0,00");
    EXPECT_EQ(levelLabel()->text(), "");
    EXPECT_EQ(label("Label15")->text(), "");
    EXPECT_EQ(bar()->position(), 0);
    // The bar keeps the colours of the last successful calculation.
    EXPECT_EQ(bar()->level0Color(), clLime);
    EXPECT_EQ(bar()->level0ColorTo(), 14811105u);
}

INSTANTIATE_TEST_SUITE_P(Inputs, CalculateFailureCase, ::testing::ValuesIn(failureCases), RowName());

TEST_F(MainWindowTest, SuccessAfterFailureFillsEverythingAgain)
{
    ErrorWindowSeen seen;
    expectErrorWindow(seen);
    click(calcButton());
    ASSERT_TRUE(seen.shown);
    enterSubject(AcceptedSubject());
    click(calcButton());
    EXPECT_EQ(edit(8)->text(), "122");
    EXPECT_EQ(edit(12)->text(), "2,30");
    EXPECT_EQ(bar()->position(), 57);
    EXPECT_EQ(label("Label15")->text(), "Нормальный баланс");
}

TEST_F(MainWindowTest, EnterOnTheButtonRunsTheCalculationOnce)
{
    QSignalSpy closings(&errorWindow(), &QDialog::finished);
    calcButton()->setFocus();
    ErrorWindowSeen seen;
    expectErrorWindow(seen);
    pressKey(calcButton(), Qt::Key_Return);
    QTest::qWait(50);
    EXPECT_TRUE(seen.shown);
    EXPECT_EQ(closings.count(), 1);
    EXPECT_EQ(soundStarts(), 1);
}

TEST_F(MainWindowTest, NoSoundDeviceStillShowsTheInputError)
{
    // The simulated device refuses to open: the failure is swallowed, the window shows anyway.
    ErrorWindowSeen seen;
    expectErrorWindow(seen);
    failSoundDevice();
    click(calcButton());
    EXPECT_TRUE(seen.shown);
    EXPECT_EQ(seen.heading, "Ошибка ввода");
}

// --- Keyboard -------------------------------------------------------------------------------------

struct TabCase
{
    const char* name;
    bool female;
    const char* checkedRadio;
};

class TabOrderCase : public MainWindowTest, public ::testing::WithParamInterface<TabCase> {};

TEST_P(TabOrderCase, VisitsEntriesCheckedSexAndButtonSkipsResults)
{
    if (GetParam().female)
        click(radio(2));
    edit(1)->setFocus();
    QStringList visited;
    for (int step = 0; step < 10; ++step) {
        pressKey(focused(), Qt::Key_Tab);
        visited << focused()->objectName();
    }
    const QStringList expected{"AdvEdit2", "AdvEdit3",  "AdvEdit4", GetParam().checkedRadio, "AdvEdit5",
                               "AdvEdit6", "AdvEdit7", "BtnCalc",  "AdvEdit1",              "AdvEdit2"};
    EXPECT_EQ(visited, expected);
}

INSTANTIATE_TEST_SUITE_P(Sexes, TabOrderCase,
                         ::testing::Values(TabCase{"Male", false, "RadioButton1"}, TabCase{"Female", true, "RadioButton2"}),
                         RowName());

// How the sex choice came to be what it is before the examiner comes back to the buttons.
struct SexHistory
{
    const char* name;
    std::function<void(MainWindowTest&)> act;
    bool female; // the choice it leaves
};

// A way into the sex buttons from a neighbouring field.
struct SexRoute
{
    const char* name;
    int fromField;
    Qt::Key key;
    Qt::KeyboardModifiers modifiers;
};

QByteArray SexOnlyRecord(const char* sex)
{
    return RecordBytes("", "120", "80", "70", sex, "50", "160", "15");
}

const SexHistory sexHistories[] = {
    {"FreshStart", [](MainWindowTest&) {}, false},
    {"FemaleClicked", [](MainWindowTest& t) { t.click(t.radio(2)); }, true},
    {"FemaleClickedThenMaleClicked",
     [](MainWindowTest& t) {
         t.click(t.radio(2));
         t.click(t.radio(1));
     },
     false},
    {"FemaleByArrowThenNew",
     [](MainWindowTest& t) {
         t.radio(1)->setFocus(Qt::TabFocusReason);
         t.pressKey(t.radio(1), Qt::Key_Right);
         t.trigger("AcNew");
     },
     false},
    {"FemaleClickedThenNew",
     [](MainWindowTest& t) {
         t.click(t.radio(2));
         t.trigger("AcNew");
     },
     false},
    {"FemaleFileOpenedAtStart",
     [](MainWindowTest& t) {
         t.files->openAnswers << t.writeFile("girl.vnl", SexOnlyRecord("1"));
         t.trigger("AcOpen");
     },
     true},
    {"MaleVisitedThenFemaleFileOpened",
     [](MainWindowTest& t) {
         t.radio(1)->setFocus(Qt::TabFocusReason);
         t.pressKey(t.radio(1), Qt::Key_Tab);
         t.files->openAnswers << t.writeFile("girl.vnl", SexOnlyRecord("1"));
         t.trigger("AcOpen");
     },
     true},
    {"FemaleChosenThenMaleFileOpened",
     [](MainWindowTest& t) {
         t.click(t.radio(2));
         t.files->openAnswers << t.writeFile("boy.vnl", SexOnlyRecord("0"));
         t.trigger("AcOpen");
     },
     false},
};

const SexRoute sexRoutes[] = {
    {"TabFromPulse", 4, Qt::Key_Tab, Qt::NoModifier},
    {"EnterFromPulse", 4, Qt::Key_Return, Qt::NoModifier},
    {"ShiftTabFromWeight", 5, Qt::Key_Backtab, Qt::ShiftModifier},
    {"ShiftEnterFromWeight", 5, Qt::Key_Return, Qt::ShiftModifier},
};

class SexButtonsReached : public MainWindowTest,
                          public ::testing::WithParamInterface<std::tuple<SexHistory, SexRoute>> {};

TEST_P(SexButtonsReached, RegressionFocusLandedOnTheUncheckedButton)
{
    const auto& [history, route] = GetParam();
    history.act(*this);
    ASSERT_EQ(radio(2)->isChecked(), history.female);
    QRadioButton* checked = radio(history.female ? 2 : 1);
    QRadioButton* other = radio(history.female ? 1 : 2);

    edit(route.fromField)->setFocus(Qt::MouseFocusReason);
    ASSERT_EQ(focused(), edit(route.fromField));
    QTest::keyClick(edit(route.fromField), route.key, route.modifiers);
    QTest::qWait(10);
    EXPECT_EQ(focused(), checked);

    // The arrow key then moves the choice, as it does from a fresh start.
    pressKey(focused(), history.female ? Qt::Key_Left : Qt::Key_Right);
    EXPECT_TRUE(other->isChecked());
    EXPECT_EQ(focused(), other);
}

INSTANTIATE_TEST_SUITE_P(Routes, SexButtonsReached,
                         ::testing::Combine(::testing::ValuesIn(sexHistories), ::testing::ValuesIn(sexRoutes)),
                         [](const auto& row) {
                             return std::string(std::get<0>(row.param).name) + "_" + std::get<1>(row.param).name;
                         });

TEST_F(MainWindowTest, EnterOnARadioButtonMovesToWeightKeepingTheChoice)
{
    radio(1)->setFocus();
    pressKey(radio(1), Qt::Key_Return);
    EXPECT_EQ(focused(), edit(5));
    EXPECT_TRUE(radio(1)->isChecked());
    EXPECT_FALSE(saveEnabled());
}

TEST_F(MainWindowTest, EnterInAnEntryFieldMovesOn)
{
    edit(2)->setFocus();
    pressKey(edit(2), Qt::Key_Return);
    QTest::qWait(10);
    EXPECT_EQ(focused(), edit(3));
}

// --- Modified and Save ----------------------------------------------------------------------------

struct ModifiedCase
{
    const char* name;
    std::function<void(MainWindowTest&)> act;
    bool saveEnabled;
};

class ModifiedStateCase : public MainWindowTest, public ::testing::WithParamInterface<ModifiedCase> {};

const ModifiedCase modifiedCases[] = {
    {"NothingDone", [](MainWindowTest&) {}, false},
    {"LetterTypedInFullName", [](MainWindowTest& t) { t.typeInto(1, "a"); }, true},
    {"OneCharacterTyped", [](MainWindowTest& t) { t.typeInto(2, "1"); }, true},
    {"DigitTypedInDiastolic", [](MainWindowTest& t) { t.typeInto(3, "1"); }, true},
    {"DigitTypedInPulse", [](MainWindowTest& t) { t.typeInto(4, "1"); }, true},
    {"DigitTypedInWeight", [](MainWindowTest& t) { t.typeInto(5, "1"); }, true},
    {"DigitTypedInHeight", [](MainWindowTest& t) { t.typeInto(6, "1"); }, true},
    {"DigitTypedInAge", [](MainWindowTest& t) { t.typeInto(7, "1"); }, true},
    {"RegressionSameDigitTypedOverTheSelectedZero",
     [](MainWindowTest& t) {
         // Reached by Tab, the field's "0" is selected; typing "0" over it changes nothing.
         t.pressKey(t.edit(1), Qt::Key_Tab);
         t.typeText(t.focused(), "0");
     },
     false},
    {"CharacterTypedAndDeletedAgain",
     [](MainWindowTest& t) {
         t.typeInto(1, "a");
         t.pressKey(t.edit(1), Qt::Key_Backspace);
     },
     true},
    {"FemaleClicked", [](MainWindowTest& t) { t.click(t.radio(2)); }, true},
    {"FemaleThenMaleClicked",
     [](MainWindowTest& t) {
         t.click(t.radio(2));
         t.click(t.radio(1));
     },
     true},
    {"RegressionFemaleSavedThenMaleClicked",
     [](MainWindowTest& t) {
         t.click(t.radio(2));
         t.files->saveAnswers << t.pathOf("f.vnl");
         t.trigger("AcSave");
         t.click(t.radio(1));
     }, true},
    {"RegressionFemaleOpenedThenMaleClicked",
     [](MainWindowTest& t) {
         t.files->openAnswers << t.writeFile("f.vnl", RecordBytes("x", "120", "80", "70", "1", "70", "175", "30"));
         t.trigger("AcOpen");
         t.click(t.radio(1));
     }, true},
    {"CheckedMaleClickedAgain", [](MainWindowTest& t) { t.click(t.radio(1)); }, false},
    {"LetterRefusedByNumericField", [](MainWindowTest& t) { t.typeText(t.edit(2), "x"); }, false},
    {"NewAfterTyping",
     [](MainWindowTest& t) {
         t.typeInto(1, "Петров");
         t.trigger("AcNew");
     },
     false},
    {"FemaleThenNew",
     [](MainWindowTest& t) {
         t.click(t.radio(2));
         t.trigger("AcNew");
     },
     false},
    {"FailedCalculationLeavesItAlone",
     [](MainWindowTest& t) {
         ErrorWindowSeen seen;
         t.expectErrorWindow(seen);
         t.click(t.calcButton());
     },
     false},
};

TEST_P(ModifiedStateCase, SaveFollowsModified)
{
    GetParam().act(*this);
    EXPECT_EQ(saveEnabled(), GetParam().saveEnabled);
    EXPECT_EQ(form().isModified(), GetParam().saveEnabled);
}

INSTANTIATE_TEST_SUITE_P(Actions, ModifiedStateCase, ::testing::ValuesIn(modifiedCases), RowName());

TEST_F(MainWindowTest, NewAfterACalculationResetsEverything)
{
    enterSubject(AcceptedSubject());
    click(radio(2));
    click(calcButton());
    trigger("AcNew");
    EXPECT_EQ(edit(1)->text(), "");
    for (int n = 2; n <= 11; ++n)
        EXPECT_EQ(edit(n)->text(), "0") << "AdvEdit" << n;
    EXPECT_EQ(edit(12)->text(), "0,00");
    EXPECT_TRUE(radio(1)->isChecked());
    EXPECT_EQ(levelLabel()->text(), "");
    EXPECT_EQ(label("Label15")->text(), "");
    EXPECT_EQ(bar()->position(), 0);
    EXPECT_FALSE(saveEnabled());
    EXPECT_EQ(focused(), edit(1));
}

// --- Open -----------------------------------------------------------------------------------------

TEST_F(MainWindowTest, OpenHeaderOnlyKeepsFieldsClearsModifiedAndCalculates)
{
    enterSubject(AcceptedSubject());
    ASSERT_TRUE(saveEnabled());
    files->openAnswers << writeFile("header.vnl", "Vornale 5");
    trigger("AcOpen");
    EXPECT_EQ(edit(1)->text(), "Иванов Иван");
    EXPECT_EQ(edit(2)->text(), "120");
    EXPECT_EQ(edit(7)->text(), "30");
    EXPECT_TRUE(radio(1)->isChecked());
    EXPECT_EQ(edit(8)->text(), "122"); // the calculation ran on what the fields show
    EXPECT_FALSE(saveEnabled());
    EXPECT_EQ(focused(), edit(1));
}

TEST_F(MainWindowTest, OpenFullFileLoadsFieldsSexAndResults)
{
    files->openAnswers << writeFile("full.vnl", RecordBytes(kIvanovCp1251, "120", "80", "70", "1", "70", "175", "30"));
    trigger("AcOpen");
    EXPECT_EQ(edit(1)->text(), "Иванов");
    EXPECT_TRUE(radio(2)->isChecked());
    SubjectRecord record = ParseSubject("", "120", "80", "70", Sex::Female, "70", "175", "30");
    ASSERT_TRUE(IsAcceptable(record));
    const AssessmentResult expected = Assess(record);
    EXPECT_EQ(edit(8)->text(), QString::number(expected.ExpectedSystolic));
    EXPECT_EQ(edit(11)->text(), QString::number(expected.KerdoShown));
    EXPECT_EQ(levelLabel()->text(), LevelText(expected.Level));
    EXPECT_FALSE(saveEnabled());
    EXPECT_EQ(focused(), edit(1));
}

TEST_F(MainWindowTest, OpenShortFileThenSaveTakesTheMissingLinesFromTheFields)
{
    enterSubject({"", "0", "0", "0", true, "64", "168", "41"});
    files->openAnswers << writeFile("short.vnl", "Vornale 5\r\n" + kIvanovCp1251 + "\r\n120\r\n80\r\n70\r\n");
    trigger("AcOpen");
    EXPECT_EQ(edit(1)->text(), "Иванов");
    EXPECT_EQ(edit(4)->text(), "70");
    EXPECT_EQ(edit(5)->text(), "64");
    EXPECT_TRUE(radio(2)->isChecked());
    EXPECT_FALSE(saveEnabled());

    typeInto(1, "Иванов");
    ASSERT_TRUE(saveEnabled());
    files->saveAnswers << pathOf("saved.vnl");
    trigger("AcSave");
    EXPECT_EQ(readFile(pathOf("saved.vnl")), RecordBytes(kIvanovCp1251, "120", "80", "70", "1", "64", "168", "41"));
    EXPECT_FALSE(saveEnabled());
}

TEST_F(MainWindowTest, OpenBadHeaderShowsReadErrorWithoutSoundAndChangesNothing)
{
    typeInto(2, "125");
    files->openAnswers << writeFile("bad.vnl", RecordBytes("x", "1", "2", "3", "1", "4", "5", "6").replace("Vornale", "vornale"));
    ErrorWindowSeen seen;
    expectErrorWindow(seen);
    trigger("AcOpen");
    EXPECT_TRUE(seen.shown);
    EXPECT_EQ(seen.heading, "Ошибка чтения");
    EXPECT_EQ(seen.message, "Неверный формат файла");
    EXPECT_EQ(soundStarts(), 0);
    EXPECT_EQ(edit(1)->text(), "");
    EXPECT_EQ(edit(2)->text(), "125");
    EXPECT_TRUE(radio(1)->isChecked());
    EXPECT_TRUE(saveEnabled()); // Modified as before the command
    EXPECT_EQ(focused(), edit(1));
}

TEST_F(MainWindowTest, ErrorWindowTextsAfterFormatErrorThenRejectedCalculation)
{
    files->openAnswers << writeFile("bad.vnl", "no header\r\n");
    ErrorWindowSeen first, second;
    expectErrorWindow(first);
    trigger("AcOpen");
    expectErrorWindow(second);
    click(calcButton());
    EXPECT_EQ(first.heading, "Ошибка чтения");
    EXPECT_EQ(second.heading, "Ошибка ввода");
    EXPECT_EQ(second.message, "Проверьте правильность введенных данных");
    EXPECT_EQ(soundStarts(), 1);
}

struct NothingCase
{
    const char* name;
    const char* answer; // null: the dialog is cancelled
};

class OpenDoesNothingCase : public MainWindowTest, public ::testing::WithParamInterface<NothingCase> {};

TEST_P(OpenDoesNothingCase, FieldsFocusAndModifiedUnchanged)
{
    typeInto(3, "85");
    edit(6)->setFocus();
    if (GetParam().answer != nullptr)
        files->openAnswers << pathOf(QString::fromLatin1(GetParam().answer));
    trigger("AcOpen");
    EXPECT_EQ(files->openCalls, 1);
    EXPECT_EQ(edit(3)->text(), "85");
    EXPECT_EQ(focused(), edit(6));
    EXPECT_TRUE(saveEnabled());
}

INSTANTIATE_TEST_SUITE_P(Answers, OpenDoesNothingCase,
                         ::testing::Values(NothingCase{"Cancelled", nullptr}, NothingCase{"MissingFile", "missing.vnl"},
                                           NothingCase{"Folder", ""}),
                         RowName());

// --- Save -----------------------------------------------------------------------------------------

TEST_F(MainWindowTest, SaveThenOpenRoundTrip)
{
    Subject subject = AcceptedSubject();
    subject.female = true;
    enterSubject(subject);
    files->saveAnswers << pathOf("round.vnl");
    trigger("AcSave");
    EXPECT_FALSE(saveEnabled());
    EXPECT_EQ(readFile(pathOf("round.vnl")),
              RecordBytes(kIvanovCp1251 + " \xC8\xE2\xE0\xED", "120", "80", "70", "1", "70", "175", "30"));
    EXPECT_EQ(focused(), edit(1));

    trigger("AcNew");
    files->openAnswers << pathOf("round.vnl");
    trigger("AcOpen");
    EXPECT_EQ(edit(1)->text(), "Иванов Иван");
    EXPECT_EQ(edit(6)->text(), "175");
    EXPECT_TRUE(radio(2)->isChecked());
    EXPECT_NE(levelLabel()->text(), "");
    EXPECT_FALSE(saveEnabled());
}

TEST_F(MainWindowTest, SaveCancelledChangesNothing)
{
    typeInto(2, "130");
    edit(4)->setFocus();
    trigger("AcSave");
    EXPECT_EQ(files->saveCalls, 1);
    EXPECT_TRUE(saveEnabled());
    EXPECT_EQ(focused(), edit(4));
}

TEST_F(MainWindowTest, SaveIntoUnwritableFolderReportsWhatWentWrongAndStaysModified)
{
    const QString notAFolder = writeFile("plain-file", "x");
    const QString target = notAFolder + "/subject.vnl";
    QString expected;
    try {
        WriteRecordFile(target, SubjectTexts{}, [] {});
    } catch (const EInOutError& failure) {
        expected = FailureMessageText(failure.message());
    }
    ASSERT_FALSE(expected.isEmpty());

    const ApplicationExceptionReporter previous = SetApplicationExceptionReporter(ShowFailureMessageBox);
    typeInto(2, "130");
    files->saveAnswers << target;
    QString shown;
    QMessageBox::Icon icon = QMessageBox::NoIcon;
    testsupport::onNextModal([&](QWidget* modal) {
        auto* box = qobject_cast<QMessageBox*>(modal);
        ASSERT_NE(box, nullptr);
        shown = box->text();
        icon = box->icon();
    });
    trigger("AcSave");
    SetApplicationExceptionReporter(previous);

    EXPECT_EQ(shown, expected);
    EXPECT_EQ(icon, QMessageBox::Critical);
    EXPECT_TRUE(saveEnabled());
    EXPECT_EQ(edit(2)->text(), "130");
    EXPECT_EQ(focused(), edit(1));
}

// --- About ----------------------------------------------------------------------------------------

TEST_F(MainWindowTest, AboutShowsTheAboutWindowWithoutSound)
{
    QWidget* shown = nullptr;
    testsupport::onNextModal([&](QWidget* modal) { shown = modal; });
    trigger("AcAbout");
    EXPECT_EQ(shown, &aboutWindow());
    EXPECT_EQ(soundStarts(), 0);
    EXPECT_FALSE(saveEnabled());
}

// --- Hints ----------------------------------------------------------------------------------------

struct HintCase
{
    const char* name;
    std::function<QWidget*(MainWindowTest&)> target;
    QPoint offset; // from the target's top-left corner; (-1, -1) for its centre
    const char* hint;
};

using HintsCase = MainWindowTest;

TEST_F(HintsCase, StatusBarShowsTheHintUnderTheMouse)
{
    const HintCase moves[] = {
        {"IfiLabel", [](MainWindowTest& t) -> QWidget* { return t.label("Label9"); }, {-1, -1}, "ИФИ - Индекс функциональных изменений сердечно-сосудистой системы."},
        {"EmptyGroupArea", [](MainWindowTest& t) -> QWidget* { return t.form().findChild<QWidget*>("GroupBox2"); }, {60, 120}, ""},
        {"IfiField", [](MainWindowTest& t) -> QWidget* { return t.edit(12); }, {-1, -1}, "ИФИ - Индекс функциональных изменений сердечно-сосудистой системы."},
        {"LabelWithoutHint", [](MainWindowTest& t) -> QWidget* { return t.label("Label1"); }, {-1, -1}, ""},
        {"NewButton", [](MainWindowTest& t) -> QWidget* { return t.toolButton("AcNew"); }, {-1, -1}, "Новые данные"},
        {"DisabledSaveButton", [](MainWindowTest& t) -> QWidget* { return t.toolButton("AcSave"); }, {-1, -1}, "Сохранить в файл"},
        {"AboutButton", [](MainWindowTest& t) -> QWidget* { return t.toolButton("AcAbout"); }, {-1, -1}, "О программе"},
        {"NameField", [](MainWindowTest& t) -> QWidget* { return t.edit(1); }, {-1, -1}, ""},
    };
    for (const HintCase& move : moves) {
        SCOPED_TRACE(move.name);
        QWidget* target = move.target(*this);
        ASSERT_NE(target, nullptr);
        const QPoint local = move.offset == QPoint(-1, -1) ? target->rect().center() : move.offset;
        QTest::mouseMove(form().windowHandle(), target->mapTo(&form(), local));
        EXPECT_EQ(statusText(), QString::fromUtf8(move.hint));
    }
}

// Every hint the window can show: those of its controls and of its actions.
QStringList AllHints(QWidget& window)
{
    QStringList hints;
    for (const QWidget* widget : window.findChildren<QWidget*>())
        hints.append(widget->statusTip());
    for (const QAction* action : window.findChildren<QAction*>())
        hints.append(action->statusTip());
    hints.removeAll(QString());
    hints.removeDuplicates();
    return hints;
}

// The rightmost column of `image` that holds a pixel unlike the background of its row, which is
// taken from the last column.
int RightmostInk(const QImage& image)
{
    for (int x = image.width() - 2; x >= 0; --x)
        for (int y = 0; y < image.height(); ++y)
            if (image.pixel(x, y) != image.pixel(image.width() - 1, y))
                return x;
    return -1;
}

TEST_F(HintsCase, EveryHintFitsTheStatusBarOfTheLaidOutWindow)
{
    auto* bar = form().findChild<TStatusBar*>(QStringLiteral("StatusBar1"));
    ASSERT_NE(bar, nullptr);
    EXPECT_EQ(form().size(), QSize(382, 376));
    EXPECT_EQ(bar->geometry(), QRect(0, 357, 382, 19));
    const QRect room = bar->messageRect();
    EXPECT_TRUE(bar->rect().contains(room));

    const QStringList hints = AllHints(form());
    EXPECT_EQ(hints.size(), 5); // the four actions' and the ИФИ text
    EXPECT_TRUE(hints.contains(kIfiHint));
    for (const QString& hint : hints) {
        SCOPED_TRACE(hint.toStdString());
        EXPECT_LE(bar->fontMetrics().horizontalAdvance(hint), room.width());
    }
}

// Rests the mouse on the ИФИ label, coming from a control without a hint wherever an earlier
// test left the mouse.
void RestOnIfiLabel(MainWindowTest& t)
{
    QTest::mouseMove(t.form().windowHandle(), t.edit(1)->mapTo(&t.form(), t.edit(1)->rect().center()));
    QCoreApplication::processEvents();
    QTest::mouseMove(t.form().windowHandle(), t.label("Label9")->mapTo(&t.form(), t.label("Label9")->rect().center()));
}

TEST_F(HintsCase, IfiHintIsPaintedToItsLastCharacter)
{
    auto* bar = form().findChild<TStatusBar*>(QStringLiteral("StatusBar1"));
    ASSERT_NE(bar, nullptr);
    RestOnIfiLabel(*this);
    ASSERT_EQ(statusText(), kIfiHint);

    const QImage shown = bar->grab().toImage();
    const int end = bar->messageRect().left() + bar->fontMetrics().horizontalAdvance(kIfiHint);
    const int ink = RightmostInk(shown);
    // The closing full stop is there: ink reaches to within the stop's side bearings of the end.
    EXPECT_GE(ink, end - 3) << "text ends at " << end;
    EXPECT_LT(ink, bar->messageRect().right());
}

// Collects the areas a widget is asked to paint.
class PaintedArea : public QObject
{
public:
    QRegion painted;

protected:
    bool eventFilter(QObject*, QEvent* event) override
    {
        if (event->type() == QEvent::Paint)
            painted += static_cast<QPaintEvent*>(event)->region();
        return false;
    }
};

TEST_F(HintsCase, ANewHintRepaintsTheWholeMessageArea_StaleFirstLetterFault)
{
    auto* bar = form().findChild<TStatusBar*>(QStringLiteral("StatusBar1"));
    ASSERT_NE(bar, nullptr);
    QTest::mouseMove(form().windowHandle(), edit(1)->mapTo(&form(), edit(1)->rect().center()));
    QCoreApplication::processEvents();
    PaintedArea spy;
    bar->installEventFilter(&spy);
    QTest::mouseMove(form().windowHandle(), label("Label9")->mapTo(&form(), label("Label9")->rect().center()));
    ASSERT_EQ(statusText(), kIfiHint);
    ASSERT_TRUE(QTest::qWaitFor([&] { return !spy.painted.isEmpty(); }));
    EXPECT_TRUE(QRegion(bar->messageRect()).subtracted(spy.painted).isEmpty());
}

TEST_F(HintsCase, NoPopUpTooltips)
{
    QToolButton* button = toolButton("AcOpen");
    QHelpEvent request(QEvent::ToolTip, button->rect().center(), button->mapToGlobal(button->rect().center()));
    QApplication::sendEvent(button, &request);
    QTest::qWait(50);
    EXPECT_FALSE(QToolTip::isVisible());
}

} // namespace
} // namespace apptest
