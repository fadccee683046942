#pragma once

#include "core/RegionalSettings.h"
#include "summary/SummaryCounts.h"
#include "reports/NamesFreeExport.h"
#include "reports/TableReport.h"

#include <QDateTime>
#include <QPageLayout>
#include <QString>
#include <QStringList>

class QPagedPaintDevice;

// What the printed report says about where the group came from. Made where the report is asked
// for, so the decimal separator is read there and not on the thread that draws.
struct ReportHeading
{
    QStringList sources; // the folders and files chosen; left out of a report without names
    QDateTime made = QDateTime::currentDateTime();
    QChar decimal = regionalSettings().decimalSeparator();
    bool namesFree = false; // the rows are NamesFreeRow's: no source, no file column
};

// A level cell's fill in print: the level's light tint and a mark of its own, so the level reads
// in black-and-white too. In kAllLevels' order; LevelFill gives a level's index among them.
QList<CellFill> LevelCellFills();
int LevelFill(AdaptationLevel level);

// The group's name for the running head: the one folder's (or file's) name, else the names of
// the sources, the first few of them.
QString ReportGroupName(const QStringList& sources);

// The report as a table to print: a heading with the counts and their shares, the levels' legend,
// one row per file with exactly the texts the table shows (paths relative to the one folder).
TableReport BuildSummaryReport(const SummaryRows& rows, const ReportHeading& heading);

// A4 landscape with 12 mm margins: what a PDF gets and what the print dialog is offered first.
QPageLayout SummaryReportPageLayout();

// Draws the report on a page device (a PDF writer or a printer) as it is set up. False when the
// device could not be painted on or `progress` stopped it.
bool PrintSummaryReport(const SummaryRows& rows, const ReportHeading& heading, QPagedPaintDevice& device,
                        const PageProgress& progress = {});

// Writes the report as a PDF into `out`. Empty text on success, else the reason.
QString WriteSummaryPdf(QIODevice& out, const SummaryRows& rows, const ReportHeading& heading,
                        const PageProgress& progress = {});
// The same as an export to `path` (reports/ExportFile.h): when it fails or `progress` stops it, an
// earlier file stays as it was and no temporary file is left.
QString WriteSummaryPdf(const QString& path, const SummaryRows& rows, const ReportHeading& heading,
                        const PageProgress& progress = {});

// The rows an export without names holds: each under a code of `codes` (indexed as `rows`), in
// the codes' order, so the rows' order tells nothing of the names either.
SummaryRows NamesFreeRows(const SummaryRows& rows, const PersonCodes& codes);
