#include "core/SubjectRecord.h"

#include "core/TextToNumber.h"

namespace {

qint32 convertInteger(const QString& text)
{
    if (const std::optional<qint32> value = TextToInt32(text))
        return *value;
    throw EConvertError(QStringLiteral("'%1' is not a valid integer value").arg(text).toStdString());
}

double convertDecimal(const QString& text)
{
    if (const std::optional<double> value = TextToDouble(text))
        return *value;
    throw EConvertError(QStringLiteral("'%1' is not a valid floating point value").arg(text).toStdString());
}

} // namespace

SubjectRecord ParseSubject(const QString& fullName, const QString& systolic, const QString& diastolic,
                           const QString& pulse, Sex sex, const QString& weight, const QString& height,
                           const QString& age)
{
    SubjectRecord record;
    record.FullName = fullName;
    record.Systolic = convertInteger(systolic);
    record.Diastolic = convertInteger(diastolic);
    record.Pulse = convertInteger(pulse);
    record.Sex = sex;
    record.Weight = convertInteger(weight);
    record.Height = convertInteger(height);
    record.Age = convertDecimal(age);
    return record;
}

bool EntryTextConverts(EntryField field, const QString& text)
{
    switch (field) {
    case EntryField::FullName:
        return true;
    case EntryField::Age:
        return TextToDouble(text).has_value();
    default:
        return TextToInt32(text).has_value();
    }
}

std::vector<EntryField> FieldsOfRule(AcceptanceRule rule)
{
    switch (rule) {
    case AcceptanceRule::SystolicAtMost280: return {EntryField::Systolic};
    case AcceptanceRule::DiastolicAtLeast30: return {EntryField::Diastolic};
    case AcceptanceRule::PulsePressureAtLeast10: return {EntryField::Systolic, EntryField::Diastolic};
    case AcceptanceRule::PulseFrom40To150: return {EntryField::Pulse};
    case AcceptanceRule::WeightFrom30To200: return {EntryField::Weight};
    case AcceptanceRule::HeightFrom100To250: return {EntryField::Height};
    case AcceptanceRule::AgeFrom13To130: return {EntryField::Age};
    }
    return {};
}

BrokenRules BrokenAcceptanceRules(const SubjectRecord& r)
{
    // The pulse pressure is the true difference: 32-bit subtraction could wrap and pass.
    const qint64 pulsePressure = qint64(r.Systolic) - qint64(r.Diastolic);
    BrokenRules broken;
    const auto rule = [&broken](AcceptanceRule which, bool passes) {
        broken.set(static_cast<std::size_t>(which), !passes);
    };
    rule(AcceptanceRule::SystolicAtMost280, r.Systolic <= 280);
    rule(AcceptanceRule::DiastolicAtLeast30, r.Diastolic >= 30);
    rule(AcceptanceRule::PulsePressureAtLeast10, pulsePressure >= 10);
    rule(AcceptanceRule::PulseFrom40To150, r.Pulse <= 150 && r.Pulse >= 40);
    rule(AcceptanceRule::WeightFrom30To200, r.Weight <= 200 && r.Weight >= 30);
    rule(AcceptanceRule::HeightFrom100To250, r.Height <= 250 && r.Height >= 100);
    // Comparisons, not a negation: a NaN age breaks the rule.
    rule(AcceptanceRule::AgeFrom13To130, r.Age >= 13.0 && r.Age <= 130.0);
    return broken;
}

bool IsAcceptable(const SubjectRecord& r)
{
    return BrokenAcceptanceRules(r).none();
}
