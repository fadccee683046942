#pragma once

#include "entry/EntryRow.h"

#include <QList>
#include <QString>
#include <QStringList>

// Every record file of a stage folder (as the summary finds them) as a row, its texts as the main
// window's fields show them after Open, in file name order. Files that cannot be read are listed,
// and so are the files that hold one person twice or more.
struct StageFolderContents
{
    EntryRows rows;
    QStringList unreadable;           // "path: reason"
    QList<QStringList> samePersonFiles; // the paths of each person with more than one file
};
StageFolderContents ReadStageFolder(const QString& folder, Separators separators);

// The row of one record file; none when the file is not a record the main window would open.
std::optional<EntryRow> ReadStageFile(const QString& path, Separators separators);

// Removes what a save cut off before its rename left in `folder` (and nothing else, nowhere
// else), so that it never shows as a row. Returns how many files went.
int ClearSaveLeftovers(const QString& folder);

// The folder as one text however it is written, the same before and after it is made: the
// canonical path of its nearest existing ancestor with the rest appended.
QString StageFolderKey(const QString& folder);

// Why typing into `folder` could not be saved there, in Russian; empty when it can.
struct StageFolderProblem
{
    enum Kind { None, NotAFolder, NotWritable };
    Kind kind = None;
    QString message;
};
StageFolderProblem CheckStageFolder(const QString& folder);
