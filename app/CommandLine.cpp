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
        QStringLiteral("Vornale Lite: оценка адаптации по артериальному давлению, пульсу, полу, весу, росту и "
                       "возрасту."),
        QCommandLineOption({QStringLiteral("h"), QStringLiteral("help"), QStringLiteral("?")},
                           QStringLiteral("Показать эту справку.")),
        QCommandLineOption({QStringLiteral("v"), QStringLiteral("version")}, QStringLiteral("Показать версию.")));
    commandLine.addPositionalArgument(QStringLiteral("ФАЙЛ"),
                                      QStringLiteral("Файл записи (.vnl), который открыть при запуске."),
                                      QStringLiteral("[ФАЙЛ]"));
    QCommandLineParser& parser = commandLine.parser();

    CommandLine result;
    const auto fail = [&](const QString& error) {
        result.action = CommandLine::Action::Fail;
        result.exitCode = kUsageExitCode;
        result.output = error + QLatin1Char('\n') + commandLine.helpText();
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
        return fail(QStringLiteral("Слишком много аргументов: можно указать только один ФАЙЛ."));
    if (!files.isEmpty())
        result.file = files.front();
    return result;
}
