#pragma once

#include "summary/SummaryRow.h"

#include <array>

// The group at a glance: how many files reached each end, and the assessed ones per level and
// per balance.
struct SummaryCounts
{
    int files = 0;
    int assessed = 0;
    int notAcceptable = 0;
    int formatErrors = 0;
    int readErrors = 0;
    std::array<int, 4> perLevel {};   // Satisfactory .. Breakdown
    std::array<int, 3> perBalance {}; // Vagotonia, NormalBalance, Sympathicotonia

    void add(const SummaryRow& row);
    int& level(AdaptationLevel l) { return perLevel[std::size_t(int(l) - 1)]; }
    int level(AdaptationLevel l) const { return perLevel[std::size_t(int(l) - 1)]; }
    int& balance(VegetativeBalance b) { return perBalance[std::size_t(b)]; }
    int balance(VegetativeBalance b) const { return perBalance[std::size_t(b)]; }
};

SummaryCounts CountRows(const SummaryRows& rows);

constexpr std::array<AdaptationLevel, 4> kAllLevels{AdaptationLevel::Satisfactory, AdaptationLevel::Strain,
                                                    AdaptationLevel::Unsatisfactory, AdaptationLevel::Breakdown};
constexpr std::array<VegetativeBalance, 3> kAllBalances{VegetativeBalance::Vagotonia, VegetativeBalance::NormalBalance,
                                                        VegetativeBalance::Sympathicotonia};

// A share in per cent with one decimal and the regional separator: 1 of 3 -> "33,3".
QString PercentText(int part, int whole);

// The counts as lines of text, for standard output and the report.
QStringList CountsLines(const SummaryCounts& counts);

// How many paths were skipped, and of which kinds: "3 (папок: 1, ссылок: 2)", or "0".
QString SkippedCountText(const QList<SkippedPath>& skipped);
