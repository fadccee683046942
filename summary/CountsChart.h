#pragma once

#include "summary/SummaryCounts.h"

#include <QColor>
#include <QList>
#include <QRect>
#include <QStringList>

class QPainter;

// A level's colour as the main window's bar shows it.
QColor LevelQColor(AdaptationLevel level);
// Black or white, whichever reads better on `background`.
QColor TextColorOn(const QColor& background);

// Two groups of horizontal bars: the four levels in their colours, then the three balances;
// each bar as long as its share of the largest count, with caption and count beside it.
void DrawCountsChart(QPainter& painter, const QRect& area, const SummaryCounts& counts);

// A picture's figures as a table, for a reader who cannot see the picture.
struct ChartTable
{
    QStringList columns;
    QList<QStringList> rows;
};

// The counts chart's bars in its order: caption, count and share of the assessed.
ChartTable CountsChartTable(const SummaryCounts& counts);
