#pragma once

#include "compare/Comparison.h"
#include "groups/GroupsComputation.h"

#include <QString>

#include <functional>
#include <vector>

// Gives the code that stands for a person when names are hidden; empty function: names shown.
using RiskCoder = std::function<QString(const SummaryRow&)>;

// Orders a risk list: by `groupOrder` (entries of an unknown group last), then worst first
// (Breakdown before Unsatisfactory, then the higher ИФИ), then by name.
void SortRisk(std::vector<RiskEntry>& risk, const QStringList& groupOrder);

// The persons whose level got worse from the first to the last stage of a comparison (both
// assessed, one file each), with the last stage's values; their group reads "first → last"
// (the stages' labels). Worst first.
std::vector<RiskEntry> WorsenedRisk(const Comparison& comparison);

// Codes for one export without names: every row's file gets a code of a fresh random order
// (reports/NamesFreeExport.h), the same in every output of that export.
RiskCoder NamesFreeCoder(const SummaryRows& rows);

// The name, or the code when `coder` is set.
QString RiskPerson(const RiskEntry& entry, const RiskCoder& coder);
