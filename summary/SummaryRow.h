#pragma once

#include "core/Assessment.h"
#include "records/RecordFile.h"

#include <QList>
#include <QMetaType>
#include <QString>

// How one record file fared: the same four ends the main window's Open and Расчет can reach.
enum class RowOutcome { Assessed, NotAcceptable, FormatError, ReadError };

// One file of a group as the main window would show it after Open and Расчет.
struct SummaryRow
{
    QString path;
    // The entry texts as the fields show them; filled only when the file was loaded.
    SubjectTexts texts;
    RowOutcome outcome = RowOutcome::ReadError;
    // Why a file was not assessed (format and read errors); empty otherwise.
    QString reason;
    // Only for Assessed rows: the index as its two-decimal field shows it, and every result.
    QString adaptationIndexShown;
    AssessmentResult result;
};

using SummaryRows = QList<SummaryRow>;

// What a path left out of the group was, so that each kind is counted under its own name.
enum class SkipKind { Folder, Link, Special, Unreadable, Count };

// A file or folder left out of the group, and why.
struct SkippedPath
{
    QString path;
    QString reason;
    SkipKind kind = SkipKind::Unreadable;
};

// "Рассчитано", "Ошибка ввода", or the reason of a format or read error.
QString OutcomeText(const SummaryRow& row);
// "М" or "Ж".
QString SexText(Sex sex);
// True when the row's file could not be read (it counts as skipped).
bool IsSkipped(const SummaryRow& row);

Q_DECLARE_METATYPE(SummaryRow)
Q_DECLARE_METATYPE(SkippedPath)

// The row as an export without names shows it: `code` in place of the name, no path, and a
// failure's reason without the message that may quote the path.
SummaryRow NamesFreeRow(const SummaryRow& row, const QString& code);
