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
        NameClash,       // another row gets the same file, or is the same person (then never beside)
        OtherPersonFile, // the file exists and holds another person's record
        SamePersonFile,  // the person has a file in the stage under another spelling: `path`
        Refused,         // the name holds a character a record file cannot hold
        Failed,          // the write failed; the old file, if any, is as it was
    };
    int row = -1;
    Kind kind = Skipped;
    QString path;     // where the row goes (or would go)
    // For another person's clash: a name beside it that nothing takes, e.g. "Иванов И. (2).vnl";
    // empty where the row's person has a file already, which never gets a second one.
    QString freePath;
    QString message;  // in Russian, for the nurse
};

// The one answer to the question about the rows a plan could not place: Заменить replaces the files
// in the way (another person's, or the row's person's own under another spelling), Сохранить рядом
// puts another person's row under a free name beside, Пропустить leaves them all in the table.
// No answer gives a person a second file, nor replaces a file another row of the table came from.
enum class ClashAnswer { Overwrite, SaveBeside, Skip };
std::map<int, QString> ConfirmedPaths(const std::vector<RowSaveOutcome>& plan, ClashAnswer answer);

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
    // Persons are told apart as core/PersonIdentity does, against the table and the folder's files.
    // Only rows with a file or saved now take a file name: a roster's untyped row takes none.
    std::vector<RowSaveOutcome> plan(const EntryRows& rows) const;
    // Saves the rows `plan` marks as Saved. A row in `confirmedPaths` goes to the path given there
    // whatever is in the way, when that is its planned path (the user chose to overwrite) or its
    // freePath (to save beside it); any other path is ignored. No two rows are written to one file.
    // Creates the folder (private) at the first save. Returns one outcome per row.
    std::vector<RowSaveOutcome> save(const EntryRows& rows, const std::map<int, QString>& confirmedPaths = {}) const;

private:
    QString m_folder;
};
