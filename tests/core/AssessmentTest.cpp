#include "core/Assessment.h"

#include "tests/core/ExactDouble.h"

#include "tests/core/RowName.h"

#include <gtest/gtest.h>

namespace {

SubjectRecord subject(qint32 s, qint32 d, qint32 p, qint32 w, qint32 h, double age, Sex sex = Sex::Male)
{
    SubjectRecord r;
    r.Systolic = s;
    r.Diastolic = d;
    r.Pulse = p;
    r.Weight = w;
    r.Height = h;
    r.Age = age;
    r.Sex = sex;
    return r;
}

struct FullCase
{
    const char* name;
    SubjectRecord record;
    double bmi;
    qint32 expectedSystolic, expectedDiastolic, optimalWeight;
    double index;
    AdaptationLevel level;
    qint32 bar;
    double kerdo;
    qint32 kerdoShown;
    double vagotonia, sympathicotonia;
    VegetativeBalance balance;
};

using enum AdaptationLevel;
using enum VegetativeBalance;

const FullCase fullCases[] = {
    {"YoungMan", subject(120, 80, 70, 70, 175, 30), 22.857142857142858, 122, 78, 71, 2.295, Satisfactory, 57,
     -14.285714285714286, -14, -14.857142857142858, 11.428571428571429, NormalBalance},
    {"YoungWoman", subject(120, 80, 70, 70, 175, 30, Sex::Female), 22.857142857142858, 122, 78, 64, 2.295,
     Satisfactory, 57, -14.285714285714286, -14, -14.857142857142858, 11.428571428571429, NormalBalance},
    {"OlderMan", subject(140, 90, 80, 95, 180, 55), 29.320987654320987, 138, 89, 78, 3.295, Unsatisfactory, 82,
     -12.5, -12, -19.102040816326532, 14.693877551020408, NormalBalance},
    {"Woman45", subject(130, 85, 60, 80, 160, 45, Sex::Female), 31.25, 142, 92, 56, 2.8, Strain, 70,
     -41.666666666666664, -42, -13.53061224489796, 10.408163265306122, Vagotonia},
    {"HeavyManBarAbove100", subject(160, 100, 90, 110, 170, 65), 38.062283737024224, 159, 102, 70, 4.13,
     Breakdown, 103, -11.11111111111111, -11, -23.877551020408163, 18.367346938775512, NormalBalance},
    {"FastPulse", subject(110, 60, 100, 70, 175, 30), 22.857142857142858, 122, 78, 71, 2.325, Satisfactory, 58,
     40, 40, -15.918367346938776, 12.244897959183673, Sympathicotonia},
};

class AssessWorkedExample : public ::testing::TestWithParam<FullCase> {};

TEST_P(AssessWorkedExample, GivesEveryValueExactly)
{
    const FullCase& c = GetParam();
    const AssessmentResult r = Assess(c.record);
    EXPECT_SAME_DOUBLE(r.BodyMassIndex, c.bmi);
    EXPECT_SAME_DOUBLE(r.PressureTerm, (c.bmi - 24) * 2); // exact in double for these rows
    EXPECT_EQ(r.ExpectedSystolic, c.expectedSystolic);
    EXPECT_EQ(r.ExpectedDiastolic, c.expectedDiastolic);
    EXPECT_EQ(r.OptimalWeight, c.optimalWeight);
    EXPECT_SAME_DOUBLE(r.AdaptationIndex, c.index);
    EXPECT_EQ(r.Level, c.level);
    EXPECT_EQ(r.LevelBarPosition, c.bar);
    EXPECT_SAME_DOUBLE(r.KerdoIndex, c.kerdo);
    EXPECT_EQ(r.KerdoShown, c.kerdoShown);
    EXPECT_SAME_DOUBLE(r.VagotoniaThreshold, c.vagotonia);
    EXPECT_SAME_DOUBLE(r.SympathicotoniaThreshold, c.sympathicotonia);
    EXPECT_EQ(r.Balance, c.balance);
}

INSTANTIATE_TEST_SUITE_P(Examples, AssessWorkedExample, ::testing::ValuesIn(fullCases),
                         RowName());

struct IndexCase
{
    const char* name;
    SubjectRecord record;
    double index;
    AdaptationLevel level;
    qint32 bar;
};

// Indexes whose exact decimal value is a class boundary; double arithmetic misplaces 3.09 and 3.49.
const IndexCase indexCases[] = {
    {"Exactly2_52IsStrain", subject(100, 60, 60, 100, 150, 50), 2.52, Strain, 63},
    {"Exactly3_09IsStrainNotUnsatisfactory", subject(100, 60, 110, 110, 150, 45), 3.09, Strain, 77},
    {"Exactly3_49IsBreakdown", subject(100, 80, 100, 110, 150, 70), 3.49, Breakdown, 87},
    {"LowestAcceptedGivesNegativeBar", subject(40, 30, 40, 30, 250, 13), -0.828, Satisfactory, -21},
    {"HighestAcceptedBarTieToEven", subject(280, 270, 150, 200, 100, 130), 10.18, Breakdown, 254},
};

class AssessIndex : public ::testing::TestWithParam<IndexCase> {};

TEST_P(AssessIndex, ClassifiesTheStoredIndex)
{
    const IndexCase& c = GetParam();
    const AssessmentResult r = Assess(c.record);
    EXPECT_SAME_DOUBLE(r.AdaptationIndex, c.index);
    EXPECT_EQ(r.Level, c.level);
    EXPECT_EQ(r.LevelBarPosition, c.bar);
}

INSTANTIATE_TEST_SUITE_P(Boundaries, AssessIndex, ::testing::ValuesIn(indexCases),
                         RowName());

TEST(Assess, BarPositionTiesGoToEven)
{
    const AssessmentResult half = Assess(subject(100, 70, 60, 120, 150, 30)); // 2.5 -> 62.5
    EXPECT_SAME_DOUBLE(half.AdaptationIndex, 2.5);
    EXPECT_EQ(half.LevelBarPosition, 62);
    const AssessmentResult threeAndHalf = Assess(subject(110, 70, 100, 120, 150, 60)); // 3.5 -> 87.5
    EXPECT_SAME_DOUBLE(threeAndHalf.AdaptationIndex, 3.5);
    EXPECT_EQ(threeAndHalf.LevelBarPosition, 88);
}

struct WeightCase
{
    const char* name;
    Sex sex;
    qint32 height;
    double age;
    qint32 optimalWeight;
};

const WeightCase weightCases[] = {
    {"Man175Age35Tie72_5", Sex::Male, 175, 35, 72},
    {"Man175Age31Tie71_5", Sex::Male, 175, 31, 72},
    {"Man180Age55Tie77_5", Sex::Male, 180, 55, 78},
    {"Man180Age41CappedAt40", Sex::Male, 180, 41, 78},
    {"Man180Age90CappedAt40", Sex::Male, 180, 90, 78},
    {"Woman170Age20Tie58_5", Sex::Female, 170, 20, 58},
    {"Woman150Age40Tie49_5", Sex::Female, 150, 40, 50},
    {"Woman175AgeWithFraction", Sex::Female, 175, 30.5, 64},
};

class AssessOptimalWeight : public ::testing::TestWithParam<WeightCase> {};

TEST_P(AssessOptimalWeight, RoundsHalvesToEven)
{
    const WeightCase& c = GetParam();
    EXPECT_EQ(Assess(subject(120, 80, 70, 70, c.height, c.age, c.sex)).OptimalWeight, c.optimalWeight);
}

INSTANTIATE_TEST_SUITE_P(Ties, AssessOptimalWeight, ::testing::ValuesIn(weightCases),
                         RowName());

TEST(Assess, AgeAboveFortyRaisesTheIndexOnly)
{
    const AssessmentResult at41 = Assess(subject(120, 80, 70, 70, 180, 41));
    const AssessmentResult at90 = Assess(subject(120, 80, 70, 70, 180, 90));
    EXPECT_EQ(at41.OptimalWeight, 78);
    EXPECT_EQ(at90.OptimalWeight, 78);
    EXPECT_SAME_DOUBLE(at41.AdaptationIndex, 2.404);
    EXPECT_SAME_DOUBLE(at90.AdaptationIndex, 3.09); // 49 more years: 0.014 each
}

struct KerdoCase
{
    const char* name;
    qint32 diastolic, pulse;
    double kerdo;
    qint32 shown;
    VegetativeBalance balance;
};

// Exact halves; double arithmetic takes D 37, P 40 to 7 instead of 8.
const KerdoCase kerdoCases[] = {
    {"D90P80MinusTwelveAndHalf", 90, 80, -12.5, -12, NormalBalance},
    {"D35P40TwelveAndHalf", 35, 40, 12.5, 12, Sympathicotonia},
    {"D31P40TwentyTwoAndHalf", 31, 40, 22.5, 22, Sympathicotonia},
    {"D33P40SeventeenAndHalf", 33, 40, 17.5, 18, Sympathicotonia},
    {"D37P40SevenAndHalfShowsEight", 37, 40, 7.5, 8, Sympathicotonia},
    {"D100P140EqualsUpperThreshold", 100, 140, 28.571428571428573, 29, NormalBalance},
};

class AssessKerdo : public ::testing::TestWithParam<KerdoCase> {};

TEST_P(AssessKerdo, RoundsTheStoredIndex)
{
    const KerdoCase& c = GetParam();
    const AssessmentResult r = Assess(subject(150, c.diastolic, c.pulse, 70, 175, 30));
    EXPECT_SAME_DOUBLE(r.KerdoIndex, c.kerdo);
    EXPECT_EQ(r.KerdoShown, c.shown);
    EXPECT_EQ(r.Balance, c.balance);
}

INSTANTIATE_TEST_SUITE_P(Halves, AssessKerdo, ::testing::ValuesIn(kerdoCases),
                         RowName());

TEST(Assess, ThresholdsScaleWithPressureProduct)
{
    const AssessmentResult normal = Assess(subject(120, 70, 70, 70, 175, 30));
    EXPECT_SAME_DOUBLE(normal.VagotoniaThreshold, -13.0);
    EXPECT_SAME_DOUBLE(normal.SympathicotoniaThreshold, 10.0);
    const AssessmentResult low = Assess(subject(120, 35, 40, 70, 175, 30));
    EXPECT_SAME_DOUBLE(low.VagotoniaThreshold, -3.7142857142857144);
    EXPECT_SAME_DOUBLE(low.SympathicotoniaThreshold, 2.857142857142857);
}

TEST(Assess, LevelTextsAndColours)
{
    struct Row { AdaptationLevel level; const char* text; TColor color, colorTo; };
    const Row rows[] = {
        {Satisfactory, "Удовлетворительная адаптация", 65280, 14811105},
        {Strain, "Напряжение механизмов адаптации", 5483007, 11064319},
        {Unsatisfactory, "Неудовлетворительная адаптация", 255, 13290239},
        {Breakdown, "Срыв адаптации", 0, 12632256},
    };
    for (const Row& row : rows) {
        SCOPED_TRACE(row.text);
        EXPECT_EQ(LevelText(row.level), QString::fromUtf8(row.text));
        EXPECT_EQ(LevelColor(row.level), row.color);
        EXPECT_EQ(LevelColorTo(row.level), row.colorTo);
    }
    EXPECT_EQ(BalanceText(Vagotonia), QStringLiteral("Ваготония"));
    EXPECT_EQ(BalanceText(NormalBalance), QStringLiteral("Нормальный баланс"));
    EXPECT_EQ(BalanceText(Sympathicotonia), QStringLiteral("Симпатикотония"));
}

} // namespace
