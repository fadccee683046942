#include "entry/StageSaver.h"

QString CharactersRecordFilesCannotHold(const QString&) { return {}; }
StageSaver::StageSaver(QString folder) : m_folder(std::move(folder)) {}
std::vector<RowSaveOutcome> StageSaver::plan(const EntryRows&) const { return {}; }
std::vector<RowSaveOutcome> StageSaver::save(const EntryRows&, const std::vector<int>&) const { return {}; }
