#pragma once

#include "core/Calculation.h"
#include "core/EntryFields.h"
#include "core/SubjectRecord.h"
#include "records/RecordFile.h"
#include "summary/SummaryRow.h" // SexText: "М" or "Ж"

#include <QList>
#include <QString>

#include <array>
#include <optional>

// One person's line of a screening day: the seven entry texts exactly as the main window's fields
// would show them, the sex once chosen, and the file the row came from or was saved to.
struct EntryRow
{
    std::array<QString, kEntryFieldCount> texts;
    std::optional<Sex> sex;
    QString filePath; // empty until the row is loaded from or saved to a file
    bool dirty = false;

    QString& text(EntryField field) { return texts[static_cast<std::size_t>(field)]; }
    const QString& text(EntryField field) const { return texts[static_cast<std::size_t>(field)]; }
};
using EntryRows = QList<EntryRow>;

// Nothing typed and no sex chosen.
bool IsEmptyRow(const EntryRow& row);
// Changed since it was loaded or saved, and not a new row typed into and cleared again.
bool IsUnsaved(const EntryRow& row);
// A name that is not only blanks, a sex and every numeric text: what a save needs.
bool IsCompleteRow(const EntryRow& row);
// The texts as the main window's fields would hold them (the row must have a sex).
SubjectTexts ToSubjectTexts(const EntryRow& row);
// A row holding what a record file's fields show after Open.
EntryRow FromSubjectTexts(const SubjectTexts& texts, const QString& filePath);

// М/Ж, and m/f as typed on a Latin keyboard, in either case, blanks around allowed.
std::optional<Sex> SexFromTyped(const QString& text);

// What the row's results columns show: the main window's results, or what keeps it from them.
struct RowCheck : EntryCheck
{
    bool sexMissing = false;
    std::vector<EntryField> missing; // empty numeric texts (not among `unconverted`)
};
RowCheck CheckRow(const EntryRow& row);

// The short caption of an entry field, as the table's column shows it ("Сист. АД").
QString EntryFieldCaption(EntryField field);

// For a row that cannot be assessed: which values are missing, do not convert or are out of range,
// in Russian, e.g. "Пульс вне 40–150". Empty for an assessed row.
QString CheckProblemText(const RowCheck& check);
