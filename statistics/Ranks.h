#pragma once

#include <span>
#include <vector>

// Mid-ranks (1-based) in the values' own order: tied values share the mean of their positions.
std::vector<double> MidRanks(std::span<const double> values);

// The same ranks doubled, so every mid-rank is a whole number (exact sums for the exact tests).
std::vector<long> DoubledMidRanks(std::span<const double> values);

// Sum over the groups of tied values of t^3 - t, for the tie corrections of the variances.
double TieTerm(std::span<const double> values);

// Both at once, from one sort.
struct Ranking
{
    std::vector<long> doubled;
    double tieTerm = 0.0;
};
Ranking RankValues(std::span<const double> values);
