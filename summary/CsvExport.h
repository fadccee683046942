#pragma once

#include "summary/SummaryColumns.h"
#include "summary/SummaryRow.h"
#include "reports/CsvFile.h"

#include <QByteArray>
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

// Writes the header and every row through a temporary file that replaces `path` only when all
// of it is written, so a failed export leaves an earlier file as it was. `rowAt(i)` gives row i
// of `count`. Returns an empty text on success, else the reason. Once `cancel` is set nothing
// replaces the file. `namesFree`: the rows are NamesFreeRow's, and the file column is left out.
QString WriteSummaryCsv(const QString& path, qsizetype count, const std::function<const SummaryRow&(qsizetype)>& rowAt,
                        const std::atomic<bool>* cancel = nullptr, bool namesFree = false);
QString WriteSummaryCsv(const QString& path, const SummaryRows& rows, const std::atomic<bool>* cancel = nullptr,
                        bool namesFree = false);
