#pragma once

#include "entry/EntryRow.h"

#include <QString>

#include <memory>

class QLockFile;

// The unsaved rows of one stage folder, so that nothing typed is lost when the program or the
// machine dies: written (replaced safely) on every batch of changes, offered at the next start for
// that folder, removed once everything is saved. Kept in the application's data folder, keyed by
// the stage folder's canonical path, not in the stage folder: that folder may be read-only or full
// exactly when the rows most need keeping, may not exist before the first save, and is copied and
// summarised as a group, which a hidden file of half-typed rows must not join. The rows are
// minors' health data: the journal is private to the user (0600 in a 0700 folder), and a journal
// that is declined or cannot be read is renamed aside, never deleted.
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

    struct Contents
    {
        EntryRows rows;
        // A journal that could not be read: what happened and where it was kept aside.
        QString problem;
    };
    // The rows left by an earlier session; none when there is no journal. A journal that cannot be
    // read is renamed aside and reported, its rows not offered.
    Contents read() const;
    void clear() const;
    // Renames the journal aside so that its rows are not offered again but can still be
    // recovered. Returns where they went; empty when there was no journal or it could not move.
    QString setAside() const;

    // Holds the folder for this program while the returned lock lives: one entry window a folder.
    // Null when another program holds it, with the reason in `refusal`.
    std::unique_ptr<QLockFile> lock(QString& refusal) const;

    // The folder's rows with the journal's put back: a journal row replaces the row of the file it
    // came from, the others are added at the end.
    static EntryRows Merge(EntryRows folderRows, const EntryRows& journalRows);
    // The journal rows still worth offering: neither cleared (the file's own row stays) nor what
    // their person's file in the folder already holds.
    static EntryRows StillUnsaved(const EntryRows& journalRows, const EntryRows& folderRows);

private:
    QString m_stageFolder;
    QString m_path;
};

// A journal's bytes as rows; false in `readable` when they are not a whole journal of the folder
// whose key is `stageFolderKey`.
EntryRows ParseEntryJournal(const QByteArray& bytes, const QString& stageFolderKey, bool& readable);
