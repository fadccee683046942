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

bool IsAcceptable(const SubjectRecord& r)
{
    // The pulse pressure is the true difference: 32-bit subtraction could wrap and pass.
    const qint64 pulsePressure = qint64(r.Systolic) - qint64(r.Diastolic);
    return r.Systolic <= 280
        && r.Diastolic >= 30
        && pulsePressure >= 10
        && r.Pulse <= 150
        && r.Pulse >= 40
        && r.Weight <= 200
        && r.Weight >= 30
        && r.Height <= 250
        && r.Height >= 100
        && r.Age >= 13.0
        && r.Age <= 130.0;
}
