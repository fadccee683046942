// A file named on the command line gets exactly what the Open command gives it once the
// examiner has chosen that file: the same fields, results, windows and failures.
#include "tests/app/MainWindowTestSupport.h"

#include "core/ApplicationErrors.h"
#include "tests/app/RowName.h"
#include "tests/support/ModalWatch.h"

#include <QDir>
#include <QFile>
#include <QStatusBar>
#include <functional>
#include <sys/stat.h>

namespace apptest {
namespace {

// Collects the failures that reach the application's reporter instead of showing a message box.
class CollectedFailures
{
public:
    CollectedFailures()
        : m_previous(SetApplicationExceptionReporter(
            [this](const std::exception& e) { messages << QString::fromUtf8(e.what()); }))
    {
    }
    ~CollectedFailures() { SetApplicationExceptionReporter(std::move(m_previous)); }
    QStringList messages;

private:
    ApplicationExceptionReporter m_previous;
};

QByteArray WorkedExample(const QByteArray& header = "Vornale 5", const QByteArray& name = "\xC8\xE2\xE0\xED\xEE\xE2")
{
    return header + "\r\n" + name + "\r\n120\r\n80\r\n70\r\n0\r\n70\r\n175\r\n30\r\n";
}

struct StartUpCase
{
    const char* name;
    // Makes the file in the test's folder and returns its path.
    std::function<QString(MainWindowTest&)> make;
    bool modal; // a modal window (read error or input error) is expected
    bool found;
};

const StartUpCase startUpCases[] = {
    {"WorkedExample", [](MainWindowTest& t) { return t.writeFile("subject.vnl", WorkedExample()); }, false, true},
        // The calculation then runs on the start state's zeros and rejects them.
    {"HeaderOnly", [](MainWindowTest& t) { return t.writeFile("header.vnl", "Vornale 5"); }, true, true},
    {"ShortFile", [](MainWindowTest& t) { return t.writeFile("short.vnl", "Vornale 5\r\nA\r\n130\r\n"); }, true, true},
    {"BadHeader", [](MainWindowTest& t) { return t.writeFile("bad.vnl", WorkedExample("vornale 5")); }, true, true},
    {"EmptyFile", [](MainWindowTest& t) { return t.writeFile("empty.vnl", ""); }, true, true},
    {"UnacceptableValues",
     [](MainWindowTest& t) { return t.writeFile("letters.vnl", "Vornale 5\r\nA\r\nabc\r\n80\r\n"); }, true, true},
    {"Binary",
     [](MainWindowTest& t) {
         QByteArray bytes;
         for (int i = 0; i < 4096; ++i)
             bytes.append(char((i * 151 + 7) % 256));
         return t.writeFile("binary.vnl", bytes);
     },
     true, true},
    {"BinaryAfterHeader",
     [](MainWindowTest& t) { return t.writeFile("binhead.vnl", QByteArray("Vornale 5\r\n\0\x01\xFF\r\n\x1A\x80", 16)); },
     true, true},
    {"HugeNameLine",
     [](MainWindowTest& t) { return t.writeFile("huge.vnl", WorkedExample("Vornale 5", QByteArray(100000, 'x'))); },
     false, true},
    {"Unreadable",
     [](MainWindowTest& t) {
         // As root the file is still read; either way both roads must end alike.
         const QString path = t.writeFile("locked.vnl", WorkedExample());
         QFile::setPermissions(path, QFileDevice::Permissions());
         return path;
     },
     false, true},
    {"Folder",
     [](MainWindowTest& t) {
         QDir().mkpath(t.pathOf("folder.vnl"));
         return t.pathOf("folder.vnl");
     },
     false, true},
    {"Fifo",
     [](MainWindowTest& t) {
         const QString path = t.pathOf("pipe.vnl");
         EXPECT_EQ(::mkfifo(QFile::encodeName(path).constData(), 0600), 0);
         return path;
     },
     false, true},
    {"Missing", [](MainWindowTest& t) { return t.pathOf("not-there.vnl"); }, false, false},
};

class StartUpFileTest : public MainWindowTest, public ::testing::WithParamInterface<StartUpCase>
{
protected:
    // Everything the examiner could see after one road, in one comparable list.
    QStringList outcome(const std::function<void()>& road)
    {
        CollectedFailures failures;
        ErrorWindowSeen seen;
        if (GetParam().modal)
            expectErrorWindow(seen);
        const int soundsBefore = soundStarts();
        road();
        runUntilIdle();
        QStringList state;
        for (int n = 1; n <= 12; ++n)
            state << QStringLiteral("AdvEdit%1=%2").arg(n).arg(edit(n)->text().left(40));
        state << QStringLiteral("male=%1").arg(radio(1)->isChecked());
        state << QStringLiteral("level=") + levelLabel()->text() << QStringLiteral("balance=") + label("Label15")->text();
        state << QStringLiteral("bar=%1").arg(bar()->position());
        state << QStringLiteral("saveEnabled=%1").arg(saveEnabled());
        state << QStringLiteral("modal=%1 %2 %3").arg(seen.shown).arg(seen.heading, seen.message);
        state << QStringLiteral("sounds=%1").arg(soundStarts() - soundsBefore);
        state << QStringLiteral("failures=") + failures.messages.join(QLatin1Char('|'));
        state << QStringLiteral("focus=") + (focused() ? focused()->objectName() : QString());
        return state;
    }
};

TEST_P(StartUpFileTest, SameAsOpenCommand)
{
    const QString path = GetParam().make(*this);
    bool found = false;
    const QStringList atStartUp = outcome([&] { found = form().openFileFromCommandLine(path); });
    EXPECT_EQ(found, GetParam().found);

    trigger("AcNew");
    files->openAnswers << path;
    const QStringList fromOpen = outcome([&] { trigger("AcOpen"); });

    EXPECT_EQ(atStartUp.join(QLatin1Char('\n')).toStdString(), fromOpen.join(QLatin1Char('\n')).toStdString());
}

INSTANTIATE_TEST_SUITE_P(Files, StartUpFileTest, ::testing::ValuesIn(startUpCases), RowName());

TEST_F(MainWindowTest, StartUpWithWorkedExampleShowsItsResults)
{
    const QString path = writeFile("subject.vnl", WorkedExample());
    EXPECT_TRUE(form().openFileFromCommandLine(path));
    EXPECT_EQ(edit(1)->text(), "Иванов");
    EXPECT_EQ(edit(12)->text(), "2,30");
    EXPECT_EQ(edit(10)->text(), "71");
    EXPECT_EQ(bar()->position(), 57);
    EXPECT_FALSE(saveEnabled());
    EXPECT_EQ(statusText(), "");
}

TEST_F(MainWindowTest, StartUpWithMissingFileSaysSoInStatusBarAndKeepsStartState)
{
    const QString path = pathOf("not-there.vnl");
    EXPECT_FALSE(form().openFileFromCommandLine(path));
    EXPECT_EQ(form().findChild<QStatusBar*>()->currentMessage(), "Файл не найден: " + QDir::toNativeSeparators(path));
    EXPECT_EQ(edit(2)->text(), "0");
    EXPECT_EQ(bar()->position(), 0);
    EXPECT_FALSE(saveEnabled());
}

} // namespace
} // namespace apptest
