#pragma once

#include "core/Assessment.h"
#include "core/SubjectRecord.h"

#include <QString>

#include <optional>
#include <vector>

// What the calculate command does with the six entry texts and the sex choice: convert them,
// test acceptance, assess. Empty when a text does not convert or the record is not acceptable;
// the two are deliberately not told apart, as the examiner is not told either.
std::optional<AssessmentResult> CalculateFromEntryTexts(const QString& systolic, const QString& diastolic,
                                                        const QString& pulse, Sex sex, const QString& weight,
                                                        const QString& height, const QString& age);

// The same, told apart for a table where the examiner must see what keeps a row from its results:
// the fields whose text does not convert (all of them, not only the first), else the broken rules.
struct EntryCheck
{
    std::optional<AssessmentResult> result;
    std::vector<EntryField> unconverted;
    BrokenRules broken;
};
EntryCheck CheckEntryTexts(const QString& systolic, const QString& diastolic, const QString& pulse, Sex sex,
                           const QString& weight, const QString& height, const QString& age);
