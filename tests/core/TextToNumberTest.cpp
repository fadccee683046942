#include "core/TextToNumber.h"

#include "core/RegionalSettings.h"
#include "tests/core/ExactDouble.h"

#include "tests/core/RowName.h"
#include "tests/support/ProcessLocale.h"

#include <gtest/gtest.h>

namespace {

struct IntegerCase
{
    const char* name;
    const char* text;
    std::optional<qint32> value;
};

const IntegerCase integerCases[] = {
    {"Plain", "120", 120},
    {"LeadingBlanks", "  70", 70},
    {"PlusSign", "+7", 7},
    {"MinusSign", "-5", -5},
    {"Zero", "0", 0},
    {"LeadingZeros", "007", 7},
    {"Largest", "2147483647", 2147483647},
    {"Smallest", "-2147483648", std::numeric_limits<qint32>::min()},
    {"OneAboveLargest", "2147483648", std::nullopt},
    {"OneBelowSmallest", "-2147483649", std::nullopt},
    {"TenDigits", "9999999999", std::nullopt},
    {"ManyDigits", "123456789012345678901234567890", std::nullopt},
    {"Empty", "", std::nullopt},
    {"OnlyBlanks", "   ", std::nullopt},
    {"OnlySign", "-", std::nullopt},
    {"TrailingBlank", "70 ", std::nullopt},
    {"TabIsNotABlank", "\t70", std::nullopt},
    {"LetterAfterDigits", "70a", std::nullopt},
    {"DecimalSeparator", "70,0", std::nullopt},
    {"BlankAfterSign", "- 5", std::nullopt},
    {"DoubleSign", "--5", std::nullopt},
    {"DollarHex", "$1F", 31},
    {"LowerXHex", "x10", 16},
    {"UpperXHex", "X10", 16},
    {"ZeroXHex", "0x7FFFFFFF", 2147483647},
    {"ZeroUpperXHex", "-0X80000000", std::numeric_limits<qint32>::min()},
    {"HexBeyondSignedRange", "$80000000", std::nullopt},
    {"HexPrefixWithoutDigits", "0x", std::nullopt},
    {"DollarAlone", "$", std::nullopt},
    {"HexDigitsWithoutPrefix", "1F", std::nullopt},
    {"ArabicIndicDigit", "\u0661", std::nullopt},
};

class IntegerConversion : public ::testing::TestWithParam<IntegerCase> {};

TEST_P(IntegerConversion, FollowsTheRules)
{
    EXPECT_EQ(TextToInt32(QString::fromUtf8(GetParam().text)), GetParam().value);
}

INSTANTIATE_TEST_SUITE_P(Texts, IntegerConversion, ::testing::ValuesIn(integerCases),
                         RowName());

struct DecimalCase
{
    const char* name;
    char16_t decimal;
    char16_t thousand;
    const char* text;
    std::optional<double> value;
};

const DecimalCase decimalCases[] = {
    {"CommaFraction", u',', u'\u00A0', "30,5", 30.5},
    {"DotFraction", u'.', u',', "30.5", 30.5},
    {"DotRejectedUnderComma", u',', u'\u00A0', "30.5", std::nullopt},
    {"CommaRejectedUnderDot", u'.', u',', "30,5", std::nullopt},
    {"NoBreakSpaceGroupingRejected", u',', u'\u00A0', "1\u00A0000", std::nullopt},
    {"Integer", u',', u' ', "45", 45.0},
    {"LeadingAndTrailingBlanks", u',', u' ', "  45,25  ", 45.25},
    {"LoneSeparatorIsZero", u',', u' ', ",", 0.0},
    {"SeparatorFirst", u',', u' ', ",5", 0.5},
    {"SeparatorLast", u',', u' ', "5,", 5.0},
    {"TwoSeparators", u',', u' ', "1,2,3", std::nullopt},
    {"Negative", u',', u' ', "-12,5", -12.5},
    {"Exponent", u',', u' ', "1,3E2", 130.0},
    {"LowerExponentNegative", u',', u' ', "13e-1", 1.3},
    {"ExponentWithPlus", u',', u' ', "1e+2", 100.0},
    {"ExponentWithoutDigits", u',', u' ', "1e", std::nullopt},
    {"ExponentOnly", u',', u' ', "e5", std::nullopt},
    {"Empty", u',', u' ', "", std::nullopt},
    {"OnlySign", u',', u' ', "+", std::nullopt},
    {"LetterAfter", u',', u' ', "30x", std::nullopt},
    {"InfinityWordRejected", u'.', u',', "inf", std::nullopt},
    {"HexFloatRejected", u'.', u',', "0x1p3", std::nullopt},
    {"TooLargeForDouble", u',', u' ', "1e400", std::nullopt},
    {"TooLargeForExtended", u',', u' ', "1e5000", std::nullopt},
    {"TinyBecomesZero", u',', u' ', "1e-5000", 0.0},
    // Decimal -> extended -> double: the two roundings differ from one direct rounding here.
    {"DoubleRoundingHalfwayCase", u'.', u',', "9007199254740993.00000000001", 9007199254740992.0},
};

class DecimalConversion : public ::testing::TestWithParam<DecimalCase> {};

void expectConversion(const DecimalCase& c)
{
    ScopedRegionalSettings settings(QChar(c.decimal), QChar(c.thousand));
    const std::optional<double> value = TextToDouble(QString::fromUtf8(c.text));
    ASSERT_EQ(value.has_value(), c.value.has_value());
    if (value) {
        EXPECT_SAME_DOUBLE(*value, *c.value);
    }
}

TEST_P(DecimalConversion, FollowsTheRules)
{
    expectConversion(GetParam());
}

TEST_P(DecimalConversion, SameUnderARussianProcessLocale)
{
    testsupport::ScopedProcessLocale russian(testsupport::RussianLocale);
    expectConversion(GetParam());
}

INSTANTIATE_TEST_SUITE_P(Texts, DecimalConversion, ::testing::ValuesIn(decimalCases),
                         RowName());

TEST(DecimalConversion, ReadsTheSeparatorAtEachUse)
{
    const QString text = QStringLiteral("2,5");
    {
        ScopedRegionalSettings comma(u',', u' ');
        EXPECT_TRUE(TextToDouble(text).has_value());
    }
    ScopedRegionalSettings dot(u'.', u',');
    EXPECT_FALSE(TextToDouble(text).has_value());
}

TEST(DecimalConversion, ExtendedResultIsCorrectlyRounded)
{
    ScopedRegionalSettings comma(u',', u' ');
    EXPECT_EQ(TextToExtended(QStringLiteral("2,295")), 2.295L);
    EXPECT_EQ(TextToExtended(QStringLiteral("0,1")), 0.1L);
    EXPECT_NE(TextToExtended(QStringLiteral("0,1")), static_cast<long double>(0.1));
}

} // namespace
