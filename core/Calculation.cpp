#include "core/Calculation.h"

std::optional<AssessmentResult> CalculateFromEntryTexts(const QString& systolic, const QString& diastolic,
                                                        const QString& pulse, Sex sex, const QString& weight,
                                                        const QString& height, const QString& age)
{
    try {
        // The name plays no part in the assessment.
        const SubjectRecord record = ParseSubject(QString(), systolic, diastolic, pulse, sex, weight, height, age);
        if (!IsAcceptable(record))
            return std::nullopt;
        return Assess(record);
    } catch (const EConvertError&) {
        return std::nullopt;
    }
}
