#pragma once

#include "compare/Comparison.h"
#include "compare/ComparisonTable.h"
#include "compare/GroupFigures.h"
#include "summary/CountsChart.h"

#include <QRectF>
#include <QStringList>

#include <array>
#include <optional>
#include <vector>

class QPainter;

// The comparison's two pictures, painted on any device (a widget, an image, a PDF page) with the
// painter's font; the geometry is in pure functions of their own.

// One stage's bar: its label and how many of its assessed reached each level (Satisfactory first).
struct StageLevelCounts
{
    QString label;
    std::array<int, 4> perLevel{};
    std::array<QString, 4> percent; // the shares as texts, made where the regional settings are read
    int assessed() const;
};

std::vector<StageLevelCounts> StageLevelCountsOf(const Comparison& comparison, const GroupFigures& figures);

// The four parts of a stacked bar standing in `bar`, Satisfactory at the bottom, each as tall as
// its share of the assessed; a level nobody reached gets an empty part, and so does every level
// of a stage without assessed persons.
std::array<QRectF, 4> StackedBarParts(const QRectF& bar, const std::array<int, 4>& perLevel);

// A stacked bar per stage in the level colours with each part's share in per cent, the stage's
// label and number assessed below it, and the levels' legend above.
void DrawLevelShareBars(QPainter& painter, const QRectF& area, const std::vector<StageLevelCounts>& stages);

// Where a person stands at one stage: the index as shown, in hundredths, or why there is none.
struct CoursePoint
{
    std::optional<int> hundredths;
    QString text; // the index as shown, or the reason ("нет в этапе", "файлов: 2", "Ошибка ввода", …)
    QString level{}; // the level as the table shows it; empty without an index
};

// From the row's cells as the table shows them, so the picture says what the table says.
std::vector<CoursePoint> CoursePointsOf(const ComparisonTable& table, std::size_t stageCount, qsizetype row);

// The vertical scale of the course picture: every level band shows, with room for every point.
struct IndexScale
{
    QRectF plot;
    double low = 0;
    double high = 1;
    double y(double index) const;
};

IndexScale IndexScaleFor(const QRectF& plot, const std::vector<CoursePoint>& points);

// The four level bands of the scale's plot, Satisfactory (at the bottom) first; their edges lie
// at the level thresholds.
std::array<QRectF, 4> LevelBands(const IndexScale& scale);

// The pictures' figures for a reader who cannot see them: a row per stage and level with count
// and share of the assessed; a row per stage with the index (or why there is none) and the level.
ChartTable LevelSharesTable(const std::vector<StageLevelCounts>& stages);
ChartTable IndexCourseTable(const QStringList& stageLabels, const std::vector<CoursePoint>& points);

// A person's index across the stages over the four level bands: points joined where neighbouring
// stages both have a value, each value written beside its point, a missing value's reason at the
// foot of its stage.
// `decimal` writes the thresholds on the axis.
void DrawIndexCourse(QPainter& painter, const QRectF& area, const QStringList& stageLabels,
                     const std::vector<CoursePoint>& points, const QString& title, QChar decimal);
