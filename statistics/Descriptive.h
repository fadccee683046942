#pragma once

#include <optional>
#include <span>
#include <vector>

// The p-quantile (0 <= p <= 1) of ascending values by linear interpolation between order
// statistics, R's default (type 7). Empty for no values.
std::optional<double> QuantileType7(std::span<const double> ascending, double p);

// Median with quartiles (type 7), mean and sample SD (n - 1); the SD needs two values.
struct Description
{
    int n = 0;
    std::optional<double> median;
    std::optional<double> q1;
    std::optional<double> q3;
    std::optional<double> mean;
    std::optional<double> sd;
};

// Sorts its copy of the values.
Description Describe(std::vector<double> values);
