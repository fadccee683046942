#pragma once

#include "statistics/TestResult.h"

#include <cstdint>
#include <optional>
#include <span>
#include <vector>

// The exact Mann-Whitney p is taken while the smaller group has at most this many values and
// the work (values x smaller group x rank-sum range) stays within kExactMannWhitneyWork.
constexpr int kExactMannWhitneySmallerGroup = 25;
constexpr std::int64_t kExactMannWhitneyWork = 200'000'000;

// Mann-Whitney U of `first` against `second`: statistic U of the first group (mid-ranks for
// ties); effect the rank-biserial correlation 2 U / (n1 n2) - 1 (positive: the first tends
// higher). Exact two-sided p from the permutation distribution of the smaller group's mid-rank
// sum, ties included (twice the smaller tail, at most 1); otherwise the normal approximation
// with the tie correction and a continuity correction of 0.5. No p when a group is empty or
// every value is the same.
TestResult MannWhitney(std::span<const double> first, std::span<const double> second);

// Kruskal-Wallis H with the tie correction; df = k - 1 over the non-empty groups; p from the
// chi-square distribution. Effect: epsilon-squared H (N + 1) / (N^2 - 1). No p with fewer than
// two non-empty groups or when every value is the same.
TestResult KruskalWallis(const std::vector<std::vector<double>>& groups);

// Holm's step-down adjustment, in the given order; missing p-values are passed over.
std::vector<double> HolmAdjust(std::span<const double> p);

// Mann-Whitney of every pair of groups (i < j), their p adjusted together by Holm.
struct PairwiseTest
{
    int first = 0;
    int second = 0;
    TestResult test;             // p already adjusted
    std::optional<double> rawP;  // before the adjustment
};
std::vector<PairwiseTest> PairwiseMannWhitneyHolm(const std::vector<std::vector<double>>& groups);

// Spearman's rho (Pearson's r of the mid-ranks); p from Student's t with n - 2 df,
// t = rho sqrt((n - 2) / (1 - rho^2)) (method asymptotic, for every n). No p below three pairs
// or when either variable is constant; rho = +-1 gives p = 0.
TestResult Spearman(std::span<const double> x, std::span<const double> y);
