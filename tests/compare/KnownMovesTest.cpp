#include "compare/ComparisonRun.h"
#include "compare/ComparisonTable.h"
#include "compare/GroupFigures.h"
#include "core/Calculation.h"
#include "records/RecordFile.h"
#include "tests/support/TestFiles.h"

#include <QDir>
#include <QTemporaryDir>
#include <gtest/gtest.h>

#include <map>

namespace {

// Entry texts reaching each level (index 0 = Satisfactory), found on a grid of plausible inputs.
std::array<SubjectTexts, 4> TextsPerLevel(Sex sex)
{
    std::array<SubjectTexts, 4> found;
    std::array<bool, 4> have{};
    for (int systolic = 95; systolic <= 200; systolic += 5)
        for (int pulse = 50; pulse <= 140; pulse += 10)
            for (int age : {18, 40, 75}) {
                const SubjectTexts texts{QString(),
                                         QString::number(systolic),
                                         QStringLiteral("80"),
                                         QString::number(pulse),
                                         sex,
                                         QStringLiteral("75"),
                                         QStringLiteral("175"),
                                         QString::number(age)};
                const auto result =
                    CalculateFromEntryTexts(texts.Systolic, texts.Diastolic, texts.Pulse, sex,
                                            texts.Weight, texts.Height, texts.Age);
                const std::size_t level = result ? std::size_t(int(result->Level) - 1) : 0;
                if (result && !have[level]) {
                    found[level] = texts;
                    have[level] = true;
                }
            }
    EXPECT_EQ(have, (std::array<bool, 4>{true, true, true, true}));
    return found;
}

// Two stages of a generated group with known moves between levels, spelled differently in the
// second stage (case, blanks, ё), plus the persons that must stay out of the moves.
TEST(KnownMoves, AreFoundExactlyAndNothingElseIsPaired)
{
    QTemporaryDir folder;
    const QDir root(folder.path());
    root.mkpath("september");
    root.mkpath("may");
    const std::array<SubjectTexts, 4> male = TextsPerLevel(Sex::Male);
    const std::array<SubjectTexts, 4> female = TextsPerLevel(Sex::Female);
    int files = 0;
    const auto put = [&](const QString& stage, const QString& name, SubjectTexts texts) {
        texts.FullName = name;
        WriteRecordFile(root.filePath(QStringLiteral("%1/%2.vnl").arg(stage).arg(++files)), texts,
                        [] {});
    };

    std::array<std::array<int, 4>, 4> moves{};
    for (std::size_t from = 0; from < 4; ++from)
        for (std::size_t to = 0; to < 4; ++to) {
            moves[from][to] = int((from * 4 + to) % 3);
            for (int k = 0; k < moves[from][to]; ++k) {
                const QString name = QStringLiteral("Семёнов Пётр %1%2%3").arg(from).arg(to).arg(k);
                put("september", name, male[from]);
                const QString respelt =
                    k == 0   ? name.toUpper()
                    : k == 1 ? QStringLiteral("  ") + QString(name).replace(u' ', "   ") + u' '
                             : QString(name).replace(u'ё', u'е');
                put("may", respelt, male[to]);
            }
        }
    put("september", "Двойной", male[0]);
    put("may", "Двойной", male[3]);
    put("may", "двойной", male[3]);
    put("september", "Разный Пол", male[0]);
    put("may", "Разный Пол", female[3]);
    put("september", "Только Осенью", male[0]);
    SubjectTexts mistyped = male[0];
    mistyped.Systolic = QStringLiteral("20");
    put("september", "Ошибка Ввода", male[0]);
    put("may", "Ошибка Ввода", mistyped);
    testsupport::WriteFile(root.filePath("may/broken.vnl"), "not a record");

    const Comparison comparison = RunComparison(OrderStages(
        {{{root.filePath("september")}, "01.09.2026"}, {{root.filePath("may")}, "2027-05"}}),
        Separators::current());
    const GroupFigures figures = ComputeGroupFigures(comparison);
    EXPECT_EQ(figures.transitions, moves);
    int better = 0, worse = 0, same = 0;
    for (std::size_t from = 0; from < 4; ++from)
        for (std::size_t to = 0; to < 4; ++to)
            (from > to ? better : from < to ? worse : same) += moves[from][to];
    EXPECT_EQ(figures.better, better);
    EXPECT_EQ(figures.worse, worse);
    EXPECT_EQ(figures.same, same);
    EXPECT_EQ(figures.meanChange.pairs, better + worse + same);
    EXPECT_EQ(TransitionsWithTotals(figures)[4][4], better + worse + same);
    EXPECT_EQ(figures.stages[1].ambiguousFiles, 2);
    EXPECT_EQ(figures.sexConflicts, 2);

    std::map<QString, QString> marks; // by name
    std::map<QString, int> rows;
    ComparisonTable table(comparison, false);
    table.setOrder(ComparisonTable::Order::WorseFirst);
    std::optional<int> previous;
    bool changesOver = false;
    for (qsizetype row = 0; row < table.rowCount(); ++row) {
        marks[table.personText(row)] = table.cells(row).join(u'|');
        ++rows[table.personText(row)];
        const std::optional<int> change = table.course(row).changeHundredths;
        EXPECT_TRUE(!change || (!changesOver && (!previous || *previous >= *change)));
        changesOver = changesOver || !change;
        previous = change;
    }
    EXPECT_TRUE(marks["Двойной"].contains("неоднозначно: файлов 2"));
    EXPECT_TRUE(marks["Разный Пол"].contains("это имя есть и с другим полом"));
    EXPECT_TRUE(marks["Только Осенью"].contains("нет в этапе"));
    // A file with an input error still names its pupil: one person, present in both stages.
    EXPECT_EQ(rows["Ошибка Ввода"], 1);
    EXPECT_TRUE(marks["Ошибка Ввода"].contains("Ошибка ввода"));
    EXPECT_FALSE(marks["Ошибка Ввода"].contains("нет в этапе"));
    EXPECT_TRUE(marks[""].contains("Неверный формат файла"));
}

// A window relies on both: progress that reaches the total, and a cancel that reads no further.
TEST(ComparisonRun, ReportsProgressToTheEndAndStopsWhenCancelled)
{
    QTemporaryDir folder;
    testsupport::WriteFile(folder.filePath("a.vnl"), "Vornale 5\r\nA\r\n");
    const QList<StageInput> stages{{{folder.path()}, "a"}, {{folder.path()}, "b"}};
    std::atomic<bool> cancel{false};
    qsizetype last = 0;
    const auto progress = [&](qsizetype done, qsizetype total) {
        last = done == total ? done : -1;
    };
    EXPECT_FALSE(RunComparison(stages, Separators::current(), &cancel, progress).cancelled);
    EXPECT_EQ(last, 2);
    cancel = true;
    last = 0;
    const Comparison cancelled = RunComparison(stages, Separators::current(), &cancel, progress);
    EXPECT_TRUE(cancelled.cancelled);
    EXPECT_TRUE(cancelled.stages[1].rows.isEmpty());
    EXPECT_EQ(last, 0);
}

} // namespace
