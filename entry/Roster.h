#pragma once

#include "entry/EntryRow.h"

#include <QByteArray>
#include <QString>
#include <QStringList>

// The names and sexes a stage starts from, with every line that was not taken and why.
struct Roster
{
    EntryRows rows;       // name and sex only, not dirty
    QStringList problems; // in Russian, "строка 3: ..." — never dropped silently
};

// Larger roster files are refused unread: a class list is a few kilobytes.
inline constexpr qint64 kLargestRosterFile = 1024 * 1024;

// A spreadsheet's CSV: ФИО and Пол, ";" or ",", UTF-8 with or without BOM or Windows-1251, an
// optional header line.
Roster ParseRosterCsv(const QByteArray& bytes);
Roster ReadRosterCsv(const QString& path);
// The names and sexes of an earlier stage's folder.
Roster RosterFromStageFolder(const QString& folder, Separators separators);
