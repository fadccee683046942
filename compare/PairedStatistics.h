#pragma once

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

// Wilcoxon's signed-rank test. Zero changes are dropped (Wilcoxon's own rule) and `pairs` counts
// the rest. Up to kExactSignedRankPairs pairs without tied magnitudes the p-value is exact, from
// the distribution of the positive rank sum; otherwise the normal approximation with the tie
// correction of the variance and a continuity correction of 0.5. Two-sided: twice the smaller
// tail, at most 1, and exactly 1 at the centre of the distribution.
constexpr int kExactSignedRankPairs = 50;
PairedTest WilcoxonSignedRank(const std::vector<int>& hundredths);

// The sign test on the level's direction: persons whose level stayed are left out; p is the
// two-sided binomial probability (p = 1/2) of a split at least as uneven as better : worse.
PairedTest SignTest(int better, int worse);
