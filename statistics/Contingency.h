#pragma once

#include "statistics/TestResult.h"

#include <atomic>
#include <cstdint>
#include <vector>

// Counts by row (e.g. adaptation level) and column (group); all rows of one length.
using CountTable = std::vector<std::vector<int>>;

// The table without rows and columns whose total is zero.
CountTable WithoutEmptyLines(const CountTable& table);

// Pearson's chi-square without continuity correction on the table with empty rows and columns
// left out; df = (r - 1)(c - 1); effect = Cramér's V. No p when fewer than two rows or columns
// remain.
TestResult PearsonChiSquare(const CountTable& table);

// True when an expected count (of the table without empty lines) is below `threshold`.
bool AnyExpectedBelow(const CountTable& table, double threshold = 5.0);

// Fisher's exact test of a 2 x 2 table [[a, b], [c, d]]: two-sided p as the sum of the
// probabilities of all tables with the same margins no more probable than the observed one
// (relative tolerance 1e-7). Statistic: the sample odds ratio a d / (b c) (may be infinite;
// none when both products are zero); method exact.
TestResult FisherExact2x2(int a, int b, int c, int d);

// The bounds on the Fisher-Freeman-Halton test's work.
struct ExactTestLimits
{
    std::int64_t maxEnumeratedTables = 2'000'000; // beyond: Monte Carlo
    int monteCarloTables = 100'000;
    std::uint64_t seed = 20260901;
};

// The Fisher-Freeman-Halton exact test of an r x c table (empty lines left out): p is the
// probability, under fixed margins, of a table no more probable than the observed one. By full
// enumeration while the tables to visit stay within the limit (method exact); else from
// `monteCarloTables` random tables with the same margins, p = (1 + hits) / (1 + tables)
// (method monte-carlo). Statistic: the observed table's probability under its margins. Stops
// early, with no p, once `cancel` is set.
TestResult FisherFreemanHalton(const CountTable& table, const ExactTestLimits& limits = {},
                               const std::atomic<bool>* cancel = nullptr);

// The exact test that fits the table once empty lines are left out: Fisher's for 2 x 2,
// otherwise Fisher-Freeman-Halton. No p for fewer than two rows or columns.
TestResult ExactContingencyTest(const CountTable& table, const ExactTestLimits& limits = {},
                                const std::atomic<bool>* cancel = nullptr);
