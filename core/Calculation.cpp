#include "core/Calculation.h"

std::optional<AssessmentResult> CalculateFromEntryTexts(const QString& systolic, const QString& diastolic,
                                                        const QString& pulse, Sex sex, const QString& weight,
                                                        const QString& height, const QString& age)
{
    return CheckEntryTexts(systolic, diastolic, pulse, sex, weight, height, age).result;
}

EntryCheck CheckEntryTexts(const QString& systolic, const QString& diastolic, const QString& pulse, Sex sex,
                           const QString& weight, const QString& height, const QString& age)
{
    EntryCheck check;
    const std::pair<EntryField, const QString*> texts[] = {
        {EntryField::Systolic, &systolic}, {EntryField::Diastolic, &diastolic}, {EntryField::Pulse, &pulse},
        {EntryField::Weight, &weight},     {EntryField::Height, &height},       {EntryField::Age, &age},
    };
    for (const auto& [field, text] : texts) {
        if (!EntryTextConverts(field, *text))
            check.unconverted.push_back(field);
    }
    if (!check.unconverted.empty())
        return check;
    // The name plays no part in the assessment.
    const SubjectRecord record = ParseSubject(QString(), systolic, diastolic, pulse, sex, weight, height, age);
    check.broken = BrokenAcceptanceRules(record);
    if (check.broken.none())
        check.result = Assess(record);
    return check;
}
