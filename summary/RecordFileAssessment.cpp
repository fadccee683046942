#include "summary/RecordFileAssessment.h"

#include "core/Calculation.h"
#include "core/NumberText.h"
#include "widgets/AdvEditRules.h"

namespace {

// The settings of the main window's entry fields and of its index field.
EditRules NameFieldRules()
{
    return {};
}

EditRules NumericFieldRules()
{
    EditRules rules;
    rules.type = TAdvEdit::etNumeric;
    return rules;
}

EditRules IndexFieldRules()
{
    EditRules rules;
    rules.type = TAdvEdit::etFloat;
    rules.precision = 2;
    return rules;
}

SummaryRow Failed(const QString& path, RowOutcome outcome, const QString& reason)
{
    SummaryRow row;
    row.path = path;
    row.outcome = outcome;
    row.reason = reason;
    return row;
}

QString ReadErrorReason(const QString& message)
{
    return QStringLiteral("Ошибка чтения: %1").arg(message);
}

// A freshly started window: empty name, every numeric field "0", М.
SubjectTexts FreshWindowTexts()
{
    const QString zero = QStringLiteral("0");
    return {QString(), zero, zero, zero, Sex::Male, zero, zero, zero};
}

void PutSlot(SubjectTexts& texts, int slot, const QString& text, Separators separators)
{
    const EditRules numeric = NumericFieldRules();
    switch (slot) {
    case 1: texts.FullName = NormaliseEditText(text, NameFieldRules(), separators); break;
    case 2: texts.Systolic = NormaliseEditText(text, numeric, separators); break;
    case 3: texts.Diastolic = NormaliseEditText(text, numeric, separators); break;
    case 4: texts.Pulse = NormaliseEditText(text, numeric, separators); break;
    case 5: texts.Sex = SexFromSlotText(text); break;
    case 6: texts.Weight = NormaliseEditText(text, numeric, separators); break;
    case 7: texts.Height = NormaliseEditText(text, numeric, separators); break;
    case 8: texts.Age = NormaliseEditText(text, numeric, separators); break;
    default: break;
    }
}

} // namespace

SummaryRow AssessRecordFile(const QString& path)
{
    const Separators separators = Separators::current();
    SummaryRow row;
    row.path = path;
    row.texts = FreshWindowTexts();
    try {
        RecordFileReader reader(path, kLargestRecordFile);
        const ReadOutcome outcome =
            reader.read([&](int slot, const QString& text) { PutSlot(row.texts, slot, text, separators); });
        if (outcome == ReadOutcome::FormatError)
            return Failed(path, RowOutcome::FormatError, QStringLiteral("Неверный формат файла"));
    } catch (const ENotRegularFile&) {
        return Failed(path, RowOutcome::ReadError, QStringLiteral("Не обычный файл (канал или устройство)"));
    } catch (const EFileTooLarge& error) {
        return Failed(path, RowOutcome::FormatError,
                      QStringLiteral("Неверный формат файла: слишком велик (больше %1 байт)").arg(error.limit()));
    } catch (const EInOutError& error) {
        return Failed(path, RowOutcome::ReadError, ReadErrorReason(error.message()));
    }

    const SubjectTexts& t = row.texts;
    const std::optional<AssessmentResult> result =
        CalculateFromEntryTexts(t.Systolic, t.Diastolic, t.Pulse, t.Sex, t.Weight, t.Height, t.Age);
    if (!result) {
        row.outcome = RowOutcome::NotAcceptable;
        return row;
    }
    row.outcome = RowOutcome::Assessed;
    row.result = *result;
    row.adaptationIndexShown = NormaliseEditText(FloatToText(result->AdaptationIndex), IndexFieldRules(), separators);
    return row;
}
