#include "compare/ComparisonColumns.h"

namespace {

constexpr qsizetype kLeading = qsizetype(ComparisonTable::PersonColumn::Change);
constexpr qsizetype kTrailing = qsizetype(ComparisonTable::PersonColumn::Count) - kLeading;

} // namespace

qsizetype PersonColumnIndex(const ComparisonTable& table, ComparisonTable::PersonColumn column)
{
    const qsizetype c = qsizetype(column);
    return c < kLeading ? c : table.captions().size() - kTrailing + (c - kLeading);
}

qsizetype StageColumnIndex(const ComparisonTable& table, std::size_t stageCount, std::size_t stage,
                           ComparisonTable::StageColumn column)
{
    if (stageCount == 0)
        return -1;
    const qsizetype perStage = (table.captions().size() - kLeading - kTrailing) / qsizetype(stageCount);
    // Only the last stage column (the file) is ever left out.
    if (qsizetype(column) >= perStage)
        return -1;
    return kLeading + qsizetype(stage) * perStage + qsizetype(column);
}
