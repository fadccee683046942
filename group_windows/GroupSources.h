#pragma once

#include "groups/GroupsJson.h"
#include "summary/SummaryRow.h"

#include <QStringList>

#include <vector>

// The rows of a group read as the summary reads them (all paths at once), split back into the
// folders and files chosen: a row belongs to the path it was found under, the deepest one when
// chosen folders nest. Each source is labelled as a comparison's stage is: its label, or
// DefaultStageLabel. A row found under none of them (none is expected) joins the first.
std::vector<GroupSource> SplitBySource(const QStringList& paths, const QStringList& labels, const SummaryRows& rows);

// Codes instead of names for the risk list: the row's place among all the rows read ("Л0001"),
// the same in every output of one run.
RiskCoder RowCoder(const SummaryRows& rows);
