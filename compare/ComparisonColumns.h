#pragma once

#include "compare/ComparisonTable.h"

// Where a column lies in ComparisonTable's rows: the person's columns, then each stage's shown
// columns, then the change and the direction. -1 for a column the table leaves out.
qsizetype PersonColumnIndex(const ComparisonTable& table, ComparisonTable::PersonColumn column);
qsizetype StageColumnIndex(const ComparisonTable& table, std::size_t stageCount, std::size_t stage,
                           ComparisonTable::StageColumn column);
