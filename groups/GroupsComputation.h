#pragma once

#include "groups/Grouping.h"
#include "statistics/Descriptive.h"
#include "statistics/TestResult.h"
#include "summary/SummaryCounts.h"

#include <QString>
#include <QStringList>

#include <atomic>
#include <functional>
#include <optional>
#include <vector>

// How many rows were not assessed for one reason (OutcomeText: "Ошибка ввода", or the format or
// read error's reason).
struct ReasonCount
{
    QString reason;
    int count = 0;
};

// One group's figures, from the values as the summary shows them: ИФИ with two decimals, the
// Kerdo index as shown (whole), the body-mass index as computed.
struct GroupStats
{
    GroupKey key;
    QString label;
    SummaryCounts counts;                // files, assessed, per level and per balance, as the summary counts
    std::vector<ReasonCount> notAssessed; // by reason, in order of first appearance
    Description ifi;
    Description kerdo;
    Description bmi;
};

enum class TestKind { ChiSquare, FisherExact, FisherFreemanHalton, MannWhitney, KruskalWallis, Spearman };
enum class TestSubject { Levels, Balance, Ifi, Kerdo, IfiAge, IfiBmi };

// "chi-square", "fisher-exact", "fisher-freeman-halton", "mann-whitney", "kruskal-wallis",
// "spearman".
QString TestKindName(TestKind kind);
// "levels", "balance", "ifi", "kerdo", "ifi~age", "ifi~bmi".
QString TestSubjectName(TestSubject subject);

// A test between groups. After Kruskal-Wallis, the pairwise Mann-Whitney tests follow it with
// two groups each and `holmAdjusted` set: their p is Holm-adjusted over all the pairs.
struct GroupTest
{
    TestKind kind = TestKind::ChiSquare;
    TestSubject subject = TestSubject::Levels;
    QStringList groups; // the labels compared; empty for a correlation over all the assessed
    TestResult result;
    bool holmAdjusted = false;
};

// A person at "Неудовлетворительная адаптация" or "Срыв адаптации", or (from a comparison) one
// whose level got worse. `row` is the row the figures come from (its name is used unless names
// are hidden; see RiskCoder).
struct RiskEntry
{
    QString group;
    AdaptationLevel level = AdaptationLevel::Unsatisfactory;
    std::optional<AdaptationLevel> previousLevel; // only for a move to a worse level
    double ifi = 0;                               // as shown, two decimals
    int kerdo = 0;                                // as shown
    SummaryRow row;
};

struct GroupsResult
{
    Grouping grouping;
    std::vector<GroupStats> groups;            // the groups met, in key order
    std::vector<ReasonCount> unplaced;         // rows whose key cannot be told, by reason
    int unplacedRows = 0;
    std::vector<GroupTest> tests;
    std::vector<RiskEntry> risk;               // grouped in the groups' order, worst first
    bool cancelled = false;
};

// Rows looked at so far, of all; called from the working thread.
using GroupsProgress = std::function<void(qsizetype done, qsizetype total)>;

// Groups the rows of every source, works out each group's figures, the tests between groups,
// the correlations over all the assessed and the risk list. Touches no widget (run it off the
// GUI thread); linear in the rows but for the bounded exact tests. Stops early, marked
// cancelled, once `cancel` is set.
GroupsResult ComputeGroups(const std::vector<GroupSource>& sources, const Grouping& grouping,
                           const std::atomic<bool>* cancel = nullptr, const GroupsProgress& progress = {});
