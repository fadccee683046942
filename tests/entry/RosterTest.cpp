#include "entry/Roster.h"
#include "tests/core/RowName.h"

#include "core/Cp1251.h"

#include <QTemporaryDir>
#include <gtest/gtest.h>

namespace {

struct RosterCase
{
    const char* name;
    QByteArray bytes;
    QStringList names;       // taken, in order
    QList<Sex> sexes;
    QStringList problems;    // a part of each problem, in order
};

class RosterCsv : public ::testing::TestWithParam<RosterCase>
{};

TEST_P(RosterCsv, TakesGoodLinesAndReportsEveryOther)
{
    const RosterCase& c = GetParam();
    const Roster roster = ParseRosterCsv(c.bytes);
    QStringList names;
    QList<Sex> sexes;
    for (const EntryRow& row : roster.rows) {
        names << row.text(EntryField::FullName);
        sexes << *row.sex;
        EXPECT_FALSE(row.dirty);
    }
    EXPECT_EQ(names, c.names);
    EXPECT_EQ(sexes, c.sexes);
    ASSERT_EQ(roster.problems.size(), c.problems.size()) << roster.problems.join(" | ").toStdString();
    for (qsizetype i = 0; i < c.problems.size(); ++i)
        EXPECT_TRUE(roster.problems[i].contains(c.problems[i])) << roster.problems[i].toStdString();
}

const QByteArray kUtf8 = "ФИО;Пол\r\nИванов Иван;М\r\nПетрова Анна;ж\r\n";

INSTANTIATE_TEST_SUITE_P(
    Files, RosterCsv,
    ::testing::Values(
        RosterCase{"Utf8WithHeader", kUtf8, {"Иванов Иван", "Петрова Анна"}, {Sex::Male, Sex::Female}, {}},
        RosterCase{"Utf8Bom", "\xEF\xBB\xBF" + kUtf8, {"Иванов Иван", "Петрова Анна"}, {Sex::Male, Sex::Female}, {}},
        RosterCase{"Cp1251Comma", EncodeCp1251("Иванов Иван,m\nЁжикова Яна,F\n"), {"Иванов Иван", "Ёжикова Яна"},
                   {Sex::Male, Sex::Female}, {}},
        RosterCase{"QuotedSeparator", "\"Сидоров; Пётр\";М\n", {"Сидоров; Пётр"}, {Sex::Male}, {}},
        RosterCase{"BadLines",
                   "Иванов;М\n;Ж\nПетров;x\nСидоров\n\nиванов ;м\n",
                   {"Иванов"},
                   {Sex::Male},
                   {"строка 2: нет ФИО", "строка 3: «Петров»: пол «x»", "строка 4: «Сидоров»: пол не указан",
                    "строка 6: «иванов» уже есть (строка 1)"}},
        RosterCase{"OnePersonSpelledTwiceAndMistypedSexes", "Ёлкина  Яна;Ж\nелкина\xC2\xA0яна;ж\nЁлкина Яна;М\nИ;Ж.\nП;Мж\n",
                   {"Ёлкина  Яна", "Ёлкина Яна"}, {Sex::Female, Sex::Male},
                   {"строка 2: «елкина\u00A0яна» уже есть (строка 1)", "строка 4: «И»: пол «Ж.»", "строка 5: «П»: пол «Мж»"}},
        RosterCase{"Empty", " \r\n\r\n", {}, {}, {"Файл пуст"}},
        RosterCase{"Binary", QByteArray("\x89PNG\r\n\x1A\n\0\0\0\rIHDR", 16), {}, {}, {"не текстовый"}},
        RosterCase{"Huge", QByteArray(kLargestRosterFile + 1, 'a'), {}, {}, {"слишком велик"}}),
    RowName());

TEST(RosterFile, UnreadableFileSaysWhy)
{
    QTemporaryDir dir;
    const Roster roster = ReadRosterCsv(dir.filePath("нет.csv"));
    EXPECT_TRUE(roster.rows.isEmpty());
    ASSERT_EQ(roster.problems.size(), 1);
    EXPECT_TRUE(roster.problems[0].contains("Не удалось открыть"));
}

} // namespace
