#include "core/SubjectRecord.h"

#include "core/RegionalSettings.h"
#include "tests/core/ExactDouble.h"

#include <functional>
#include "tests/core/RowName.h"

#include <gtest/gtest.h>
#include <limits>

namespace {

SubjectRecord acceptedRecord()
{
    SubjectRecord r;
    r.Systolic = 120;
    r.Diastolic = 80;
    r.Pulse = 70;
    r.Weight = 70;
    r.Height = 175;
    r.Age = 30;
    return r;
}

struct BoundCase
{
    const char* name;
    std::function<void(SubjectRecord&)> change;
    bool accepted;
};

const BoundCase boundCases[] = {
    {"Systolic280", [](SubjectRecord& r) { r.Systolic = 280; }, true},
    {"Systolic281", [](SubjectRecord& r) { r.Systolic = 281; }, false},
    {"Diastolic30", [](SubjectRecord& r) { r.Diastolic = 30; }, true},
    {"Diastolic29", [](SubjectRecord& r) { r.Diastolic = 29; }, false},
    {"PulsePressure10", [](SubjectRecord& r) { r.Systolic = 100; r.Diastolic = 90; }, true},
    {"PulsePressure9", [](SubjectRecord& r) { r.Systolic = 100; r.Diastolic = 91; }, false},
    {"LowestSystolic40", [](SubjectRecord& r) { r.Systolic = 40; r.Diastolic = 30; }, true},
    {"HighestDiastolic270", [](SubjectRecord& r) { r.Systolic = 280; r.Diastolic = 270; }, true},
    {"PulsePressureWithoutWrapAround", [](SubjectRecord& r) { r.Systolic = std::numeric_limits<qint32>::min(); r.Diastolic = 30; }, false},
    {"Pulse40", [](SubjectRecord& r) { r.Pulse = 40; }, true},
    {"Pulse39", [](SubjectRecord& r) { r.Pulse = 39; }, false},
    {"Pulse150", [](SubjectRecord& r) { r.Pulse = 150; }, true},
    {"Pulse151", [](SubjectRecord& r) { r.Pulse = 151; }, false},
    {"PulseNegative", [](SubjectRecord& r) { r.Pulse = -5; }, false},
    {"Weight30", [](SubjectRecord& r) { r.Weight = 30; }, true},
    {"Weight29", [](SubjectRecord& r) { r.Weight = 29; }, false},
    {"Weight200", [](SubjectRecord& r) { r.Weight = 200; }, true},
    {"Weight201", [](SubjectRecord& r) { r.Weight = 201; }, false},
    {"Height100", [](SubjectRecord& r) { r.Height = 100; }, true},
    {"Height99", [](SubjectRecord& r) { r.Height = 99; }, false},
    {"Height250", [](SubjectRecord& r) { r.Height = 250; }, true},
    {"Height251", [](SubjectRecord& r) { r.Height = 251; }, false},
    {"Age13", [](SubjectRecord& r) { r.Age = 13; }, true},
    {"Age12", [](SubjectRecord& r) { r.Age = 12; }, false},
    {"Age130", [](SubjectRecord& r) { r.Age = 130; }, true},
    {"Age131", [](SubjectRecord& r) { r.Age = 131; }, false},
    {"Age130PlusFraction", [](SubjectRecord& r) { r.Age = 130.000001; }, false},
    {"Age13MinusFraction", [](SubjectRecord& r) { r.Age = 12.999999; }, false},
    {"EmptyNameDoesNotMatter", [](SubjectRecord& r) { r.FullName.clear(); }, true},
};

class Acceptance : public ::testing::TestWithParam<BoundCase> {};

TEST_P(Acceptance, BoundsAreInclusive)
{
    SubjectRecord r = acceptedRecord();
    GetParam().change(r);
    EXPECT_EQ(IsAcceptable(r), GetParam().accepted);
}

INSTANTIATE_TEST_SUITE_P(Rules, Acceptance, ::testing::ValuesIn(boundCases),
                         RowName());

TEST(ParseSubject, ConvertsEveryField)
{
    ScopedRegionalSettings comma(u',', QChar(0x00A0));
    const SubjectRecord r = ParseSubject(QStringLiteral("Иванов И. И."), QStringLiteral("120"), QStringLiteral(" 80"),
                                         QStringLiteral("-5"), Sex::Female, QStringLiteral("+70"),
                                         QStringLiteral("175"), QStringLiteral("30,5"));
    EXPECT_EQ(r.FullName, QStringLiteral("Иванов И. И."));
    EXPECT_EQ(r.Systolic, 120);
    EXPECT_EQ(r.Diastolic, 80);
    EXPECT_EQ(r.Pulse, -5);
    EXPECT_EQ(r.Sex, Sex::Female);
    EXPECT_EQ(r.Weight, 70);
    EXPECT_EQ(r.Height, 175);
    EXPECT_SAME_DOUBLE(r.Age, 30.5);
}

struct ParseFailure
{
    const char* name;
    int field; // 0..5: systolic, diastolic, pulse, weight, height, age
    const char* text;
};

const ParseFailure parseFailures[] = {
    {"EmptySystolic", 0, ""},        {"LetterAfterDiastolic", 1, "80a"},
    {"TrailingBlankPulse", 2, "70 "}, {"TenDigitWeight", 3, "9999999999"},
    {"SeparatorInHeight", 4, "175,0"}, {"EmptyAge", 5, ""},
    {"AgeWithForeignSeparator", 5, "30.5"}, {"AgeWithThousandSeparator", 5, "1\u00A0000"},
};

class ParseSubjectFailure : public ::testing::TestWithParam<ParseFailure> {};

TEST_P(ParseSubjectFailure, RaisesConvertError)
{
    ScopedRegionalSettings comma(u',', QChar(0x00A0));
    QString texts[6] = {"120", "80", "70", "70", "175", "30"};
    texts[GetParam().field] = QString::fromUtf8(GetParam().text);
    EXPECT_THROW(ParseSubject({}, texts[0], texts[1], texts[2], Sex::Male, texts[3], texts[4], texts[5]),
                 EConvertError);
}

INSTANTIATE_TEST_SUITE_P(Texts, ParseSubjectFailure, ::testing::ValuesIn(parseFailures),
                         RowName());

} // namespace
