#pragma once

#include "reports/ExportFile.h"

#include <QByteArray>
#include <QChar>
#include <QString>
#include <QStringList>

#include <atomic>
#include <functional>
#include <span>

// The CSV that Russian spreadsheets open as it is: UTF-8 with a byte-order mark, ";" between
// fields, the regional decimal separator in numbers, CR LF line ends, RFC 4180 quoting.

// True for a number as the program writes one: optional "-", digits, optionally the decimal
// separator and digits. Such a cell stays a number; a spreadsheet reads "-14" as minus 14.
bool IsPlainNumber(const QString& text, QChar decimal);

// One field: a text a spreadsheet would take for a formula (first character = + - @ tab CR) is
// led by an apostrophe so it stays text; plain numbers are left alone; then quoted when it holds
// ";", a quote, CR or LF.
QString CsvField(const QString& text, QChar decimal);

QByteArray CsvLine(std::span<const QString> cells, QChar decimal);

// Writes the captions and `count` lines of cells into `out`. Returns an empty text on success,
// else the reason (CancelledReason() once `cancel` is set).
QString WriteCsv(QIODevice& out, const QStringList& captions, qsizetype count,
                 const std::function<QStringList(qsizetype)>& cellsAt, const std::atomic<bool>* cancel = nullptr);
// The same as an export to `path` (reports/ExportFile.h): a failed or cancelled one leaves an
// earlier file as it was.
QString WriteCsvFile(const QString& path, const QStringList& captions, qsizetype count,
                     const std::function<QStringList(qsizetype)>& cellsAt, const std::atomic<bool>* cancel = nullptr);
