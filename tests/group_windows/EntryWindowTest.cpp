#include "group_windows/EntryWindow.h"

#include "core/RegionalSettings.h"
#include "entry/EntryJournal.h"
#include "entry/EntryTableModel.h"
#include "records/RecordFile.h"
#include "tests/group_windows/Keys.h"
#include "tests/support/TestFiles.h"
#include "widgets/AdvEdit.h"

#include <QApplication>
#include <QDir>
#include <QFile>
#include <QProcess>
#include <QPushButton>
#include <QSignalSpy>
#include <QTemporaryDir>
#include <QTimer>
#include <gtest/gtest.h>

#include <cstdio>

namespace {

using testkeys::Press;
using testkeys::Type;
using M = EntryTableModel;

QByteArray ReadAll(const QString& path)
{
    QFile file(path);
    return file.open(QIODevice::ReadOnly) ? file.readAll() : QByteArray();
}

// What the main window's Save writes for these entries.
QByteArray MainWindowFile(const SubjectTexts& texts)
{
    QTemporaryDir dir;
    const QString path = dir.filePath("x.vnl");
    WriteRecordFile(path, texts, nullptr);
    return ReadAll(path);
}

class EntryWindowTest : public ::testing::Test
{
protected:
    std::unique_ptr<EntryWindow> open()
    {
        auto window = std::make_unique<EntryWindow>(stage(), nullptr, m_journals.path());
        window->offerJournalRows = [this](const QStringList& rows) {
            offered = int(rows.size());
            return acceptJournal;
        };
        window->dialogs.askAboutRows = [this](const RowsQuestion& question) {
            questions << question.rows;
            return rowsAnswer;
        };
        window->askClashes = [this](const QStringList& asked) {
            clashes = asked;
            return clashAnswer;
        };
        window->confirmRoster = [this](const Roster& roster) {
            rosterProblems = roster.problems;
            return acceptRoster;
        };
        window->askUnsaved = [this] { return unsavedAnswer; };
        window->reportFailure = [this](const QString& message) { failures << message; };
        QSignalSpy loaded(window.get(), &EntryWindow::folderLoaded);
        window->show();
        window->activateWindow();
        EXPECT_TRUE(QTest::qWaitForWindowActive(window.get()));
        EXPECT_TRUE(!loaded.isEmpty() || loaded.wait(10000));
        return window;
    }
    // Name, sex key, then the six numbers; Enter after the last.
    static void typeRow(const QStringList& cells)
    {
        for (qsizetype i = 0; i < cells.size(); ++i) {
            Type(cells[i]);
            Press(i + 1 < cells.size() ? Qt::Key_Tab : Qt::Key_Return);
        }
    }
    static bool saved(EntryWindow& window, const std::function<void()>& trigger)
    {
        QSignalSpy finished(&window, &EntryWindow::saveFinished);
        trigger();
        return finished.wait(10000) && finished.first().first().toBool();
    }
    QString stage() const { return m_dir.filePath("klass"); }
    QStringList files() const { return QDir(stage()).entryList(QDir::Files); }

    QTemporaryDir m_dir;
    QTemporaryDir m_journals;
    ScopedRegionalSettings m_comma{QChar(u','), QChar(0x00A0)};
    int offered = 0;
    bool acceptJournal = true;
    QList<QStringList> questions;
    int rowsAnswer = 0;
    QStringList clashes;
    EntryWindow::ClashAnswer clashAnswer = EntryWindow::ClashAnswer::Skip;
    QStringList rosterProblems;
    bool acceptRoster = true;
    EntryWindow::UnsavedAnswer unsavedAnswer = EntryWindow::UnsavedAnswer::Cancel;
    QStringList failures;
};

TEST_F(EntryWindowTest, GroupTypedByKeysIsSavedByCtrlSAsTheMainWindowWritesIt)
{
    auto window = open();
    EXPECT_EQ(window->view()->currentIndex(), window->model()->index(0, M::ColName));
    typeRow({"Иванова Анна", "ж", "118", "76", "72", "54", "162", "15"});
    typeRow({"Петров Сергей", "m", "135", "88", "9", "71", "178", "16"});
    // Back to the pulse: Delete clears it, typing puts the right one.
    window->view()->setCurrentIndex(window->model()->index(1, M::ColPulse));
    Press(Qt::Key_Delete);
    EXPECT_EQ(window->model()->index(1, M::ColPulse).data().toString(), QString());
    Type("96");
    Press(Qt::Key_Return);
    // Shift+Tab goes back over the row break, skipping the results.
    window->view()->setCurrentIndex(window->model()->index(1, M::ColName));
    Press(Qt::Key_Backtab, Qt::ShiftModifier);
    EXPECT_EQ(window->view()->currentIndex(), window->model()->index(0, M::ColAge));
    EXPECT_EQ(window->model()->rowCount(), 3); // the empty row after the typed ones
    EXPECT_FALSE(window->model()->index(0, M::ColIndex).data().toString().isEmpty());

    ASSERT_TRUE(saved(*window, [] { Press(Qt::Key_S, Qt::ControlModifier); }));
    const SubjectTexts anna{"Иванова Анна", "118", "76", "72", Sex::Female, "54", "162", "15"};
    const SubjectTexts sergey{"Петров Сергей", "135", "88", "96", Sex::Male, "71", "178", "16"};
    EXPECT_EQ(ReadAll(QDir(stage()).filePath("Иванова Анна.vnl")), MainWindowFile(anna));
    EXPECT_EQ(ReadAll(QDir(stage()).filePath("Петров Сергей.vnl")), MainWindowFile(sergey));
    EXPECT_TRUE(failures.isEmpty());
}

TEST_F(EntryWindowTest, EveryEntryColumnsEditorHasItsFieldsRules)
{
    auto window = open();
    for (const EntryFieldDefinition& definition : EntryFieldDefinitions()) {
        window->view()->edit(window->model()->index(0, M::ColumnOfField(definition.field)));
        auto* editor = window->view()->viewport()->findChild<TAdvEdit*>();
        ASSERT_NE(editor, nullptr) << int(definition.field);
        EXPECT_EQ(editor->editType(), definition.type) << int(definition.field);
        EXPECT_EQ(editor->precision(), definition.precision) << int(definition.field);
        EXPECT_EQ(editor->maxLength(), definition.maxLength) << int(definition.field);
        window->view()->commitOpenEditor();
        QCoreApplication::processEvents(QEventLoop::AllEvents);
        QCoreApplication::sendPostedEvents(nullptr, QEvent::DeferredDelete);
    }
}

TEST_F(EntryWindowTest, ClosingWithUnsavedRowsAsks)
{
    using A = EntryWindow::UnsavedAnswer;
    const struct
    {
        A answer;
        bool closes;
        int files;
        int offeredNextTime;
    } rows[] = {{A::Save, true, 1, 0}, {A::Discard, true, 0, 0}, {A::Cancel, false, 0, 1}};
    for (const auto& row : rows) {
        QDir(stage()).removeRecursively();
        unsavedAnswer = row.answer;
        {
            auto window = open();
            typeRow({"Иванова Анна", "ж", "118", "76", "72", "54", "162", "15"});
            QSignalSpy finished(window.get(), &EntryWindow::saveFinished);
            window->close();
            if (row.answer == A::Save) {
                EXPECT_TRUE(finished.wait(10000));
            }
            EXPECT_EQ(window->isVisible(), !row.closes) << int(row.answer);
            EXPECT_EQ(files().size(), row.files) << int(row.answer);
            window->askUnsaved = [] { return A::Discard; };
            if (row.answer == A::Cancel)
                window->hide(); // leaves the journal as a crash would
        }
        offered = 0;
        open();
        EXPECT_EQ(offered, row.offeredNextTime) << int(row.answer);
    }
}

TEST_F(EntryWindowTest, AnotherPersonsFileIsReplacedOnlyWhenTheNurseSaysSo)
{
    using A = EntryWindow::ClashAnswer;
    // Same name, other sex: another person's record.
    const QByteArray other = MainWindowFile({"Иванова Анна", "120", "80", "70", Sex::Male, "60", "165", "40"});
    const struct
    {
        A answer;
        bool replaced;
        int files;
    } rows[] = {{A::Skip, false, 1}, {A::SaveBeside, false, 2}, {A::Overwrite, true, 1}};
    for (const auto& row : rows) {
        QDir(stage()).removeRecursively();
        testsupport::WriteFile(QDir(stage()).filePath("Иванова Анна.vnl"), other);
        clashAnswer = row.answer;
        auto window = open();
        window->model()->setRows({}); // the file's own row gone, as if it were never opened
        window->view()->setCurrentIndex(window->model()->index(0, M::ColName));
        typeRow({"Иванова Анна", "ж", "118", "76", "72", "54", "162", "15"});
        QSignalSpy finished(window.get(), &EntryWindow::saveFinished);
        window->save();
        ASSERT_TRUE(finished.wait(10000));
        EXPECT_EQ(clashes.size(), 1);
        EXPECT_EQ(ReadAll(QDir(stage()).filePath("Иванова Анна.vnl")) != other, row.replaced) << int(row.answer);
        EXPECT_EQ(files().size(), row.files) << int(row.answer);
        EXPECT_EQ(window->model()->hasUnsavedRows(), row.answer == A::Skip);
        EXPECT_EQ(window->problems().isEmpty(), row.answer != A::Skip);
        window->askUnsaved = [] { return EntryWindow::UnsavedAnswer::Discard; };
    }
}

TEST_F(EntryWindowTest, NameARecordFileCannotHoldIsShownBeforeSaving)
{
    auto window = open();
    window->model()->setData(window->model()->index(0, M::ColName), QStringLiteral("Ли Синь 李"));
    ASSERT_EQ(window->problems().size(), 1);
    EXPECT_TRUE(window->problems().first().contains(QStringLiteral("李")));
    window->askUnsaved = [] { return EntryWindow::UnsavedAnswer::Discard; };
}

TEST_F(EntryWindowTest, RosterProblemsAreShownAndTheRosterTakenOnlyWhenAccepted)
{
    const QString csv = m_dir.filePath("list.csv");
    testsupport::WriteFile(csv, "ФИО;Пол\nИванова Анна;Ж\nПетров Сергей;М\n;М\n");
    for (const bool accept : {false, true}) {
        acceptRoster = accept;
        auto window = open();
        QSignalSpy offeredSpy(window.get(), &EntryWindow::rosterOffered);
        window->startRosterFromCsv(csv);
        ASSERT_TRUE(offeredSpy.wait(10000));
        EXPECT_EQ(rosterProblems.size(), 1);
        EXPECT_EQ(window->model()->rows().size(), accept ? 2 : 0);
        EXPECT_EQ(window->problems().filter(QStringLiteral("строка 4")).size(), accept ? 1 : 0);
    }
}

// The child of the test below: types one row and a half, says so, and waits to be killed.
TEST(EntryWindowChild, DISABLED_TypesAndWaits)
{
    const QString stage = qEnvironmentVariable("ENTRY_CHILD_STAGE");
    if (stage.isEmpty())
        GTEST_SKIP();
    EntryWindow window(stage, nullptr, qEnvironmentVariable("ENTRY_CHILD_JOURNALS"));
    QSignalSpy loaded(&window, &EntryWindow::folderLoaded);
    window.show();
    window.activateWindow();
    ASSERT_TRUE(QTest::qWaitForWindowActive(&window));
    ASSERT_TRUE(!loaded.isEmpty() || loaded.wait(10000));
    for (const char* cell : {"Иванова Анна", "ж", "118", "76", "72", "54", "162", "15", "Петров Сергей", "м"}) {
        Type(QString::fromUtf8(cell));
        Press(Qt::Key_Tab);
    }
    while (window.journalPending())
        QTest::qWait(10);
    std::puts("typed");
    std::fflush(stdout);
    QTest::qWait(60000);
}

TEST_F(EntryWindowTest, RowsTypedBeforeAKillAreOfferedAtTheNextStart)
{
    QProcess child;
    QProcessEnvironment environment = QProcessEnvironment::systemEnvironment();
    environment.insert("ENTRY_CHILD_STAGE", stage());
    environment.insert("ENTRY_CHILD_JOURNALS", m_journals.path());
    environment.insert("QT_QPA_PLATFORM", "offscreen");
    child.setProcessEnvironment(environment);
    child.start(QCoreApplication::applicationFilePath(),
                {"--gtest_filter=EntryWindowChild.DISABLED_TypesAndWaits", "--gtest_also_run_disabled_tests"});
    ASSERT_TRUE(child.waitForStarted());
    while (!child.readAllStandardOutput().contains("typed"))
        ASSERT_TRUE(child.waitForReadyRead(30000));
    child.kill(); // SIGKILL: nothing is flushed or saved on the way out
    child.waitForFinished();

    auto window = open();
    EXPECT_EQ(offered, 2);
    ASSERT_EQ(window->model()->rows().size(), 2);
    EXPECT_EQ(window->model()->index(0, M::ColSystolic).data().toString(), QStringLiteral("118"));
    EXPECT_EQ(window->model()->index(1, M::ColSex).data().toString(), QStringLiteral("М"));
    EXPECT_TRUE(files().isEmpty());
    window->askUnsaved = [] { return EntryWindow::UnsavedAnswer::Discard; };
}

const SubjectTexts kAnna{"Иванова Анна", "118", "76", "72", Sex::Female, "54", "162", "15"};
const SubjectTexts kSergey{"Петров Сергей", "135", "88", "96", Sex::Male, "71", "178", "16"};

// Killed between writing and renaming: Анна's file was in place, Сергей's still a temporary, both
// rows in the journal. Either answer keeps every pupil once, and a correction goes to the file.
TEST_F(EntryWindowTest, SaveKilledBeforeItsRenamesLosesNoPupilAndMakesNoSecondFile)
{
    for (const bool accept : {true, false}) {
        QDir(stage()).removeRecursively();
        QDir(m_journals.path()).removeRecursively();
        QDir().mkpath(stage());
        WriteRecordFile(QDir(stage()).filePath("Иванова Анна.vnl"), kAnna, nullptr);
        WriteRecordFile(QDir(stage()).filePath(".Петров Сергей.vnl.k3J9x0Qa.tmp"), kSergey, nullptr);
        EntryRows typed{FromSubjectTexts(kAnna, {}), FromSubjectTexts(kSergey, {})};
        typed[0].dirty = typed[1].dirty = true;
        ASSERT_EQ(EntryJournal(stage(), m_journals.path()).write(typed), QString());
        acceptJournal = accept;
        auto window = open();
        EXPECT_EQ(offered, 1) << accept; // Анна's file holds her row already
        EXPECT_EQ(QDir(stage()).entryList(QDir::Files | QDir::Hidden), QStringList{"Иванова Анна.vnl"}) << accept;
        ASSERT_EQ(window->model()->rows().size(), accept ? 2 : 1) << accept;
        window->model()->setData(window->model()->index(0, M::ColPulse), "80");
        ASSERT_TRUE(saved(*window, [&] { window->save(); })) << accept;
        SubjectTexts corrected = kAnna;
        corrected.Pulse = "80";
        EXPECT_EQ(ReadAll(QDir(stage()).filePath("Иванова Анна.vnl")), MainWindowFile(corrected)) << accept;
        EXPECT_EQ(QDir(stage()).entryList(QDir::Files | QDir::Hidden).size(), accept ? 2 : 1) << accept;
        // Declined, Сергей is set aside where the window says, not lost.
        const QStringList aside = QDir(m_journals.path()).entryList({"*set-aside*"}, QDir::Files);
        ASSERT_EQ(aside.size(), accept ? 0 : 1) << accept;
        if (!accept) {
            const QString path = QDir(m_journals.path()).filePath(aside.first());
            EXPECT_TRUE(ReadAll(path).contains("Петров Сергей"));
            EXPECT_TRUE(window->problems().join(u'\n').contains(path));
        }
    }
}

TEST_F(EntryWindowTest, ASecondWindowOnTheSameFolderIsTheFirstOrIsRefused)
{
    auto first = open();
    EXPECT_EQ(EntryWindow::BringForward(m_dir.filePath("x/../klass")), first.get());
    typeRow({"Иванова Анна", "ж", "118"});
    while (first->journalPending())
        QTest::qWait(10);
    {
        // What another program gets: the lock is held, the journal left alone.
        EntryWindow second(stage(), nullptr, m_journals.path());
        EXPECT_TRUE(second.refusal().contains(QString::number(QCoreApplication::applicationPid())));
        EXPECT_TRUE(second.close());
    }
    EXPECT_EQ(EntryJournal(stage(), m_journals.path()).read().rows.size(), 1);
    first->askUnsaved = [] { return EntryWindow::UnsavedAnswer::Discard; };
}

// Cleared, a file's row is restored from it or its file removed: asked, and never left unsaved.
TEST_F(EntryWindowTest, ClearedRowOfAFileIsRestoredOrItsFileRemovedWhenSaying)
{
    for (const int answer : {0, 1}) {
        QDir(stage()).removeRecursively();
        QDir().mkpath(stage());
        WriteRecordFile(QDir(stage()).filePath("Иванова Анна.vnl"), kAnna, nullptr);
        auto window = open();
        for (int column = M::ColName; column < M::FirstResultColumn; ++column)
            window->model()->setData(window->model()->index(0, column), QString());
        questions.clear();
        rowsAnswer = answer;
        EXPECT_TRUE(saved(*window, [&] { window->save(); })) << answer;
        EXPECT_EQ(questions.size(), 1) << answer;
        EXPECT_EQ(files().size(), answer == 0 ? 1 : 0) << answer;
        EXPECT_EQ(window->model()->rows().size(), answer == 0 ? 1 : 0) << answer;
        EXPECT_FALSE(window->model()->hasUnsavedRows()) << answer;
    }
}

TEST_F(EntryWindowTest, TypedRowsAreSavedIntoAnotherFolderWhichTheWindowThenServes)
{
    auto window = open();
    typeRow({"Иванова Анна", "ж", "118", "76", "72", "54", "162", "15"});
    const QString other = m_dir.filePath("other");
    window->dialogs.chooseFolder = [&] { return other; };
    ASSERT_TRUE(saved(*window, [&] { window->findChild<QAction*>("actionSaveElsewhere")->trigger(); }));
    EXPECT_EQ(QDir(other).entryList(QDir::Files), QStringList{"Иванова Анна.vnl"});
    EXPECT_TRUE(files().isEmpty());
    EXPECT_EQ(EntryWindow::BringForward(other), window.get());
}

// 500 rows: the question still fits a small screen, and Enter takes the default, not the
// button that would write second files.
TEST(RowsQuestionDialog, ManyRowsFitTheScreenAndEnterTakesTheDefault)
{
    QStringList rows;
    for (int i = 1; i <= 500; ++i)
        rows << QStringLiteral("Строка %1 (Ученик %1): файл «Ученик %1.vnl» уже занят").arg(i);
    for (const auto& [key, expected] : {std::pair{Qt::Key_Return, 1}, std::pair{Qt::Key_Escape, 0}}) {
        QTimer::singleShot(0, [key = key] {
            QWidget* dialog = QApplication::activeModalWidget();
            ASSERT_NE(dialog, nullptr);
            const QRect screen = dialog->screen()->availableGeometry();
            EXPECT_LE(dialog->frameGeometry().height(), screen.height());
            for (const QPushButton* button : dialog->findChildren<QPushButton*>())
                EXPECT_TRUE(screen.contains(QRect(button->mapToGlobal(QPoint()), button->size()))) << button->text().toStdString();
            QTest::keyClick(dialog, key);
        });
        EXPECT_EQ(AskAboutRows(nullptr, {"?", rows, {"Пропустить", "Заменить", "Сохранить рядом"}, 1, 0}), expected);
    }
}

} // namespace
