#pragma once

#include "summary/SummaryCounts.h"

#include <QDateTime>
#include <QString>
#include <QStringList>

#include <atomic>

class QPagedPaintDevice;
class QTextDocument;

// What the printed report says about where the group came from.
struct ReportHeading
{
    QStringList sources; // the folders and files chosen
    QDateTime made = QDateTime::currentDateTime();
};

// The A4 report: title, date, sources, counts with the bar chart, then the table.
// The caller owns the document.
QTextDocument* BuildSummaryReport(const SummaryRows& rows, const ReportHeading& heading);

// Lays the report out on a page device (a PDF writer or a printer).
void PrintSummaryReport(const SummaryRows& rows, const ReportHeading& heading, QPagedPaintDevice& device);

// Writes the report as a PDF that replaces `path` only once complete. Empty text on success.
// Once `cancel` is set nothing replaces the file.
QString WriteSummaryPdf(const QString& path, const SummaryRows& rows, const ReportHeading& heading,
                        const std::atomic<bool>* cancel = nullptr);
