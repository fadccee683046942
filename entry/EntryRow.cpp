#include "entry/EntryRow.h"

bool IsEmptyRow(const EntryRow& row) { return !row.sex && std::all_of(row.texts.begin(), row.texts.end(), [](const QString& t) { return t.isEmpty(); }); }
bool IsCompleteRow(const EntryRow&) { return false; }
SubjectTexts ToSubjectTexts(const EntryRow&) { return {}; }
EntryRow FromSubjectTexts(const SubjectTexts&, const QString& filePath) { EntryRow r; r.filePath = filePath; return r; }
QString SexText(Sex sex) { return sex == Sex::Male ? QStringLiteral("М") : QStringLiteral("Ж"); }
std::optional<Sex> SexFromTyped(const QString&) { return std::nullopt; }
EntryCheck CheckRow(const EntryRow&) { return {}; }
QString CheckProblemText(const EntryCheck&) { return {}; }
