#include "core/NumberText.h"

#include "core/RegionalSettings.h"

#include "tests/core/RowName.h"
#include "tests/support/ProcessLocale.h"

#include <gtest/gtest.h>

namespace {

struct TextCase
{
    const char* name;
    double value;
    const char* comma; // with "," as separator
    const char* dot;   // with "." as separator
};

const TextCase textCases[] = {
    {"Index2_295", 2.295, "2,295", "2.295"},
    {"Index2_8", 2.8, "2,8", "2.8"},
    {"Zero", 0.0, "0", "0"},
    {"NegativeZero", -0.0, "0", "0"},
    {"Integer", 122.0, "122", "122"},
    {"Negative", -0.828, "-0,828", "-0.828"},
    {"LargestIndex", 10.18, "10,18", "10.18"},
    {"ManyDigitsRoundedTo15", -14.285714285714286, "-14,2857142857143", "-14.2857142857143"},
    {"ThirdRoundsUp", 2.0 / 3.0, "0,666666666666667", "0.666666666666667"},
    {"NoThousandSeparator", 1234567.5, "1234567,5", "1234567.5"},
    {"FifteenIntegerDigits", 999999999999999.0, "999999999999999", "999999999999999"},
    {"SixteenIntegerDigits", 1e15, "1E15", "1E15"},
    {"RoundsUpToSixteenDigits", 9999999999999999.0, "1E16", "1E16"},
    {"LargeWithFraction", 1.5e20, "1,5E20", "1.5E20"},
    {"SmallestPlain", 0.0001, "0,0001", "0.0001"},
    {"SmallExponentForm", 0.00001, "1E-5", "1E-5"},
    {"SmallNegative", -1.25e-7, "-1,25E-7", "-1.25E-7"},
};

class FloatToTextCase : public ::testing::TestWithParam<TextCase> {};

TEST_P(FloatToTextCase, UsesTheRegionalSeparator)
{
    const TextCase& c = GetParam();
    {
        ScopedRegionalSettings comma(u',', QChar(0x00A0));
        EXPECT_EQ(FloatToText(c.value), QString::fromUtf8(c.comma));
    }
    ScopedRegionalSettings dot(u'.', u',');
    EXPECT_EQ(FloatToText(c.value), QString::fromUtf8(c.dot));
}

// The C runtime follows the user's locale once QApplication exists; only the provider may decide.
TEST_P(FloatToTextCase, SameTextWhateverTheProcessLocale)
{
    const TextCase& c = GetParam();
    for (const char* locale : testsupport::ProcessLocales) {
        SCOPED_TRACE(locale);
        testsupport::ScopedProcessLocale process(locale);
        ScopedRegionalSettings comma(u',', QChar(0x00A0));
        EXPECT_EQ(FloatToText(c.value), QString::fromUtf8(c.comma));
        ScopedRegionalSettings dot(u'.', u',');
        EXPECT_EQ(FloatToText(c.value), QString::fromUtf8(c.dot));
    }
}

INSTANTIATE_TEST_SUITE_P(Values, FloatToTextCase, ::testing::ValuesIn(textCases),
                         RowName());

} // namespace
