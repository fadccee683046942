// The program as its users run it: the C runtime and the provider both in ru_RU.UTF-8
// (decimal comma), nothing replaced.
#include "core/Cp1251.h"
#include "tests/app/MainWindowTestSupport.h"
#include "tests/support/ProcessLocale.h"

namespace apptest {
namespace {

class RussianDeskTest : private testsupport::ScopedProcessLocale, public MainWindowTest
{
public:
    RussianDeskTest()
        : testsupport::ScopedProcessLocale(testsupport::RussianLocale),
          MainWindowTest(SeparatorSource::ProcessLocale)
    {
    }
};

struct TypedCase
{
    const char* name;
    Subject subject;
    const char* index;
    const char* expectedSystolic;
    const char* kerdo;
};

const TypedCase typedCases[] = {
    {"WorkedExample", AcceptedSubject(), "2,30", "122", "-14"},
    {"Unsatisfactory", {"", "140", "90", "80", false, "95", "180", "55"}, "3,30", "138", "-12"},
    {"StrainFemale", {"", "130", "85", "60", true, "80", "160", "45"}, "2,80", "142", "-42"},
    {"Breakdown", {"", "160", "100", "90", false, "110", "170", "65"}, "4,13", "159", "-11"},
};

TEST_F(RussianDeskTest, TypedSubjectsShowTheirIndexWithADecimalComma)
{
    for (const TypedCase& row : typedCases) {
        SCOPED_TRACE(row.name);
        trigger("AcNew");
        enterSubject(row.subject);
        click(calcButton());
        EXPECT_EQ(edit(12)->text(), row.index);
        EXPECT_EQ(edit(8)->text(), row.expectedSystolic);
        EXPECT_EQ(edit(11)->text(), row.kerdo);
        EXPECT_EQ(soundStarts(), 0);
    }
}

TEST_F(RussianDeskTest, OpenedRecordFileShowsItsIndexWithADecimalComma)
{
    const QByteArray record = "Vornale 5\r\n" + EncodeCp1251(QStringLiteral("Петрова Анна")) + "\r\n"
                              "130\r\n85\r\n60\r\n1\r\n80\r\n160\r\n45\r\n";
    files->openAnswers << writeFile("Петрова Анна.vnl", record);
    trigger("AcOpen");
    EXPECT_EQ(edit(1)->text(), "Петрова Анна");
    EXPECT_EQ(edit(12)->text(), "2,80");
    EXPECT_EQ(edit(10)->text(), "56");
    EXPECT_EQ(levelLabel()->text(), "Напряжение механизмов адаптации");
}

} // namespace
} // namespace apptest
