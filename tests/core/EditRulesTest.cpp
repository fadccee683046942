#include "core/EditRules.h"

#include <cstring>
#include <gtest/gtest.h>

namespace {

const Separators kComma{QChar(u','), QChar(0x00A0)};
const Separators kDot{QChar(u'.'), QChar(u',')};

bool sameBits(long double a, long double b)
{
    return std::memcmp(&a, &b, 10) == 0;
}

EditRules rulesFor(TAdvEditType type, int precision = 0, bool isSigned = false)
{
    EditRules rules;
    rules.type = type;
    rules.precision = precision;
    rules.isSigned = isSigned;
    rules.canUndo = false;
    return rules;
}

} // namespace

TEST(EditRules, ClassifyNumberText)
{
    struct Row { QString text; Separators sep; NumberTextKind kind; };
    const Row rows[] = {
        {"-12", kComma, NumberTextKind::Integer},      {"1-2", kComma, NumberTextKind::Integer},
        {"12,5", kComma, NumberTextKind::Decimal},     {"1.5", kComma, NumberTextKind::Decimal},
        {"1A", kComma, NumberTextKind::Hexadecimal},   {"", kComma, NumberTextKind::NotANumber},
        {"1,2,3", kComma, NumberTextKind::NotANumber}, {"--5", kComma, NumberTextKind::NotANumber},
        {"12 5", kComma, NumberTextKind::NotANumber},  {"1,234.5", kDot, NumberTextKind::Decimal},
        {"1,23.5", kDot, NumberTextKind::Decimal},     {",1", kDot, NumberTextKind::NotANumber},
        {"-1A", kComma, NumberTextKind::Hexadecimal},  {"abc", kComma, NumberTextKind::Hexadecimal},
        {QStringLiteral("1\u00A0234"), kComma, NumberTextKind::NotANumber},
    };
    for (const Row& row : rows)
        EXPECT_EQ(ClassifyNumberText(row.text, row.sep), row.kind) << row.text.toStdString();
}

TEST(EditRules, TextToFloat)
{
    struct Row { QString text; Separators sep; long double value; };
    const Row rows[] = {
        {"2,295", kComma, 2.295L},      {"2.85", kComma, 0.0L},      {"2.85", kDot, 2.85L},
        {QStringLiteral("1\u00A0234,5"), kComma, 1234.5L},           {"1,234.5", kDot, 1234.5L},
        {"abc", kComma, 0.0L},          {"", kComma, 0.0L},          {",5", kComma, 0.5L},
        {"-3,085", kComma, -3.085L},    {" 7 ", kComma, 7.0L},       {"1-2", kComma, 0.0L},
        {"1e3", kComma, 1000.0L},       {"1e", kComma, 0.0L},        {"-", kComma, 0.0L},
        {"+4", kComma, 4.0L},
    };
    for (const Row& row : rows)
        EXPECT_TRUE(sameBits(TextToFloat(row.text, row.sep), row.value)) << row.text.toStdString();
}

TEST(EditRules, TwoDecimalsRoundAnExactHalfAwayFromZero)
{
    struct Row { const char* name; QString text; QString shown; };
    const Row rows[] = {
        // Through a double 2,295 is 2,29499999999999993 and would show as 2,29.
        {"text converted at extended precision", "2,295", "2,30"},
        {"3,085", "3,085", "3,09"},
        {"negative half", "-0,125", "-0,13"},
        {"cut", "2,8547", "2,85"},
        {"carry into the integer part", "99,995", "100,00"},
        {"integer", "10", "10,00"},
        {"zero", "0", "0,00"},
        {"a negative value that shows as zero has no sign", "-0,001", "0,00"},
        {"beyond eighteen digits", "123456789012345678901", "123456789012345679000,00"},
        {"eighteen significant digits first", "0,004999999999999999999", "0,01"},
    };
    for (const Row& row : rows) {
        SCOPED_TRACE(row.name);
        EXPECT_EQ(FixedDecimalText(TextToFloat(row.text, kComma), 2, u','), row.shown);
    }
    EXPECT_EQ(GroupedDecimalText(1234567.5L, 2, kDot), "1,234,567.50");
}

TEST(EditRules, TextSetterNormalisation)
{
    struct Row { const char* name; EditRules rules; Separators sep; QString value; QString shown; };
    const Row rows[] = {
        {"signed output keeps its minus", rulesFor(EditTypes::etNumeric), kComma, "-25", "-25"},
        {"decimal text in an integer field", rulesFor(EditTypes::etNumeric), kComma, "12,5", "0"},
        {"empty stays empty", rulesFor(EditTypes::etNumeric), kComma, "", ""},
        {"empty stays empty in a decimal field", rulesFor(EditTypes::etFloat, 2), kComma, "", ""},
        {"two decimals", rulesFor(EditTypes::etFloat, 2), kComma, "2,8547", "2,85"},
        {"not a number", rulesFor(EditTypes::etFloat, 2), kComma, "abc", "0,00"},
        {"decimal text that does not convert", rulesFor(EditTypes::etFloat, 2), kComma, "2.85", "0,00"},
        {"longer than the user may type", rulesFor(EditTypes::etFloat, 2), kComma, "10", "10,00"},
        {"design text with a dot separator", rulesFor(EditTypes::etFloat, 2), kDot, "0,00", "0.00"},
        {"free decimals keep the text", rulesFor(EditTypes::etFloat, 0), kComma, "2,8547", "2,8547"},
        {"text kept as typed", rulesFor(EditTypes::etString), kComma, "Иванов И.И.", "Иванов И.И."},
        {"hexadecimal upper-cased", rulesFor(EditTypes::etHex), kComma, "1a", "1A"},
        {"money: a first group of one digit", rulesFor(EditTypes::etMoney, 2), kComma, "1234", QStringLiteral("1\u00A0234,00")},
        {"money: a first group of two digits", rulesFor(EditTypes::etMoney, 2), kComma, "12345,5", QStringLiteral("12\u00A0345,50")},
        {"money: a full first group has nothing before it", rulesFor(EditTypes::etMoney, 2), kComma, "123456", QStringLiteral("123\u00A0456,00")},
        {"money: below a thousand no separator", rulesFor(EditTypes::etMoney, 2), kComma, "999", "999,00"},
        {"money: the minus stays before the first group", rulesFor(EditTypes::etMoney, 2), kComma, "-123456", QStringLiteral("-123\u00A0456,00")},
    };
    for (const Row& row : rows) {
        SCOPED_TRACE(row.name);
        EXPECT_EQ(NormaliseEditText(row.value, row.rules, row.sep), row.shown);
    }
}

TEST(EditRules, TypedCharacters)
{
    using A = CharDecision;
    struct Row { const char* name; EditRules rules; QChar c; bool ctrl; EditState state; A::Action action; };
    const EditRules integer = rulesFor(EditTypes::etNumeric);
    const EditRules decimal = rulesFor(EditTypes::etFloat, 2);
    const Row rows[] = {
        {"digit", integer, u'5', false, {"12", 2, 0}, A::Standard},
        {"minus", integer, u'-', false, {"12", 2, 0}, A::Consume},
        {"letter", integer, u'a', false, {"12", 2, 0}, A::Consume},
        {"space", integer, u' ', false, {"12", 2, 0}, A::Consume},
        {"backspace", integer, QChar(8), false, {"12", 2, 0}, A::Standard},
        {"Ctrl+A goes to the control", integer, QChar(1), true, {"12", 2, 0}, A::Standard},
        {"Ctrl+Z goes to the control", integer, QChar(26), true, {"12", 2, 0}, A::Standard},
        {"Enter raises the key press", integer, QChar(13), false, {"12", 2, 0}, A::EnterKeyPress},
        {"Ctrl+Enter is dropped", integer, QChar(13), true, {"12", 2, 0}, A::Consume},
        {"Esc without undo", integer, QChar(27), false, {"12", 2, 0}, A::Standard},
        {"name takes anything", rulesFor(EditTypes::etString), u'Ж', false, {"", 0, 0}, A::Standard},
        {"dot where the separator is a comma", rulesFor(EditTypes::etFloat, 2), u'.', false, {"3", 1, 0}, A::Consume},
        {"letter in a decimal field", decimal, u'x', false, {"3", 1, 0}, A::Consume},
        {"Ctrl+A in a decimal field", decimal, QChar(1), true, {"3", 1, 0}, A::Consume},
        {"second separator jumps after the first", decimal, u',', false, {"3,5", 3, 0}, A::MoveCaret},
        {"separator without decimals", rulesFor(EditTypes::etFloat, 0), u',', false, {"3", 1, 0}, A::Consume},
        {"separator into an empty field", decimal, u',', false, {"", 0, 0}, A::ReplaceText},
        {"digit after full decimals at the end", decimal, u'7', false, {"3,50", 4, 0}, A::Consume},
        {"digit inside full decimals overwrites", decimal, u'7', false, {"3,50", 2, 0}, A::OverwriteNext},
        {"digit before the separator", decimal, u'7', false, {"3,50", 1, 0}, A::Standard},
        {"digit with decimals selected", decimal, u'7', false, {"3,50", 2, 2}, A::Standard},
        {"separator replacing a selected separator", decimal, u',', false, {"3,50", 1, 1}, A::Standard},
        {"upper case", rulesFor(EditTypes::etUppercase), u'a', false, {"", 0, 0}, A::Standard},
        {"hex letter", rulesFor(EditTypes::etHex), u'f', false, {"", 0, 0}, A::Standard},
        {"hex refuses g", rulesFor(EditTypes::etHex), u'g', false, {"", 0, 0}, A::Consume},
        {"range refuses a second separator", rulesFor(EditTypes::etRange), u';', false, {"1-", 2, 0}, A::Consume},
        {"range takes a separator after a digit", rulesFor(EditTypes::etRange), u';', false, {"1", 1, 0}, A::Standard},
    };
    for (const Row& row : rows) {
        SCOPED_TRACE(row.name);
        EXPECT_EQ(DecideTypedCharacter(row.c, row.ctrl, row.rules, row.state, kComma).action, row.action);
    }

    const CharDecision start = DecideTypedCharacter(u',', false, decimal, {"", 0, 0}, kComma);
    EXPECT_EQ(start.text, "0,");
    EXPECT_EQ(start.caret, 2);
    EXPECT_EQ(DecideTypedCharacter(u',', false, decimal, {"3,5", 3, 0}, kComma).caret, 2);
    EXPECT_EQ(DecideTypedCharacter(u'a', false, rulesFor(EditTypes::etUppercase), {"", 0, 0}, kComma).character, u'A');
}

TEST(EditRules, SignedMinusToggles)
{
    const EditRules integer = rulesFor(EditTypes::etNumeric, 0, true);
    const CharDecision add = DecideTypedCharacter(u'-', false, integer, {"12", 2, 0}, kComma);
    EXPECT_EQ(add.action, CharDecision::ReplaceText);
    EXPECT_EQ(add.text, "-12");
    EXPECT_EQ(add.caret, 3);
    const CharDecision remove = DecideTypedCharacter(u'-', false, integer, {"-12", 3, 0}, kComma);
    EXPECT_EQ(remove.text, "12");
    EXPECT_EQ(remove.caret, 2);
    EditRules readOnly = integer;
    readOnly.readOnly = true;
    EXPECT_EQ(DecideTypedCharacter(u'-', false, readOnly, {"12", 2, 0}, kComma).action, CharDecision::Consume);
}

TEST(EditRules, ThousandSeparatorsNeedGroupsOfThree)
{
    const EditRules decimal = rulesFor(EditTypes::etFloat, 2);
    struct Row { const char* name; EditState state; QChar c; CharDecision::Action action; };
    const Row rows[] = {
        {"group separator three after a group", {"1,234", 5, 0}, u',', CharDecision::Standard},
        {"decimal separator two after a group", {"1,234", 4, 0}, u'.', CharDecision::Consume},
        {"group four after the last", {"1,2345", 6, 0}, u',', CharDecision::Consume},
    };
    for (const Row& row : rows) {
        SCOPED_TRACE(row.name);
        EXPECT_EQ(DecideTypedCharacter(row.c, false, decimal, row.state, kDot).action, row.action);
    }
}

TEST(EditRules, Paste)
{
    using P = PasteDecision;
    struct Row { const char* name; EditRules rules; int maxLength; EditState state; QString pasted; P::Outcome outcome; QString candidate; int selStart; int selLength; };
    const EditRules integer = rulesFor(EditTypes::etNumeric);
    const EditRules decimal = rulesFor(EditTypes::etFloat, 2);
    EditRules readOnly = integer;
    readOnly.readOnly = true;
    const Row rows[] = {
        {"too long for MaxLength", integer, 3, {"45", 2, 0}, "12", P::Refused, "", 0, 0},
        {"over the selection", integer, 3, {"45", 0, 1}, "7", P::Accepted, "75", 0, 1},
        {"at the caret", integer, 3, {"45", 1, 0}, "7", P::Accepted, "475", 2, 0},
        {"letters refused", integer, 0, {"45", 2, 0}, "1a", P::SelectionOnly, "451a", 4, 0},
        {"minus refused", integer, 3, {"", 0, 0}, "-3", P::SelectionOnly, "-3", 2, 0},
        {"read-only", readOnly, 0, {"45", 0, 2}, "7", P::Refused, "", 0, 0},
        {"decimal", decimal, 0, {"", 0, 0}, "2,8547", P::Accepted, "2,8547", 6, 0},
        {"hexadecimal into a decimal field", decimal, 0, {"", 0, 0}, "1A", P::SelectionOnly, "1A", 2, 0},
        {"separator without decimals", rulesFor(EditTypes::etFloat, 0), 0, {"", 0, 0}, "2,5", P::SelectionOnly, "2,5", 3, 0},
        {"line breaks kept in a name", rulesFor(EditTypes::etString), 0, {"ab", 1, 0}, "x\ny", P::Accepted, "ax\nyb", 4, 0},
        {"upper case converts", rulesFor(EditTypes::etUppercase), 0, {"", 0, 0}, "ab", P::Accepted, "AB", 2, 0},
        {"alphanumeric refuses blanks", rulesFor(EditTypes::etAlphaNumeric), 0, {"", 0, 0}, "a b", P::SelectionOnly, "a b", 3, 0},
    };
    for (const Row& row : rows) {
        SCOPED_TRACE(row.name);
        const PasteDecision d = DecidePaste(row.pasted, row.maxLength, row.rules, row.state, kComma);
        EXPECT_EQ(d.outcome, row.outcome);
        if (row.outcome == P::Refused)
            continue;
        EXPECT_EQ(d.candidate, row.candidate);
        EXPECT_EQ(d.selStart, row.selStart);
        EXPECT_EQ(d.selLength, row.selLength);
    }
}
