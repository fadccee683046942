#pragma once

#include "entry/EntryRow.h"

#include <QString>

// The unsaved rows of one stage folder, so that nothing typed is lost when the program or the
// machine dies: written (replaced safely) on every batch of changes, offered at the next start for
// that folder, removed once everything is saved. Kept in the application's data folder, keyed by
// the stage folder's canonical path, not in the stage folder: that folder may be read-only or full
// exactly when the rows most need keeping, may not exist before the first save, and is copied and
// summarised as a group, which a hidden file of half-typed rows must not join.
class EntryJournal
{
public:
    // Keyed by the folder's absolute path; the journal lives in the application's data folder.
    explicit EntryJournal(const QString& stageFolder);
    // Journals kept in `journalFolder` instead (tests).
    EntryJournal(const QString& stageFolder, const QString& journalFolder);

    QString path() const { return m_path; }
    // Writes the dirty rows; with none, removes the journal. Returns an empty text or the reason.
    QString write(const EntryRows& rows) const;
    // The rows left by an earlier session; empty when there is no journal or it is unreadable.
    EntryRows read() const;
    void clear() const;

    // The folder's rows with the journal's put back: a journal row replaces the row of the file it
    // came from, the others are added at the end.
    static EntryRows Merge(EntryRows folderRows, const EntryRows& journalRows);

private:
    QString m_stageFolder;
    QString m_path;
};
