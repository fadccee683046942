#pragma once

#include <QStringList>
#include <QTextStream>

// The program's command line for scripts: --csv OUT and/or --pdf OUT, then files and folders.
struct CommandLineRequest
{
    QString csvPath;
    QString pdfPath;
    QStringList paths;
    bool exports() const { return !csvPath.isEmpty() || !pdfPath.isEmpty(); }
};

enum ExitCode { ExitAllRead = 0, ExitSomeSkipped = 1, ExitUsage = 2 };

// The stage folder of `--enter FOLDER` (or `--enter=FOLDER`), which opens the entry table; empty
// when the arguments do not ask for it.
QString EnterFolder(const QStringList& arguments);

// True when the arguments ask for an export (or help/version), which needs no window.
bool WantsCommandLine(const QStringList& arguments);

// True when the arguments ask for the PDF report, which needs a GUI application (not a display).
bool NeedsPainting(const QStringList& arguments);

// Parses the arguments (the first is the program). On a usage error returns false and says why
// in `error`. `helpShown` tells that the help or the version was printed to `out` instead.
bool ParseCommandLine(const QStringList& arguments, CommandLineRequest& request, QString& error, bool& helpShown,
                      QTextStream& out);

// Reads the group, writes the outputs, prints the counts to `out` and every skipped file or
// folder with its reason to `err`. Returns the exit code.
int RunExport(const CommandLineRequest& request, QTextStream& out, QTextStream& err);

// The whole command line: parse, then export. Returns the exit code.
int RunCommandLine(const QStringList& arguments, QTextStream& out, QTextStream& err);
