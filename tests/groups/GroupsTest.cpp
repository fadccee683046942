#include "groups/GroupsJson.h"
#include "groups/GroupsText.h"
#include "groups/RiskList.h"
#include "compare/ComparisonRun.h"
#include "compare/PersonCourse.h"
#include "statistics/Descriptive.h"
#include "summary/RecordFileAssessment.h"
#include "tests/support/StageFiles.h"

#include <QDir>
#include <QJsonArray>
#include <QJsonDocument>
#include <QJsonObject>
#include <QSet>
#include <QTemporaryDir>
#include <gtest/gtest.h>

namespace {

struct Person
{
    Sex sex;
    int systolic; // sets the level with the rest fixed: 120, 160, 190, 210 -> levels 1..4
    int pulse;
    int weight;
    QString age;
};

// Writes one record file per person into `folder` and assesses each as the summary does.
SummaryRows WriteAndAssess(const QString& folder, const std::vector<Person>& persons, const QString& prefix)
{
    QDir().mkpath(folder);
    std::vector<RecordFileToWrite> files;
    for (std::size_t i = 0; i < persons.size(); ++i) {
        const Person& p = persons[i];
        files.push_back({QDir(folder).filePath(QStringLiteral("%1%2.vnl").arg(prefix).arg(i)),
                         SubjectTexts{QStringLiteral("%1 %2").arg(prefix).arg(i), QString::number(p.systolic),
                                      QStringLiteral("80"), QString::number(p.pulse), p.sex, QString::number(p.weight),
                                      QStringLiteral("175"), p.age}});
    }
    WriteRecordFiles(files);
    SummaryRows rows;
    for (const RecordFileToWrite& f : files)
        rows.append(AssessRecordFile(f.path, Separators::current()));
    return rows;
}

// A deterministic spread of persons: `shift` raises every systolic pressure.
std::vector<Person> Population(int count, Sex sex, int shift, unsigned seed)
{
    std::vector<Person> persons;
    unsigned state = seed;
    const auto next = [&](int range) {
        state = state * 1103515245u + 12345u;
        return int((state >> 16) % unsigned(range));
    };
    for (int i = 0; i < count; ++i)
        persons.push_back({sex, 110 + shift + next(70), 55 + next(50), 50 + next(40), QString::number(13 + next(50))});
    return persons;
}

const GroupTest* FindTest(const GroupsResult& r, TestKind kind, TestSubject subject)
{
    for (const GroupTest& t : r.tests)
        if (t.kind == kind && t.subject == subject && !t.holmAdjusted)
            return &t;
    return nullptr;
}

TEST(Groups, AgeBandsAndGroupingWords)
{
    const std::vector<int> bands = DefaultAgeBands();
    const struct { const char* row; double age; const char* label; } cases[] = {
        {"below the first bound", 12.9, "до 13"},  {"first band", 13, "13–15"},   {"end of a band", 15.99, "13–15"},
        {"two-year band", 16, "16–17"},            {"middle", 60.5, "36–60"},     {"last band", 61, "61 и старше"},
        {"far past the last", 104, "61 и старше"},
    };
    for (const auto& c : cases)
        EXPECT_EQ(AgeBandText(bands, AgeBandIndex(bands, c.age)), QString::fromUtf8(c.label)) << c.row;
    EXPECT_EQ(ParseAgeBands(QStringLiteral(" 13, 16,18")), (std::vector<int>{13, 16, 18}));
    EXPECT_FALSE(ParseAgeBands(QStringLiteral("16,13")));
    EXPECT_FALSE(ParseAgeBands(QStringLiteral("13,13")));
    EXPECT_FALSE(ParseAgeBands(QStringLiteral("13,x")));
    EXPECT_EQ(ParseGroupingKeys(QStringLiteral("sex,age")),
              (std::vector<GroupingKey>{GroupingKey::Sex, GroupingKey::AgeBand}));
    EXPECT_FALSE(ParseGroupingKeys(QStringLiteral("sex,sex")));
    EXPECT_FALSE(ParseGroupingKeys(QStringLiteral("class")));
}

// Boys and girls written to their own folders, then grouped by sex out of one mixed source: each
// group's counts equal the summary's counts of that folder, and its figures the values as shown.
TEST(Groups, GroupFiguresEqualTheSummaryOfTheirFiles)
{
    QTemporaryDir dir;
    std::vector<Person> boys = Population(40, Sex::Male, 30, 7);
    boys.push_back({Sex::Male, 120, 70, 20, QStringLiteral("30")}); // weight below the rules: not assessed
    const SummaryRows boyRows = WriteAndAssess(dir.filePath(QStringLiteral("boys")), boys, QStringLiteral("b"));
    const SummaryRows girlRows =
        WriteAndAssess(dir.filePath(QStringLiteral("girls")), Population(30, Sex::Female, 0, 9), QStringLiteral("g"));
    SummaryRow unread;
    unread.path = dir.filePath(QStringLiteral("broken.vnl"));
    unread.outcome = RowOutcome::FormatError;
    unread.reason = QStringLiteral("Неверный формат файла");

    GroupSource mixed{QStringLiteral("8Б"), boyRows + girlRows};
    mixed.rows.append(unread);
    const GroupsResult r = ComputeGroups({mixed}, Grouping{{GroupingKey::Sex}, DefaultAgeBands()});
    ASSERT_EQ(r.groups.size(), 2u);
    EXPECT_EQ(r.unplacedRows, 1); // an unread file has no sex
    const SummaryRows* folders[] = {&boyRows, &girlRows};
    for (int g = 0; g < 2; ++g) {
        SCOPED_TRACE(g);
        const SummaryCounts expected = CountRows(*folders[g]);
        const SummaryCounts& got = r.groups[std::size_t(g)].counts;
        EXPECT_EQ(got.files, expected.files);
        EXPECT_EQ(got.assessed, expected.assessed);
        EXPECT_EQ(got.notAcceptable, expected.notAcceptable);
        EXPECT_EQ(got.perLevel, expected.perLevel);
        EXPECT_EQ(got.perBalance, expected.perBalance);
        std::vector<double> shown, kerdo;
        for (const SummaryRow& row : *folders[g]) {
            if (row.outcome == RowOutcome::Assessed) {
                shown.push_back(*ShownHundredths(row.adaptationIndexShown) / 100.0);
                kerdo.push_back(row.result.KerdoShown);
            }
        }
        const Description ifi = Describe(shown);
        EXPECT_DOUBLE_EQ(*r.groups[std::size_t(g)].ifi.median, *ifi.median);
        EXPECT_DOUBLE_EQ(*r.groups[std::size_t(g)].ifi.q3, *ifi.q3);
        EXPECT_DOUBLE_EQ(*r.groups[std::size_t(g)].ifi.sd, *ifi.sd);
        EXPECT_DOUBLE_EQ(*r.groups[std::size_t(g)].kerdo.mean, *Describe(kerdo).mean);
    }
    EXPECT_EQ(r.groups[0].label, QStringLiteral("М"));
    ASSERT_EQ(r.groups[0].notAssessed.size(), 1u);
    EXPECT_EQ(r.groups[0].notAssessed[0].count, 1);

    // The risk list holds exactly the persons at levels 3 and 4, worst first within a group.
    QSet<QString> atRisk;
    for (const SummaryRow& row : mixed.rows)
        if (row.outcome == RowOutcome::Assessed && row.result.Level >= AdaptationLevel::Unsatisfactory)
            atRisk.insert(row.path);
    QSet<QString> listed;
    for (std::size_t i = 0; i < r.risk.size(); ++i) {
        listed.insert(r.risk[i].row.path);
        if (i > 0 && r.risk[i].group == r.risk[i - 1].group) {
            EXPECT_GE(r.risk[i - 1].level, r.risk[i].level);
        }
    }
    EXPECT_FALSE(atRisk.isEmpty());
    EXPECT_EQ(listed, atRisk);
}

// Groups that differ are told apart; groups drawn alike are not.
TEST(Groups, TestsFindTheDifferencesThatAreThereAndNoOthers)
{
    QTemporaryDir dir;
    const SummaryRows high = WriteAndAssess(dir.filePath(QStringLiteral("a")), Population(60, Sex::Male, 45, 3), "a");
    const SummaryRows low = WriteAndAssess(dir.filePath(QStringLiteral("b")), Population(60, Sex::Male, 0, 4), "b");
    const SummaryRows alike = WriteAndAssess(dir.filePath(QStringLiteral("c")), Population(60, Sex::Male, 0, 5), "c");
    const Grouping bySource{{GroupingKey::Source}, DefaultAgeBands()};

    const GroupsResult differ = ComputeGroups({{"A", high}, {"B", low}}, bySource);
    for (auto [kind, subject] : {std::pair{TestKind::ChiSquare, TestSubject::Levels},
                                 std::pair{TestKind::MannWhitney, TestSubject::Ifi}}) {
        const GroupTest* t = FindTest(differ, kind, subject);
        ASSERT_TRUE(t && t->result.p);
        EXPECT_LT(*t->result.p, 0.001) << TestLine(*t).toStdString();
    }
    const GroupsResult same = ComputeGroups({{"B", low}, {"C", alike}}, bySource);
    for (const GroupTest& t : same.tests)
        if (!t.groups.isEmpty()) {
            EXPECT_GT(t.result.p.value_or(1), 0.05) << TestLine(t).toStdString();
        }

    // Three groups: Kruskal-Wallis then every pair, Holm-adjusted, with the two alike apart from A.
    const GroupsResult three = ComputeGroups({{"A", high}, {"B", low}, {"C", alike}}, bySource);
    ASSERT_TRUE(FindTest(three, TestKind::KruskalWallis, TestSubject::Ifi));
    int pairs = 0;
    for (const GroupTest& t : three.tests) {
        if (!t.holmAdjusted || t.subject != TestSubject::Ifi)
            continue;
        ++pairs;
        ASSERT_TRUE(t.result.p);
        EXPECT_EQ(*t.result.p < 0.05, t.groups.contains(QStringLiteral("A"))) << TestLine(t).toStdString();
    }
    EXPECT_EQ(pairs, 3);
}

// The JSON's numbers read back to the very doubles; with a coder no name is written.
TEST(Groups, JsonKeepsFullPrecisionAndHidesNames)
{
    QTemporaryDir dir;
    const SummaryRows rows = WriteAndAssess(dir.filePath(QStringLiteral("a")), Population(25, Sex::Female, 40, 11), "Ан");
    const GroupsResult r =
        ComputeGroups({{"7А", rows}, {"7Б", rows.mid(0, 9)}}, Grouping{{GroupingKey::Source}, DefaultAgeBands()});
    const QJsonObject json = QJsonDocument::fromJson(GroupsJson(r)).object();
    const QJsonObject first = json[u"groups"].toArray()[0].toObject();
    EXPECT_EQ(first[u"label"].toString(), QStringLiteral("7А"));
    EXPECT_EQ(first[u"ifi"].toObject()[u"sd"].toDouble(), *r.groups[0].ifi.sd);
    EXPECT_EQ(first[u"levels"].toArray().size(), 4);
    const QJsonArray tests = json[u"tests"].toArray();
    ASSERT_FALSE(tests.isEmpty());
    EXPECT_EQ(tests[0].toObject()[u"p"].toDouble(), *r.tests[0].result.p);
    EXPECT_TRUE(tests[0].toObject().contains(u"df"));
    ASSERT_FALSE(r.risk.empty());
    EXPECT_TRUE(json[u"risk"].toArray()[0].toObject().contains(u"name"));

    const QByteArray hidden = GroupsJson(r, [](const SummaryRow&) { return QStringLiteral("K-001"); });
    EXPECT_FALSE(hidden.contains(QStringLiteral("Ан").toUtf8()));
    EXPECT_FALSE(hidden.contains(dir.path().toUtf8()));
    EXPECT_EQ(QJsonDocument::fromJson(hidden)[u"risk"].toArray()[0].toObject()[u"code"].toString(), "K-001");
    EXPECT_EQ(JsonNumber(0.1), "0.1");
    EXPECT_EQ(JsonNumber(2.0 / 3.0), "0.6666666666666666");
}

// The work reports its progress to the end, and a set cancel flag stops it with nothing half-made.
TEST(Groups, ProgressAndCancel)
{
    QTemporaryDir dir;
    const SummaryRows rows = WriteAndAssess(dir.filePath(QStringLiteral("a")), Population(300, Sex::Male, 20, 13), "p");
    const Grouping bySex{{GroupingKey::Sex, GroupingKey::AgeBand}, DefaultAgeBands()};
    qsizetype last = -1;
    int calls = 0;
    const GroupsResult done = ComputeGroups({{"A", rows}}, bySex, nullptr, [&](qsizetype at, qsizetype total) {
        EXPECT_EQ(total, 300);
        EXPECT_GE(at, last);
        last = at;
        ++calls;
    });
    EXPECT_FALSE(done.cancelled);
    EXPECT_EQ(last, 300);
    EXPECT_GE(calls, 2);
    const std::atomic<bool> cancel{true};
    const GroupsResult stopped = ComputeGroups({{"A", rows}}, bySex, &cancel);
    EXPECT_TRUE(stopped.cancelled);
    EXPECT_TRUE(stopped.groups.empty());
    EXPECT_TRUE(stopped.tests.empty());
}

// From a comparison: exactly those whose level went worse, with their last values.
TEST(Groups, WorsenedRiskFromAComparison)
{
    QTemporaryDir dir;
    testsupport::WriteStage(dir.filePath(QStringLiteral("s1")), {{"Аня", 120}, {"Боря", 190}, {"Вера", 160}});
    testsupport::WriteStage(dir.filePath(QStringLiteral("s2")), {{"Аня", 190}, {"Боря", 160}, {"Вера", 210}});
    const Comparison comparison = RunComparison({{{dir.filePath(QStringLiteral("s1"))}, QStringLiteral("осень")},
                                                 {{dir.filePath(QStringLiteral("s2"))}, QStringLiteral("весна")}},
                                                Separators::current());
    const std::vector<RiskEntry> worse = WorsenedRisk(comparison);
    ASSERT_EQ(worse.size(), 2u);
    EXPECT_EQ(worse[0].row.texts.FullName, QStringLiteral("Вера")); // breakdown first
    EXPECT_EQ(worse[0].previousLevel, AdaptationLevel::Strain);
    EXPECT_EQ(worse[1].row.texts.FullName, QStringLiteral("Аня"));
    EXPECT_EQ(worse[1].group, QStringLiteral("осень → весна"));
}

} // namespace
