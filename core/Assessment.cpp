#include "core/Assessment.h"

#include "core/Rounding.h"

namespace {

// Every rounded result of an accepted record fits in 32 bits.
qint32 roundHalfEven(long double value)
{
    return static_cast<qint32>(RoundHalfEven(value));
}

// Rounds an extended intermediate to the double it is stored as.
double stored(long double value) { return static_cast<double>(value); }

AdaptationLevel classifyIndex(double index)
{
    const long double x = index;
    int level = 1;
    for (long double threshold : kLevelThresholds)
        level += x >= threshold ? 1 : 0;
    return AdaptationLevel(level);
}

VegetativeBalance classifyKerdo(double kerdo, double vagotonia, double sympathicotonia)
{
    if (kerdo < vagotonia)
        return VegetativeBalance::Vagotonia;
    if (kerdo > sympathicotonia)
        return VegetativeBalance::Sympathicotonia;
    return VegetativeBalance::NormalBalance;
}

} // namespace

AssessmentResult Assess(const SubjectRecord& r)
{
    // Constants are long double literals on purpose: the double nearest 1.2 is not the extended one.
    AssessmentResult result;

    const long double heightInMetres = static_cast<long double>(r.Height) / 100.0L;
    result.BodyMassIndex = stored(static_cast<long double>(r.Weight) / (heightInMetres * heightInMetres));

    result.PressureTerm = stored((static_cast<long double>(result.BodyMassIndex) - 24.0L) * 2.0L);

    const long double pressureTerm = result.PressureTerm;
    result.ExpectedSystolic = roundHalfEven(1.2L * pressureTerm + 125.0L);
    result.ExpectedDiastolic = roundHalfEven(0.8L * pressureTerm + 80.0L);

    const long double cappedAge = r.Age > 40.0 ? 40.0L : static_cast<long double>(r.Age);
    const qint32 heightTerm = 3 * r.Height - 450;
    const long double weightBase = static_cast<long double>(heightTerm) + cappedAge;
    result.OptimalWeight = r.Sex == Sex::Male ? roundHalfEven(weightBase * 0.25L + 45.0L)
                                              : roundHalfEven(weightBase * 0.225L + 40.5L);

    long double index = 0.011L * static_cast<long double>(r.Pulse);
    index += 0.014L * (static_cast<long double>(r.Systolic) + static_cast<long double>(r.Age));
    index += 0.008L * static_cast<long double>(r.Diastolic);
    index += 0.009L * static_cast<long double>(r.Weight - r.Height);
    index -= 0.27L;
    result.AdaptationIndex = stored(index);

    result.Level = classifyIndex(result.AdaptationIndex);
    result.LevelBarPosition = roundHalfEven(static_cast<long double>(result.AdaptationIndex) * 25.0L);

    const long double quotient = static_cast<long double>(r.Diastolic) / static_cast<long double>(r.Pulse);
    result.KerdoIndex = stored((1.0L - quotient) * 100.0L);
    result.KerdoShown = roundHalfEven(result.KerdoIndex);

    const qint32 pressureProduct = r.Diastolic * r.Pulse;
    result.VagotoniaThreshold = stored(static_cast<long double>(-13 * pressureProduct) / 4900.0L);
    result.SympathicotoniaThreshold = stored(static_cast<long double>(10 * pressureProduct) / 4900.0L);
    result.Balance = classifyKerdo(result.KerdoIndex, result.VagotoniaThreshold, result.SympathicotoniaThreshold);

    return result;
}

QString LevelText(AdaptationLevel level)
{
    switch (level) {
    case AdaptationLevel::Satisfactory: return QStringLiteral("Удовлетворительная адаптация");
    case AdaptationLevel::Strain: return QStringLiteral("Напряжение механизмов адаптации");
    case AdaptationLevel::Unsatisfactory: return QStringLiteral("Неудовлетворительная адаптация");
    case AdaptationLevel::Breakdown: return QStringLiteral("Срыв адаптации");
    }
    return {};
}

TColor LevelColor(AdaptationLevel level)
{
    switch (level) {
    case AdaptationLevel::Satisfactory: return clLime;
    case AdaptationLevel::Strain: return 0x0053A9FF;
    case AdaptationLevel::Unsatisfactory: return clRed;
    case AdaptationLevel::Breakdown: return clBlack;
    }
    return clNone;
}

TColor LevelColorTo(AdaptationLevel level)
{
    switch (level) {
    case AdaptationLevel::Satisfactory: return 0x00E1FFE1;
    case AdaptationLevel::Strain: return 0x00A8D3FF;
    case AdaptationLevel::Unsatisfactory: return 0x00CACAFF;
    case AdaptationLevel::Breakdown: return clSilver;
    }
    return clNone;
}

QString BalanceText(VegetativeBalance balance)
{
    switch (balance) {
    case VegetativeBalance::Vagotonia: return QStringLiteral("Ваготония");
    case VegetativeBalance::NormalBalance: return QStringLiteral("Нормальный баланс");
    case VegetativeBalance::Sympathicotonia: return QStringLiteral("Симпатикотония");
    }
    return {};
}
