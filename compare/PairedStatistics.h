#pragma once

#include "statistics/SignedRank.h"

#include <optional>
#include <vector>

// Paired statistics of a group's changes, taken in hundredths so that every figure follows
// exactly from the values as shown.

// The mean change with its 95 % confidence interval (Student's t, n - 1 degrees of freedom).
// The mean needs one pair, the interval two.
struct MeanInterval
{
    int pairs = 0;
    std::optional<double> mean;
    std::optional<double> lower;
    std::optional<double> upper;
};
MeanInterval MeanChangeInterval(const std::vector<int>& hundredths);

// A two-sided test: how many pairs it used, its p-value (none without a usable pair), and
// whether the p-value comes from the exact distribution.
struct PairedTest
{
    int pairs = 0;
    std::optional<double> pValue;
    bool exact = false;
};

// Wilcoxon's signed-rank test (statistics/SignedRank). Zero changes are dropped (Wilcoxon's own
// rule) and `pairs` counts the rest; up to kExactSignedRankPairs pairs the p-value is exact, ties
// included, beyond that the normal approximation.
PairedTest WilcoxonSignedRank(const std::vector<int>& hundredths);

// The sign test on the level's direction: persons whose level stayed are left out; p is the
// two-sided binomial probability (p = 1/2) of a split at least as uneven as better : worse.
PairedTest SignTest(int better, int worse);
