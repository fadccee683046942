#include "statistics/TestResult.h"

std::string_view TestMethodName(TestMethod method)
{
    switch (method) {
    case TestMethod::Exact: return "exact";
    case TestMethod::Asymptotic: return "asymptotic";
    case TestMethod::MonteCarlo: return "monte-carlo";
    }
    return "asymptotic";
}
