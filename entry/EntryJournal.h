#pragma once

#include "entry/EntryRow.h"

#include <QString>

// The unsaved rows of one stage folder, kept outside it so that nothing typed is lost when the
// program or the machine dies: written (replaced safely) on every batch of changes, offered at the
// next start for that folder, removed once everything is saved.
class EntryJournal
{
public:
    // Keyed by the folder's absolute path; the journal lives in the application's data folder.
    explicit EntryJournal(const QString& stageFolder);
    // For tests: journals in `journalFolder`.
    EntryJournal(const QString& stageFolder, const QString& journalFolder);

    QString path() const { return m_path; }
    // Writes the dirty rows; with none, removes the journal. Returns an empty text or the reason.
    QString write(const EntryRows& rows) const;
    // The rows left by an earlier session; empty when there is no journal or it is unreadable.
    EntryRows read() const;
    void clear() const;

private:
    QString m_stageFolder;
    QString m_path;
};
