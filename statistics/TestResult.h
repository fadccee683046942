#pragma once

#include <optional>
#include <string_view>

// How a p-value was reached: from the exact null distribution, from a large-sample
// approximation, or from random tables drawn under the null (fixed seed, so runs agree).
enum class TestMethod { Exact, Asymptotic, MonteCarlo };

// "exact", "asymptotic", "monte-carlo".
std::string_view TestMethodName(TestMethod method);

// A two-sided test's outcome. Empty members mean "not defined here": no p without the data it
// needs (e.g. a group of none, all values equal), no df for an exact test, no effect size where
// the test has none.
struct TestResult
{
    std::optional<double> statistic;
    std::optional<double> df;
    std::optional<double> p;
    TestMethod method = TestMethod::Asymptotic;
    std::optional<double> effect;
};
