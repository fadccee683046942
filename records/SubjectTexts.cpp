#include "records/RecordFile.h"

namespace {

// The member of SubjectTexts each entry field's text lives in, in the table's order.
constexpr std::array<QString SubjectTexts::*, kEntryFieldCount> kMembers{
    &SubjectTexts::FullName, &SubjectTexts::Systolic, &SubjectTexts::Diastolic, &SubjectTexts::Pulse,
    &SubjectTexts::Weight,   &SubjectTexts::Height,   &SubjectTexts::Age,
};

} // namespace

QString& EntryText(SubjectTexts& texts, EntryField field)
{
    return texts.*kMembers[static_cast<std::size_t>(field)];
}

const QString& EntryText(const SubjectTexts& texts, EntryField field)
{
    return texts.*kMembers[static_cast<std::size_t>(field)];
}

SubjectTexts NewSubjectTexts()
{
    SubjectTexts texts;
    for (const EntryFieldDefinition& definition : EntryFieldDefinitions())
        EntryText(texts, definition.field) = definition.resetText.toString();
    texts.Sex = Sex::Male;
    return texts;
}

void PutSlotAsShown(SubjectTexts& texts, int slot, const QString& text, Separators separators)
{
    if (slot == kSexSlot)
        texts.Sex = SexFromSlotText(text);
    else if (const std::optional<EntryField> field = EntryFieldAtSlot(slot))
        EntryText(texts, *field) = EntryFieldText(*field, text, separators);
}

bool FirstLineHoldsRecordHeader(QByteArrayView start, bool wholeFile)
{
    QByteArray text;
    for (const char byte : start) {
        if (byte == '\n' || byte == '\x1A') // Ctrl+Z: the rest of the line is not text
            return text.contains(kRecordHeader);
        if (byte != '\r')
            text.append(byte);
    }
    return wholeFile && text.contains(kRecordHeader);
}
