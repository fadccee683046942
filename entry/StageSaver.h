#pragma once

#include "entry/EntryRow.h"

#include <QString>

#include <vector>

// What a save did, or would do, with one row.
struct RowSaveOutcome
{
    enum Kind {
        Saved,           // written to `path`
        Skipped,         // empty or incomplete: nothing written
        NameClash,       // another row in this save would get the same file
        OtherPersonFile, // the file exists and holds another person's record
        Refused,         // the name holds a character a record file cannot hold
        Failed,          // the write failed; the old file, if any, is as it was
    };
    int row = -1;
    Kind kind = Skipped;
    QString path;
    QString message; // in Russian, for the nurse
};

// The name's characters that a record file (Windows-1251) cannot hold, each once, in order.
// Such a name is refused at save: the window shows it before saving.
QString CharactersRecordFilesCannotHold(const QString& fullName);

// Saves a table's complete rows into a stage folder, one record file per row, as the main window
// would save them. A row loaded from a file goes back to that file.
class StageSaver
{
public:
    explicit StageSaver(QString folder);

    // What a save would do, touching nothing: the clashes and refusals the window asks about.
    std::vector<RowSaveOutcome> plan(const EntryRows& rows) const;
    // Saves the rows `plan` marks as Saved, plus the clashing rows in `overwriteAllowed` (row
    // numbers the user agreed to overwrite). Creates the folder at the first save.
    std::vector<RowSaveOutcome> save(const EntryRows& rows, const std::vector<int>& overwriteAllowed = {}) const;

private:
    QString m_folder;
};
