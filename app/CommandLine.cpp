#include "app/CommandLine.h"

#include <QCommandLineParser>
#include <QCoreApplication>

namespace {

// Exit code for a command line the program does not understand, as for any misused command.
constexpr int kUsageExitCode = 2;

// Options the toolkit's application objects take from the command line themselves. They are
// declared, hidden, only so that they are not refused as unknown.
void AddToolkitOptions(QCommandLineParser& parser)
{
    const char* const withValue[] = {"platform", "platformpluginpath", "platformtheme", "plugin", "qwindowgeometry",
                                     "geometry", "qwindowicon", "icon", "qwindowtitle", "title", "session", "display",
                                     "name", "style", "stylesheet", "qmljsdebugger"};
    const char* const flags[] = {"reverse", "widgetcount", "nograb", "dograb", "sync"};
    for (const char* name : withValue) {
        QCommandLineOption option(QString::fromLatin1(name), QString(), QStringLiteral("value"));
        option.setFlags(QCommandLineOption::HiddenFromHelp);
        parser.addOption(option);
    }
    for (const char* name : flags) {
        QCommandLineOption option(QString::fromLatin1(name));
        option.setFlags(QCommandLineOption::HiddenFromHelp);
        parser.addOption(option);
    }
}

} // namespace

CommandLine ParseCommandLine(const QStringList& arguments)
{
    QCommandLineParser parser;
    // The toolkit's options are single-dash words (-platform), so -h and -v are words too.
    parser.setSingleDashWordOptionMode(QCommandLineParser::ParseAsLongOptions);
    parser.setApplicationDescription(
        QStringLiteral("Assesses adaptation from blood pressure, pulse, sex, weight, height and age."));
    const QCommandLineOption help = parser.addHelpOption();
    const QCommandLineOption version = parser.addVersionOption();
    parser.addPositionalArgument(QStringLiteral("FILE"), QStringLiteral("A record file (.vnl) to open at start-up."),
                                 QStringLiteral("[FILE]"));
    AddToolkitOptions(parser);

    CommandLine result;
    const auto fail = [&](const QString& error) {
        result.action = CommandLine::Action::Fail;
        result.exitCode = kUsageExitCode;
        result.output = error + QLatin1Char('\n') + parser.helpText();
        return result;
    };
    if (!parser.parse(arguments))
        return fail(parser.errorText());
    // --help-all (added with the help option) lists the same: the toolkit's options stay hidden.
    if (parser.isSet(help) || parser.isSet(QStringLiteral("help-all"))) {
        result.action = CommandLine::Action::ShowHelp;
        result.output = parser.helpText();
        return result;
    }
    if (parser.isSet(version)) {
        result.action = CommandLine::Action::ShowVersion;
        result.output = QCoreApplication::applicationName() + QLatin1Char(' ')
                        + QCoreApplication::applicationVersion() + QLatin1Char('\n');
        return result;
    }
    const QStringList files = parser.positionalArguments();
    if (files.size() > 1)
        return fail(QStringLiteral("Too many arguments: give at most one FILE."));
    if (!files.isEmpty())
        result.file = files.front();
    return result;
}
