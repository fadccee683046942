#include "groups/GroupsComputation.h"

#include "compare/PersonCourse.h"
#include "groups/RiskList.h"
#include "statistics/Contingency.h"
#include "statistics/RankTests.h"

#include <map>

namespace {

// What one group gathers while the rows go by.
struct Gathered
{
    SummaryCounts counts;
    std::vector<ReasonCount> notAssessed;
    std::vector<double> ifi;
    std::vector<double> kerdo;
    std::vector<double> bmi;
};

void CountReason(std::vector<ReasonCount>& reasons, const QString& reason)
{
    for (ReasonCount& r : reasons) {
        if (r.reason == reason) {
            ++r.count;
            return;
        }
    }
    reasons.push_back({reason, 1});
}

// The contingency tests of one table: chi-square, and an exact test when an expected count is
// below 5.
void AddTableTests(std::vector<GroupTest>& tests, TestSubject subject, const CountTable& table,
                   const QStringList& labels, const std::atomic<bool>* cancel)
{
    const TestResult chi = PearsonChiSquare(table);
    if (!chi.statistic)
        return;
    tests.push_back({TestKind::ChiSquare, subject, labels, chi, false});
    if (!AnyExpectedBelow(table))
        return;
    const CountTable kept = WithoutEmptyLines(table);
    const bool twoByTwo = kept.size() == 2 && kept.front().size() == 2;
    tests.push_back({twoByTwo ? TestKind::FisherExact : TestKind::FisherFreemanHalton, subject, labels,
                     ExactContingencyTest(table, {}, cancel), false});
}

void AddRankTests(std::vector<GroupTest>& tests, TestSubject subject, const std::vector<std::vector<double>>& values,
                  const QStringList& labels)
{
    if (values.size() == 2) {
        tests.push_back({TestKind::MannWhitney, subject, labels, MannWhitney(values[0], values[1]), false});
        return;
    }
    if (values.size() < 3)
        return;
    tests.push_back({TestKind::KruskalWallis, subject, labels, KruskalWallis(values), false});
    for (const PairwiseTest& pair : PairwiseMannWhitneyHolm(values)) {
        tests.push_back({TestKind::MannWhitney, subject,
                         {labels[pair.first], labels[pair.second]}, pair.test, true});
    }
}

} // namespace

QString TestKindName(TestKind kind)
{
    switch (kind) {
    case TestKind::ChiSquare: return QStringLiteral("chi-square");
    case TestKind::FisherExact: return QStringLiteral("fisher-exact");
    case TestKind::FisherFreemanHalton: return QStringLiteral("fisher-freeman-halton");
    case TestKind::MannWhitney: return QStringLiteral("mann-whitney");
    case TestKind::KruskalWallis: return QStringLiteral("kruskal-wallis");
    case TestKind::Spearman: return QStringLiteral("spearman");
    }
    return {};
}

QString TestSubjectName(TestSubject subject)
{
    switch (subject) {
    case TestSubject::Levels: return QStringLiteral("levels");
    case TestSubject::Balance: return QStringLiteral("balance");
    case TestSubject::Ifi: return QStringLiteral("ifi");
    case TestSubject::Kerdo: return QStringLiteral("kerdo");
    case TestSubject::IfiAge: return QStringLiteral("ifi~age");
    case TestSubject::IfiBmi: return QStringLiteral("ifi~bmi");
    }
    return {};
}

GroupsResult ComputeGroups(const std::vector<GroupSource>& sources, const Grouping& grouping,
                           const std::atomic<bool>* cancel, const GroupsProgress& progress)
{
    GroupsResult result;
    result.grouping = grouping;
    const auto cancelled = [&] { return cancel && cancel->load(std::memory_order_relaxed); };
    qsizetype total = 0;
    for (const GroupSource& source : sources)
        total += source.rows.size();

    std::map<GroupKey, Gathered> gathered;
    std::vector<std::pair<GroupKey, RiskEntry>> risk;
    // Over all the assessed, for the correlations.
    std::vector<double> allIfi, allAge, allBmi;
    qsizetype done = 0;
    for (std::size_t s = 0; s < sources.size(); ++s) {
        for (const SummaryRow& row : sources[s].rows) {
            if ((done & 0xff) == 0) {
                if (cancelled()) {
                    result.cancelled = true;
                    return result;
                }
                if (progress)
                    progress(done, total);
            }
            ++done;
            const std::optional<GroupKey> key = GroupKeyOf(grouping, int(s), row);
            if (!key) {
                ++result.unplacedRows;
                CountReason(result.unplaced, OutcomeText(row));
                continue;
            }
            Gathered& g = gathered[*key];
            g.counts.add(row);
            const std::optional<int> hundredths =
                row.outcome == RowOutcome::Assessed ? ShownHundredths(row.adaptationIndexShown) : std::nullopt;
            if (!hundredths) {
                CountReason(g.notAssessed, OutcomeText(row));
                continue;
            }
            const double ifi = *hundredths / 100.0;
            g.ifi.push_back(ifi);
            g.kerdo.push_back(row.result.KerdoShown);
            g.bmi.push_back(row.result.BodyMassIndex);
            allIfi.push_back(ifi);
            allBmi.push_back(row.result.BodyMassIndex);
            allAge.push_back(RowAge(row).value_or(0.0));
            if (row.result.Level >= AdaptationLevel::Unsatisfactory)
                risk.push_back({*key, RiskEntry{{}, row.result.Level, std::nullopt, ifi, row.result.KerdoShown, row}});
        }
    }
    if (progress)
        progress(total, total);

    QStringList order;
    CountTable levels(kAllLevels.size());
    CountTable balances(kAllBalances.size());
    std::vector<std::vector<double>> ifi, kerdo;
    QStringList testedLabels;
    for (auto& [key, g] : gathered) {
        GroupStats stats;
        stats.key = key;
        stats.label = GroupLabel(grouping, sources, key);
        stats.counts = g.counts;
        stats.notAssessed = std::move(g.notAssessed);
        stats.ifi = Describe(g.ifi);
        stats.kerdo = Describe(g.kerdo);
        stats.bmi = Describe(g.bmi);
        order << stats.label;
        if (g.counts.assessed > 0) {
            for (std::size_t i = 0; i < kAllLevels.size(); ++i)
                levels[i].push_back(g.counts.perLevel[i]);
            for (std::size_t i = 0; i < kAllBalances.size(); ++i)
                balances[i].push_back(g.counts.perBalance[i]);
            ifi.push_back(std::move(g.ifi));
            kerdo.push_back(std::move(g.kerdo));
            testedLabels << stats.label;
        }
        result.groups.push_back(std::move(stats));
    }
    for (auto& [key, entry] : risk) {
        entry.group = GroupLabel(grouping, sources, key);
        result.risk.push_back(std::move(entry));
    }
    SortRisk(result.risk, order);

    if (testedLabels.size() >= 2) {
        AddTableTests(result.tests, TestSubject::Levels, levels, testedLabels, cancel);
        AddTableTests(result.tests, TestSubject::Balance, balances, testedLabels, cancel);
        AddRankTests(result.tests, TestSubject::Ifi, ifi, testedLabels);
        AddRankTests(result.tests, TestSubject::Kerdo, kerdo, testedLabels);
    }
    const TestResult byAge = Spearman(allIfi, allAge);
    if (byAge.statistic)
        result.tests.push_back({TestKind::Spearman, TestSubject::IfiAge, {}, byAge, false});
    const TestResult byBmi = Spearman(allIfi, allBmi);
    if (byBmi.statistic)
        result.tests.push_back({TestKind::Spearman, TestSubject::IfiBmi, {}, byBmi, false});
    result.cancelled = cancelled();
    return result;
}
