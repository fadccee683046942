#pragma once

#include "compare/Comparison.h"
#include "reports/TableReport.h"

#include <QDateTime>

#include <memory>

// The comparison's printed report. Built where it is asked for (the texts read the regional
// settings), drawn on any thread: it keeps the comparison alive and only reads it.
struct ComparisonReportInput
{
    // Without names, one made WithoutNames: the CSV of the same export takes the same one.
    std::shared_ptr<const Comparison> comparison;
    bool anonymised = false;
    QDateTime made = QDateTime::currentDateTime();
};

// The first page: the stages, the shares of the levels per stage with their bars, the transition
// table and the statistics; then a row per person, those who got worse first and marked with a
// cross, each level cell in its level's tint and mark, a person's gaps (missing, ambiguous, not
// assessed) tinted.
TableReport BuildComparisonReport(const ComparisonReportInput& input);

// A4 landscape, into `out`. Empty text on success, else the reason.
QString WriteComparisonPdf(QIODevice& out, const TableReport& report, const PageProgress& progress = {});
// The same as an export to `path`, replacing a file only once complete.
QString WriteComparisonPdf(const QString& path, const TableReport& report, const PageProgress& progress = {});
