#pragma once

#include "summary/SummaryColumns.h"
#include "summary/SummaryRow.h"
#include "reports/CsvFile.h"

#include <QByteArray>
#include <QIODevice>
#include <QChar>
#include <QString>
#include <QStringList>

#include <atomic>
#include <functional>
#include <span>
#include <vector>

// The summary's rows as CSV (reports/CsvFile.h says how the file is written).

// The column captions, shared by the table, the CSV and the report.
const SummaryCells& SummaryColumnCaptions();
// The cells of one row, as shown (numbers with the regional decimal separator).
SummaryCells SummaryRowCells(const SummaryRow& row);

// The columns an export holds, in order: all of them, or without names the file's left out.
std::vector<SummaryColumn> ExportedSummaryColumns(bool namesFree);
// A column's caption in an export: without names the name column holds codes.
QString ExportedSummaryCaption(SummaryColumn column, bool namesFree);

// Writes the header and every row into `out`; `rowAt(i)` gives row i of `count`. Returns an empty
// text on success, else the reason. `namesFree`: the rows are NamesFreeRow's, and the file column
// is left out.
QString WriteSummaryCsv(QIODevice& out, qsizetype count, const std::function<const SummaryRow&(qsizetype)>& rowAt,
                        const std::atomic<bool>* cancel = nullptr, bool namesFree = false);
QString WriteSummaryCsv(QIODevice& out, const SummaryRows& rows, const std::atomic<bool>* cancel = nullptr,
                        bool namesFree = false);
// The same as an export to `path` (reports/ExportFile.h): a failed or cancelled one leaves an
// earlier file as it was.
QString WriteSummaryCsv(const QString& path, qsizetype count, const std::function<const SummaryRow&(qsizetype)>& rowAt,
                        const std::atomic<bool>* cancel = nullptr, bool namesFree = false);
QString WriteSummaryCsv(const QString& path, const SummaryRows& rows, const std::atomic<bool>* cancel = nullptr,
                        bool namesFree = false);
