#pragma once

#include "entry/EntryRow.h"

#include <QString>

// Every record file of a stage folder (as the summary finds them) as a row, its texts as the main
// window's fields show them after Open, in file name order. Files that cannot be read are listed.
struct StageFolderContents
{
    EntryRows rows;
    QStringList unreadable; // "path: reason"
};
StageFolderContents ReadStageFolder(const QString& folder, Separators separators);
