#pragma once

#include "core/Colors.h"
#include "core/SubjectRecord.h"

#include <QString>
#include <QtGlobal>

enum class AdaptationLevel { Satisfactory = 1, Strain, Unsatisfactory, Breakdown };

// The index at which each level after Satisfactory begins: below the first, Satisfactory; from
// the last on, Breakdown. Exact decimal values, compared in extended precision.
inline constexpr long double kLevelThresholds[] = {2.52L, 3.09L, 3.49L};

enum class VegetativeBalance { Vagotonia, NormalBalance, Sympathicotonia };

// Everything computed from one accepted record, in the order it is computed.
struct AssessmentResult
{
    double BodyMassIndex = 0.0;
    double PressureTerm = 0.0;
    qint32 ExpectedSystolic = 0;
    qint32 ExpectedDiastolic = 0;
    qint32 OptimalWeight = 0;
    double AdaptationIndex = 0.0;
    AdaptationLevel Level = AdaptationLevel::Satisfactory;
    qint32 LevelBarPosition = 0;
    double KerdoIndex = 0.0;
    qint32 KerdoShown = 0;
    double VagotoniaThreshold = 0.0;
    double SympathicotoniaThreshold = 0.0;
    VegetativeBalance Balance = VegetativeBalance::NormalBalance;
};

// Precondition: IsAcceptable(record). Every step runs in extended precision; the named
// intermediate values are stored as doubles, which decides the last bit of every result.
AssessmentResult Assess(const SubjectRecord& record);

QString LevelText(AdaptationLevel level);
TColor LevelColor(AdaptationLevel level);
TColor LevelColorTo(AdaptationLevel level);
QString BalanceText(VegetativeBalance balance);
