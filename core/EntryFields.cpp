#include "core/EntryFields.h"

#include "core/NumberText.h"

#include <algorithm>

namespace {

using namespace EditTypes;

constexpr int kIntegerMaxLength = 3;

const std::array<EntryFieldDefinition, kEntryFieldCount> kDefinitions{{
    {EntryField::FullName, 1, etString, 0, 0, u""},
    {EntryField::Systolic, 2, etNumeric, 0, kIntegerMaxLength, u"0"},
    {EntryField::Diastolic, 3, etNumeric, 0, kIntegerMaxLength, u"0"},
    {EntryField::Pulse, 4, etNumeric, 0, kIntegerMaxLength, u"0"},
    {EntryField::Weight, 6, etNumeric, 0, kIntegerMaxLength, u"0"},
    {EntryField::Height, 7, etNumeric, 0, kIntegerMaxLength, u"0"},
    {EntryField::Age, 8, etNumeric, 0, kIntegerMaxLength, u"0"},
}};

} // namespace

const std::array<EntryFieldDefinition, kEntryFieldCount>& EntryFieldDefinitions()
{
    return kDefinitions;
}

const EntryFieldDefinition& DefinitionOf(EntryField field)
{
    return kDefinitions[static_cast<std::size_t>(field)];
}

std::optional<EntryField> EntryFieldAtSlot(int slot)
{
    const auto found = std::find_if(kDefinitions.begin(), kDefinitions.end(),
                                    [slot](const EntryFieldDefinition& d) { return d.slot == slot; });
    if (found == kDefinitions.end())
        return std::nullopt;
    return found->field;
}

EditRules EntryFieldRules(EntryField field)
{
    const EntryFieldDefinition& definition = DefinitionOf(field);
    EditRules rules;
    rules.type = definition.type;
    rules.precision = definition.precision;
    rules.canUndo = false;
    return rules;
}

QString EntryFieldText(EntryField field, const QString& value, Separators separators)
{
    return NormaliseEditText(value, EntryFieldRules(field), separators);
}

EditRules AdaptationIndexFieldRules()
{
    EditRules rules;
    rules.type = etFloat;
    rules.precision = 2;
    rules.canUndo = false;
    rules.readOnly = true;
    return rules;
}

QString AdaptationIndexText(double index, Separators separators)
{
    return NormaliseEditText(FloatToText(index), AdaptationIndexFieldRules(), separators);
}
