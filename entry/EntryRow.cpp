#include "entry/EntryRow.h"

#include <QStringList>

#include <algorithm>

bool IsEmptyRow(const EntryRow& row)
{
    return !row.sex && std::all_of(row.texts.begin(), row.texts.end(), [](const QString& t) { return t.isEmpty(); });
}

bool IsUnsaved(const EntryRow& row)
{
    return row.dirty && !(IsEmptyRow(row) && row.filePath.isEmpty());
}

bool IsCompleteRow(const EntryRow& row)
{
    return row.sex && !row.text(EntryField::FullName).trimmed().isEmpty()
        && std::all_of(row.texts.begin(), row.texts.end(), [](const QString& t) { return !t.isEmpty(); });
}

SubjectTexts ToSubjectTexts(const EntryRow& row)
{
    SubjectTexts texts;
    for (const EntryFieldDefinition& definition : EntryFieldDefinitions())
        EntryText(texts, definition.field) = row.text(definition.field);
    texts.Sex = row.sex.value_or(Sex::Male);
    return texts;
}

EntryRow FromSubjectTexts(const SubjectTexts& texts, const QString& filePath)
{
    EntryRow row;
    for (const EntryFieldDefinition& definition : EntryFieldDefinitions())
        row.text(definition.field) = EntryText(texts, definition.field);
    row.sex = texts.Sex;
    row.filePath = filePath;
    return row;
}

std::optional<Sex> SexFromTyped(const QString& text)
{
    const QString t = text.trimmed().toLower();
    if (t == u"м" || t == u"m" || t == u"муж" || t == u"мужской")
        return Sex::Male;
    if (t == u"ж" || t == u"f" || t == u"жен" || t == u"женский")
        return Sex::Female;
    return std::nullopt;
}

RowCheck CheckRow(const EntryRow& row)
{
    RowCheck check;
    using enum EntryField;
    static_cast<EntryCheck&>(check) =
        CheckEntryTexts(row.text(Systolic), row.text(Diastolic), row.text(Pulse), row.sex.value_or(Sex::Male),
                        row.text(Weight), row.text(Height), row.text(Age));
    check.sexMissing = !row.sex;
    std::erase_if(check.unconverted, [&](EntryField field) {
        if (!row.text(field).isEmpty())
            return false;
        check.missing.push_back(field);
        return true;
    });
    if (check.sexMissing)
        check.result.reset();
    return check;
}

QString EntryFieldCaption(EntryField field)
{
    switch (field) {
    case EntryField::FullName: return QStringLiteral("ФИО");
    case EntryField::Systolic: return QStringLiteral("Сист. АД");
    case EntryField::Diastolic: return QStringLiteral("Диаст. АД");
    case EntryField::Pulse: return QStringLiteral("Пульс");
    case EntryField::Weight: return QStringLiteral("Вес");
    case EntryField::Height: return QStringLiteral("Рост");
    case EntryField::Age: return QStringLiteral("Возраст");
    }
    return {};
}

namespace {

QString BrokenRuleText(AcceptanceRule rule)
{
    switch (rule) {
    case AcceptanceRule::SystolicAtMost280: return QStringLiteral("Сист. АД выше 280");
    case AcceptanceRule::DiastolicAtLeast30: return QStringLiteral("Диаст. АД ниже 30");
    case AcceptanceRule::PulsePressureAtLeast10: return QStringLiteral("Сист. АД − Диаст. АД меньше 10");
    case AcceptanceRule::PulseFrom40To150: return QStringLiteral("Пульс вне 40–150");
    case AcceptanceRule::WeightFrom30To200: return QStringLiteral("Вес вне 30–200");
    case AcceptanceRule::HeightFrom100To250: return QStringLiteral("Рост вне 100–250");
    case AcceptanceRule::AgeFrom13To130: return QStringLiteral("Возраст вне 13–130");
    }
    return {};
}

} // namespace

QString CheckProblemText(const RowCheck& check)
{
    if (check.result)
        return {};
    QStringList problems;
    if (check.sexMissing)
        problems << QStringLiteral("Пол не указан");
    for (const EntryField field : check.missing)
        problems << QStringLiteral("%1: не указано").arg(EntryFieldCaption(field));
    for (const EntryField field : check.unconverted)
        problems << QStringLiteral("%1: не число").arg(EntryFieldCaption(field));
    for (std::size_t i = 0; i < kAcceptanceRuleCount; ++i) {
        if (check.broken.test(i))
            problems << BrokenRuleText(static_cast<AcceptanceRule>(i));
    }
    return problems.join(QStringLiteral("; "));
}
