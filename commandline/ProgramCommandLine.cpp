#include "commandline/ProgramCommandLine.h"

#include <QCoreApplication>

#include <algorithm>

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
    : m_program(program), m_description(description), m_help(help), m_version(version)
{
    m_parser.setSingleDashWordOptionMode(QCommandLineParser::ParseAsLongOptions);
    m_parser.setApplicationDescription(description);
    addOption(m_help);
    QCommandLineOption helpAll(QStringLiteral("help-all"));
    helpAll.setFlags(QCommandLineOption::HiddenFromHelp);
    addOption(helpAll);
    addOption(m_version);
    AddToolkitOptions(m_parser);
}

void ProgramCommandLine::addOption(const QCommandLineOption& option)
{
    m_parser.addOption(option);
    if (!(option.flags() & QCommandLineOption::HiddenFromHelp))
        m_shownOptions.append(option);
}

void ProgramCommandLine::addPositionalArgument(const QString& name, const QString& description, const QString& syntax)
{
    m_parser.addPositionalArgument(name, description, syntax);
    m_arguments.append({name, description, syntax.isEmpty() ? name : syntax});
}

QString ProgramCommandLine::helpText() const
{
    // Laid out as the toolkit lays out its own: names on the left, descriptions in one column.
    QList<QPair<QString, QString>> optionRows;
    for (const QCommandLineOption& option : m_shownOptions) {
        QStringList names;
        for (const QString& name : option.names())
            names << (name.size() == 1 ? QStringLiteral("-") : QStringLiteral("--")) + name;
        QString left = names.join(QStringLiteral(", "));
        if (!option.valueName().isEmpty())
            left += QStringLiteral(" <") + option.valueName() + QLatin1Char('>');
        optionRows.append({left, option.description()});
    }
    QList<QPair<QString, QString>> argumentRows;
    for (const Argument& argument : m_arguments)
        argumentRows.append({argument.name, argument.description});
    qsizetype width = 0;
    for (const auto& rows : {optionRows, argumentRows})
        for (const auto& row : rows)
            width = std::max(width, row.first.size());

    QString usage = QStringLiteral("Использование: ") + m_program;
    if (!optionRows.isEmpty())
        usage += QStringLiteral(" [параметры]");
    for (const Argument& argument : m_arguments)
        usage += QLatin1Char(' ') + argument.syntax;
    QString text = usage + QLatin1Char('\n') + m_description + QLatin1Char('\n');
    const auto section = [&](const QString& heading, const QList<QPair<QString, QString>>& rows) {
        if (rows.isEmpty())
            return;
        text += QLatin1Char('\n') + heading + QLatin1Char('\n');
        for (const auto& [left, description] : rows)
            text += QStringLiteral("  ") + left.leftJustified(width) + QStringLiteral("  ") + description + QLatin1Char('\n');
    };
    section(QStringLiteral("Параметры:"), optionRows);
    section(QStringLiteral("Аргументы:"), argumentRows);
    return text;
}

ProgramCommandLine::Outcome ProgramCommandLine::parse(const QStringList& arguments)
{
    if (!m_parser.parse(arguments)) {
        m_text = m_parser.errorText();
        return Outcome::Fail;
    }
    if (m_parser.isSet(m_help) || m_parser.isSet(QStringLiteral("help-all"))) {
        m_text = helpText();
        return Outcome::ShowHelp;
    }
    if (m_parser.isSet(m_version)) {
        m_text = m_program + QLatin1Char(' ') + QCoreApplication::applicationVersion() + QLatin1Char('\n');
        return Outcome::ShowVersion;
    }
    m_text.clear();
    return Outcome::Run;
}
