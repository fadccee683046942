#include "core/PersonIdentity.h"

#include "tests/core/RowName.h"

#include <gtest/gtest.h>

namespace {

// Spellings that the comparison, the entry table, the roster and the saver once each judged
// their own way.
struct SpellingRow
{
    std::string name;
    QString a;
    QString b;
    bool samePerson;
};

class PersonSpelling : public ::testing::TestWithParam<SpellingRow> {};

TEST_P(PersonSpelling, DecidesOneWay)
{
    const SpellingRow& row = GetParam();
    EXPECT_EQ(IdentityOf(row.a, Sex::Female) == IdentityOf(row.b, Sex::Female), row.samePerson);
    EXPECT_EQ(PersonNameKey(row.a) == PersonNameKey(row.b), row.samePerson);
}

INSTANTIATE_TEST_SUITE_P(
    Table, PersonSpelling,
    ::testing::Values(
        SpellingRow{"YoReadAsYe", QStringLiteral("Семёнова Алёна"), QStringLiteral("Семенова Алена"), true},
        SpellingRow{"CapitalYo", QStringLiteral("ЁЛКИНА Анна"), QStringLiteral("елкина анна"), true},
        SpellingRow{"TwoBlanks", QStringLiteral("Петрова  Анна"), QStringLiteral("Петрова Анна"), true},
        SpellingRow{"NoBreakSpace", QStringLiteral("Петрова\u00A0Анна"), QStringLiteral("Петрова Анна"), true},
        SpellingRow{"TabAndEnds", QStringLiteral("  Петрова\tАнна "), QStringLiteral("Петрова Анна"), true},
        SpellingRow{"NarrowNoBreakSpace", QStringLiteral("Петрова\u202FАнна"), QStringLiteral("Петрова Анна"), true},
        SpellingRow{"ZeroWidthJoinerIsNotALetter", QStringLiteral("Петрова\u200BАнна"), QStringLiteral("Петрова Анна"), true},
        SpellingRow{"LatinLookalikeIsAnother", QStringLiteral("Пeтрова Анна"), QStringLiteral("Петрова Анна"), false},
        SpellingRow{"OtherLetter", QStringLiteral("Петрова Анны"), QStringLiteral("Петрова Анна"), false},
        SpellingRow{"WordsRunTogether", QStringLiteral("ПетроваАнна"), QStringLiteral("Петрова Анна"), false}),
    RowName{});

TEST(PersonIdentity, SexTellsPersonsApartAndBlankNamesAreNobody)
{
    EXPECT_NE(IdentityOf(QStringLiteral("Саша Ким"), Sex::Male), IdentityOf(QStringLiteral("Саша Ким"), Sex::Female));
    EXPECT_NE(IdentityKey(IdentityOf(QStringLiteral("Саша Ким"), Sex::Male)),
              IdentityKey(IdentityOf(QStringLiteral("Саша Ким"), Sex::Female)));
    for (const QString& blank : {QString(), QStringLiteral(" \u00A0\t"), QStringLiteral("--"), QStringLiteral("\u200B")})
        EXPECT_FALSE(IdentityOf(blank, Sex::Male).isNamed()) << blank.toStdString();
}

} // namespace
