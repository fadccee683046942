#pragma once

#include "statistics/TestResult.h"

#include <span>

// Up to this many non-zero differences the signed-rank p is exact, ties included.
constexpr int kExactSignedRankPairs = 50;

struct SignedRankResult
{
    int pairs = 0;     // non-zero differences
    TestResult test;   // statistic: the sum of the positive mid-ranks
};

// Wilcoxon's signed-rank test, two-sided. Zero differences are dropped; magnitudes that tie
// share their mid-rank. Up to kExactSignedRankPairs pairs, p comes from the exact permutation
// distribution of the positive mid-rank sum over all 2^n sign patterns (counted over doubled
// mid-ranks); p = twice the smaller tail, at most 1. Beyond, the normal approximation with the
// tie correction and a continuity correction of 0.5.
SignedRankResult SignedRankTest(std::span<const double> differences);
