#pragma once

#include "groups/RiskList.h"
#include "reports/TableReport.h"

#include <QList>
#include <QPainter>
#include <QRectF>

class QIODevice;

// The printable pages of one grouping: first the figures (a paper's first table: one row per
// figure, a column per group, p last; above it the grouped bar chart of the level shares), then
// the tests, then the risk list (codes instead of names when `coder` is set). Every text is made
// when the report is built, on the calling thread (the regional settings are read there).
TableReport GroupsFiguresReport(const GroupsResult& result, const QString& date);
TableReport GroupsTestsReport(const GroupsResult& result, const QString& date);
TableReport RiskListReport(const GroupsResult& result, const QString& date, const RiskCoder& coder = {});

// The grouped bar chart: for each level, one bar per group with its share of the group's assessed.
void DrawLevelSharesChart(QPainter& painter, const QRectF& area, const GroupsResult& result);

// The three reports, one after the other, as one PDF that replaces `path` only once complete.
QString WriteGroupsPdf(QIODevice& out, const GroupsResult& result, const QString& date, const RiskCoder& coder = {},
                       const PageProgress& progress = {});
QString WriteGroupsPdf(const QString& path, const GroupsResult& result, const QString& date,
                       const RiskCoder& coder = {}, const PageProgress& progress = {});
