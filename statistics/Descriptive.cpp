#include "statistics/Descriptive.h"

#include <algorithm>
#include <cmath>

std::optional<double> QuantileType7(std::span<const double> ascending, double p)
{
    if (ascending.empty())
        return std::nullopt;
    const double h = double(ascending.size() - 1) * p;
    const auto below = std::size_t(std::floor(h));
    if (below + 1 >= ascending.size())
        return ascending.back();
    const double fraction = h - double(below);
    return ascending[below] + fraction * (ascending[below + 1] - ascending[below]);
}

Description Describe(std::vector<double> values)
{
    Description d;
    d.n = int(values.size());
    if (values.empty())
        return d;
    std::sort(values.begin(), values.end());
    d.median = QuantileType7(values, 0.5);
    d.q1 = QuantileType7(values, 0.25);
    d.q3 = QuantileType7(values, 0.75);
    long double sum = 0;
    for (double v : values)
        sum += v;
    const long double mean = sum / values.size();
    d.mean = double(mean);
    if (values.size() < 2)
        return d;
    long double squares = 0;
    for (double v : values)
        squares += (v - mean) * (v - mean);
    d.sd = double(std::sqrt(squares / (values.size() - 1)));
    return d;
}
