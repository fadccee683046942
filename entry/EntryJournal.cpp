#include "entry/EntryJournal.h"

EntryJournal::EntryJournal(const QString& stageFolder) : m_stageFolder(stageFolder) {}
EntryJournal::EntryJournal(const QString& stageFolder, const QString& journalFolder)
    : m_stageFolder(stageFolder), m_path(journalFolder) {}
QString EntryJournal::write(const EntryRows&) const { return {}; }
EntryRows EntryJournal::read() const { return {}; }
void EntryJournal::clear() const {}
