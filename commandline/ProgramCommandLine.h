#pragma once

#include <QCommandLineOption>
#include <QCommandLineParser>
#include <QList>
#include <QString>
#include <QStringList>

// How both programs read their command lines. Single-dash words are long options, as the toolkit
// reads its own: its window options (-style fusion, -platform offscreen, ...) are accepted, hidden
// from the help and left to the application object, and -h and -v are words too. Needs no
// application object.
class ProgramCommandLine
{
public:
    enum class Outcome { Run, ShowHelp, ShowVersion, Fail };

    // `program` names the program in the version line; `help` and `version` are the two options
    // as its help presents them (--help-all, hidden, asks for the help too).
    ProgramCommandLine(const QString& program, const QString& description, const QCommandLineOption& help,
                       const QCommandLineOption& version);

    // The program's own options and arguments, added before parse(); the help lists them.
    void addOption(const QCommandLineOption& option);
    void addPositionalArgument(const QString& name, const QString& description, const QString& syntax);
    // Read after parse().
    QCommandLineParser& parser() { return m_parser; }
    // The help in Russian, naming the program: the toolkit's own help is English unless its
    // translations are loaded, and names no program before an application object exists.
    QString helpText() const;

    // Help wins over the version, and the version over everything else on the line.
    Outcome parse(const QStringList& arguments);
    // After Fail the parser's error, after ShowHelp the help, after ShowVersion "PROGRAM VERSION\n".
    const QString& text() const { return m_text; }

private:
    struct Argument
    {
        QString name, description, syntax;
    };

    QString m_program;
    QString m_description;
    QList<QCommandLineOption> m_shownOptions;
    QList<Argument> m_arguments;
    QCommandLineParser m_parser;
    QCommandLineOption m_help;
    QCommandLineOption m_version;
    QString m_text;
};
