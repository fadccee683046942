#pragma once

#include "entry/EntryRow.h"

#include <QString>

#include <map>
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
    QString path;     // where the row goes (or would go)
    QString freePath; // for a clash: a name beside it that nothing takes, e.g. "Иванов И. (2).vnl"
    QString message;  // in Russian, for the nurse
};

// Why the name cannot be saved, in Russian, naming each character a record file (Windows-1251)
// cannot hold; empty when it can. Such a row is refused at save: the window shows this before.
QString UnstorableNameMessage(const QString& fullName);

// Saves a table's complete rows into a stage folder, one record file per row, as the main window
// would save them. A row loaded from a file goes back to that file.
class StageSaver
{
public:
    explicit StageSaver(QString folder);

    // What a save would do, touching nothing: the clashes and refusals the window asks about.
    std::vector<RowSaveOutcome> plan(const EntryRows& rows) const;
    // Saves the rows `plan` marks as Saved. A row in `confirmedPaths` goes to the path given there
    // whatever is in the way: the user chose to overwrite (the planned path) or to save beside it
    // (its freePath). Creates the folder at the first save. Returns one outcome per row.
    std::vector<RowSaveOutcome> save(const EntryRows& rows, const std::map<int, QString>& confirmedPaths = {}) const;

private:
    QString m_folder;
};
