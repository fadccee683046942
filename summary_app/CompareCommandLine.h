#pragma once

#include <atomic>

#include <QStringList>
#include <QTextStream>

// The comparison's command line: --compare STAGE STAGE…, each a folder or a record file, with
// --label (once per stage, in the order given), --csv, --pdf, --anonymise and --key (the codes'
// key, only with --anonymise).
struct CompareRequest
{
    QStringList stagePaths;
    QStringList labels;
    QString csvPath;
    QString pdfPath;
    QString jsonPath; // the stage figures and tests for scripts
    bool anonymised = false;
    QString keyPath;
};

// True when the arguments ask for a comparison.
bool IsCompareRequest(const QStringList& arguments);

// Parses the arguments (the first is the program). On a usage error returns false and says why
// in `error`; `helpShown` tells that the help was printed to `out` instead.
bool ParseCompareCommandLine(const QStringList& arguments, CompareRequest& request, QString& error,
                             bool& helpShown, QTextStream& out);

// Compares the stages, writes the outputs, prints the group figures to `out` and every skipped
// file or folder with its reason to `err`. Returns the summary's exit codes.
int RunCompare(const CompareRequest& request, QTextStream& out, QTextStream& err,
               const std::atomic<bool>* cancel = nullptr);

// Parse, then compare. Returns the exit code.
int RunCompareCommandLine(const QStringList& arguments, QTextStream& out, QTextStream& err);

// True for a comparison that asks for no export: the window opens on its stages instead.
bool CompareWantsWindow(const QStringList& arguments, CompareRequest& request);
