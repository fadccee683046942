#pragma once

#include <QString>
#include <QStringList>
#include <optional>

// What the program was asked to do on its command line: vornale-lite [options] [FILE].
struct CommandLine
{
    enum class Action { Run, ShowHelp, ShowVersion, Fail };

    Action action = Action::Run;
    std::optional<QString> file; // the record file to open at start-up, when one was given
    QString output;              // help or version text for standard output, or the error and usage for standard error
    int exitCode = 0;
};

// Parses the program's arguments (the first is the program itself). The toolkit's own window
// options (-platform, -style, ...) are accepted and left to the application object. Needs an
// application object for the program's name and version, not a display.
CommandLine ParseCommandLine(const QStringList& arguments);
