#pragma once

#include "core/EditRules.h"

#include <QString>
#include <QStringView>

#include <array>
#include <cstddef>
#include <optional>

// The seven entry fields of a subject, in the order the examiner types them, and the one result
// field whose text is more than a number (the index with two decimals). The main window's layout,
// the group summary and the group entry all take a field's rules from this table.
enum class EntryField { FullName, Systolic, Diastolic, Pulse, Weight, Height, Age };
inline constexpr std::size_t kEntryFieldCount = 7;

struct EntryFieldDefinition
{
    EntryField field;
    int slot;              // its line in a record file after the header (1..8; 5 is the sex)
    TAdvEditType type;
    int precision;         // decimals shown; 0 = free
    int maxLength;         // most characters the user may type or paste; 0 = unlimited
    QStringView resetText; // what a new subject shows
};

// The record file's slot of the sex choice, which no edit field holds.
inline constexpr int kSexSlot = 5;

// Every entry field, in typing order.
const std::array<EntryFieldDefinition, kEntryFieldCount>& EntryFieldDefinitions();
const EntryFieldDefinition& DefinitionOf(EntryField field);
// The field a record file's slot fills; none for the sex slot and for slots out of range.
std::optional<EntryField> EntryFieldAtSlot(int slot);

// The settings the field's input rules read (a user's field: undo on, not read-only).
EditRules EntryFieldRules(EntryField field);
// The text the field shows once `value` is assigned to it (numeric fields show "0" for what is not
// integer text, and stay empty for an empty text).
QString EntryFieldText(EntryField field, const QString& value, Separators separators);

// The index result field: two decimals, typed by no one.
EditRules AdaptationIndexFieldRules();
inline constexpr int kAdaptationIndexMaxLength = 4;
// The text the index field shows for an index.
QString AdaptationIndexText(double index, Separators separators);
inline constexpr QStringView kResultResetText = u"0";
