#pragma once

#include "core/EntryFields.h"

#include <QString>
#include <QtGlobal>

#include <bitset>
#include <stdexcept>
#include <vector>

enum class Sex { Male, Female };

// One examined person's input data as the examiner entered it.
struct SubjectRecord
{
    QString FullName;
    qint32 Systolic = 0;
    qint32 Diastolic = 0;
    qint32 Pulse = 0;
    ::Sex Sex = ::Sex::Male;
    qint32 Weight = 0;
    qint32 Height = 0;
    double Age = 0.0;
};

// Raised when an entry text is not a number of the kind its field needs.
class EConvertError : public std::runtime_error
{
public:
    using std::runtime_error::runtime_error;
};

// Converts the six numeric texts in the order systolic, diastolic, pulse, weight, height, age;
// the first text that does not convert raises EConvertError and the rest are not looked at.
SubjectRecord ParseSubject(const QString& fullName, const QString& systolic, const QString& diastolic,
                           const QString& pulse, Sex sex, const QString& weight, const QString& height,
                           const QString& age);

// True when `text` converts to the number `field` needs (integer, or decimal for the age); the name
// always does. ParseSubject applies the same conversions.
bool EntryTextConverts(EntryField field, const QString& text);

// The acceptance rules a record must pass before it may be assessed.
enum class AcceptanceRule {
    SystolicAtMost280,
    DiastolicAtLeast30,
    PulsePressureAtLeast10, // systolic minus diastolic
    PulseFrom40To150,
    WeightFrom30To200,
    HeightFrom100To250,
    AgeFrom13To130,
};
inline constexpr std::size_t kAcceptanceRuleCount = 7;
using BrokenRules = std::bitset<kAcceptanceRuleCount>;

inline bool Breaks(const BrokenRules& broken, AcceptanceRule rule)
{
    return broken.test(static_cast<std::size_t>(rule));
}

// The entry fields a rule looks at (the pulse pressure looks at both pressures).
std::vector<EntryField> FieldsOfRule(AcceptanceRule rule);

// Every rule the record breaks.
BrokenRules BrokenAcceptanceRules(const SubjectRecord& record);

// True when the record passes every acceptance rule; only accepted records may be assessed.
bool IsAcceptable(const SubjectRecord& record);
