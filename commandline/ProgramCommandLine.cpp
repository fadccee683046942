#include "commandline/ProgramCommandLine.h"

#include <QCoreApplication>

namespace {

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

ProgramCommandLine::ProgramCommandLine(const QString& program, const QString& description,
                                       const QCommandLineOption& help, const QCommandLineOption& version)
    : m_program(program), m_help(help), m_version(version)
{
    m_parser.setSingleDashWordOptionMode(QCommandLineParser::ParseAsLongOptions);
    m_parser.setApplicationDescription(description);
    m_parser.addOption(m_help);
    QCommandLineOption helpAll(QStringLiteral("help-all"));
    helpAll.setFlags(QCommandLineOption::HiddenFromHelp);
    m_parser.addOption(helpAll);
    m_parser.addOption(m_version);
    AddToolkitOptions(m_parser);
}

ProgramCommandLine::Outcome ProgramCommandLine::parse(const QStringList& arguments)
{
    if (!m_parser.parse(arguments)) {
        m_text = m_parser.errorText();
        return Outcome::Fail;
    }
    if (m_parser.isSet(m_help) || m_parser.isSet(QStringLiteral("help-all"))) {
        m_text = m_parser.helpText();
        return Outcome::ShowHelp;
    }
    if (m_parser.isSet(m_version)) {
        m_text = m_program + QLatin1Char(' ') + QCoreApplication::applicationVersion() + QLatin1Char('\n');
        return Outcome::ShowVersion;
    }
    m_text.clear();
    return Outcome::Run;
}
