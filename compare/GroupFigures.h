#pragma once

#include "compare/Comparison.h"
#include "compare/PairedStatistics.h"
#include "summary/SummaryCounts.h"

#include <array>
#include <vector>

// What the group did, from the persons' single files (ambiguous files are left out).
struct GroupFigures
{
    struct Stage
    {
        SummaryCounts counts;   // the files used, per outcome, level and balance
        int ambiguousFiles = 0; // files left out because their person has several in the stage
    };
    std::vector<Stage> stages;
    // Persons assessed in the first and the last stage: [first level][last level], Satisfactory
    // first.
    std::array<std::array<int, 4>, 4> transitions{};
    int better = 0;
    int same = 0;
    int worse = 0;
    MeanInterval meanChange;
    PairedTest signedRank;
    PairedTest sign;
    int sexConflicts = 0; // persons whose name is also seen with the other sex
};

GroupFigures ComputeGroupFigures(const Comparison& comparison);

// The transition table with its totals, as every output shows it: [first level][last level],
// the fifth row and column the totals, [4][4] every pair.
using TransitionTable = std::array<std::array<int, 5>, 5>;
TransitionTable TransitionsWithTotals(const GroupFigures& figures);

// The figures as lines of text for standard output: shares per stage, the transition table, the
// pairs, the mean change with its interval and both p-values.
QStringList GroupFiguresLines(const Comparison& comparison, const GroupFigures& figures);

// The lines of GroupFiguresLines after the transition table: the level's directions, the mean
// change with its interval and both tests.
QStringList StatisticsLines(const GroupFigures& figures);
