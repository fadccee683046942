#pragma once

#include "commandline/ProgramCommandLine.h"
#include "reports/ExportFile.h"
#include "summary/RecordFileScan.h"
#include "summary/SummaryRow.h"

#include <QStringList>
#include <QTextStream>

#include <atomic>

// What the program was asked to do: the window with paths already read, or, with --csv OUT and/or
// --pdf OUT, an export for scripts that needs no window.
struct CommandLineRequest
{
    enum class Action { Window, Export, ShowHelp, ShowVersion, Fail };

    Action action = Action::Window;
    QString csvPath;
    QString pdfPath;
    bool anonymised = false; // --anonymise: codes in place of names, no file names or paths
    QString keyPath;         // --key: the codes' key, in a file of its own
    QStringList paths;
    QString enterFolder; // --enter: the stage folder whose entry table opens instead
    QString text; // the help, the version, or why the line was refused
};

enum ExitCode { ExitAllRead = 0, ExitSomeSkipped = 1, ExitUsage = 2 };

// Parses the arguments (the first is the program) the way vornale-lite does, the toolkit's window
// options included. Needs no application object.
CommandLineRequest ParseCommandLine(const QStringList& arguments);

// Reads the group, writes the outputs, prints the counts to `out` (to `err` when an output goes to
// standard output) and every skipped file or folder with its reason to `err`. The outputs appear
// together or not at all. Once `cancel` is set before they are in place it stops, writes nothing
// more, leaves earlier outputs as they were and returns ExitCancelled.
int RunExport(const CommandLineRequest& request, QTextStream& out, QTextStream& err,
              const std::atomic<bool>* cancel = nullptr);

enum class ExportOutcome { Placed, Failed, Cancelled };
// Writes one run's outputs together (reports/ExportFile.h) and names each that failed on `err`,
// unless the run was cancelled.
ExportOutcome WriteOutputs(const QList<Export>& exports, QTextStream& err, const std::atomic<bool>* cancel);
// True when one of the outputs goes to standard output, which then carries nothing else.
bool ExportsTakeStandardOutput(const QList<Export>& exports);

// Everything but the window: prints the help, the version or the usage error, or exports, with
// SIGINT and SIGTERM cancelling the export. Returns the exit code.
int RunCommandLine(const CommandLineRequest& request, QTextStream& out, QTextStream& err);
// The same from the arguments, a comparison (--compare) included.
int RunCommandLine(const QStringList& arguments, QTextStream& out, QTextStream& err);

// Exit code after a cancelled export.
constexpr int ExitCancelled = 130;

// The group program's command line with its help and version options, as each of its forms
// (summary, comparison, groups) reads them; the help is in Russian and names the program.
ProgramCommandLine GroupProgramCommandLine(const QString& description);
// Reads `arguments` with `commandLine`: false with `error` set when they are wrong; true, with
// `shown` set, when the help or the version went to `out` and nothing else is to be done.
bool ReadCommandLine(ProgramCommandLine& commandLine, const QStringList& arguments, QString& error, bool& shown,
                     QTextStream& out);

bool Cancelled(const std::atomic<bool>* cancel);

// The record files found under the paths, each assessed as the summary does; stops once `cancel` is set.
struct AssessedPaths
{
    RecordFileList list;
    SummaryRows rows;
};
AssessedPaths AssessPaths(const QStringList& paths, const std::atomic<bool>* cancel);
