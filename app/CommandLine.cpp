#include "app/CommandLine.h"

#include "commandline/ProgramCommandLine.h"

#include <QCoreApplication>

namespace {

// Exit code for a command line the program does not understand, as for any misused command.
constexpr int kUsageExitCode = 2;

} // namespace

CommandLine ParseCommandLine(const QStringList& arguments)
{
    ProgramCommandLine commandLine(
        QCoreApplication::applicationName(),
        QStringLiteral("Assesses adaptation from blood pressure, pulse, sex, weight, height and age."),
        QCommandLineOption({QStringLiteral("h"), QStringLiteral("help"), QStringLiteral("?")},
                           QStringLiteral("Displays help on commandline options.")),
        QCommandLineOption({QStringLiteral("v"), QStringLiteral("version")},
                           QStringLiteral("Displays version information.")));
    QCommandLineParser& parser = commandLine.parser();
    parser.addPositionalArgument(QStringLiteral("FILE"), QStringLiteral("A record file (.vnl) to open at start-up."),
                                 QStringLiteral("[FILE]"));

    CommandLine result;
    const auto fail = [&](const QString& error) {
        result.action = CommandLine::Action::Fail;
        result.exitCode = kUsageExitCode;
        result.output = error + QLatin1Char('\n') + parser.helpText();
        return result;
    };
    switch (commandLine.parse(arguments)) {
    case ProgramCommandLine::Outcome::Fail:
        return fail(commandLine.text());
    case ProgramCommandLine::Outcome::ShowHelp:
        result.action = CommandLine::Action::ShowHelp;
        result.output = commandLine.text();
        return result;
    case ProgramCommandLine::Outcome::ShowVersion:
        result.action = CommandLine::Action::ShowVersion;
        result.output = commandLine.text();
        return result;
    case ProgramCommandLine::Outcome::Run:
        break;
    }
    const QStringList files = parser.positionalArguments();
    if (files.size() > 1)
        return fail(QStringLiteral("Too many arguments: give at most one FILE."));
    if (!files.isEmpty())
        result.file = files.front();
    return result;
}
