#pragma once

#include "groups/Grouping.h"

#include <QStringList>
#include <QTextStream>

#include <atomic>

// The groups' command line: --by folder|sex|age[,…] PATH…, with --age-bands, --label (once per
// path, in the order given), --csv, --pdf, --json and --anonymise.
struct GroupsRequest
{
    QStringList paths;
    QStringList labels;
    Grouping grouping;
    QString csvPath;
    QString pdfPath;
    QString jsonPath;
    bool anonymised = false;
};

// True when the arguments ask for groups (--by).
bool IsGroupsRequest(const QStringList& arguments);

// Parses the arguments (the first is the program). On a usage error returns false and says why
// in `error`; `helpShown` tells that the help was printed to `out` instead.
bool ParseGroupsCommandLine(const QStringList& arguments, GroupsRequest& request, QString& error, bool& helpShown,
                            QTextStream& out);

// Reads the paths as the summary does, groups the rows, writes the outputs, prints the groups and
// the tests to `out` and every skipped file or folder with its reason to `err`. Returns the
// summary's exit codes; once `cancel` is set it stops, leaving earlier outputs as they were.
int RunGroups(const GroupsRequest& request, QTextStream& out, QTextStream& err,
              const std::atomic<bool>* cancel = nullptr);

// Parse, then group, with SIGINT and SIGTERM cancelling. Returns the exit code.
int RunGroupsCommandLine(const QStringList& arguments, QTextStream& out, QTextStream& err);

