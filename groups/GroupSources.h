#pragma once

#include "groups/Grouping.h"
#include "summary/SummaryRow.h"

#include <QStringList>

#include <vector>

// The rows of a group read as the summary reads them (all paths at once), split back into the
// folders and files chosen: a row belongs to the path it was found under, the deepest one when
// chosen folders nest. Each source is labelled as a comparison's stage is: its label, or
// DefaultStageLabel — or, for a hand-over without names, "Этап N", since a file's name is a
// person's. A row found under none of them (none is expected) joins the first.
std::vector<GroupSource> SplitBySource(const QStringList& paths, const QStringList& labels, const SummaryRows& rows,
                                       bool namesFree = false);
