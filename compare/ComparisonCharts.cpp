#include "compare/ComparisonCharts.h"

#include "compare/PersonCourse.h"
#include "core/EditRules.h"
#include "summary/CountsChart.h"

#include <QFontMetricsF>
#include <QPainter>
#include <QPainterPath>

#include <algorithm>
#include <cmath>

namespace {

QColor LevelTint(AdaptationLevel level)
{
    const TColor c = LevelColorTo(level);
    return QColor(RedOf(c), GreenOf(c), BlueOf(c));
}

// Thin lines scale with the text, so the pictures look alike on a screen and on a 300 dpi page.
qreal Hairline(const QFontMetricsF& metrics)
{
    return std::max(1.0, metrics.height() / 14);
}

// The levels' legend, two entries a row when they fit, else one; returns its height.
qreal DrawLegend(QPainter& painter, const QPointF& topLeft, qreal width, const QFontMetricsF& metrics)
{
    const qreal box = metrics.ascent();
    qreal widest = 0;
    for (AdaptationLevel level : kAllLevels)
        widest = std::max(widest, metrics.horizontalAdvance(LevelText(level)) + box * 2);
    const std::size_t perRow = widest * 2 <= width ? 2 : 1;
    const qreal cell = width / qreal(perRow);
    for (std::size_t i = 0; i < kAllLevels.size(); ++i) {
        const QPointF at(topLeft.x() + qreal(i % perRow) * cell, topLeft.y() + qreal(i / perRow) * metrics.lineSpacing());
        const QRectF sample(at.x(), at.y() + (metrics.height() - box) / 2, box, box);
        painter.fillRect(sample, LevelQColor(kAllLevels[i]));
        painter.drawRect(sample);
        painter.drawText(QPointF(sample.right() + box / 2, at.y() + metrics.ascent()),
                         metrics.elidedText(LevelText(kAllLevels[i]), Qt::ElideRight, cell - box * 2));
    }
    return qreal((kAllLevels.size() + perRow - 1) / perRow) * metrics.lineSpacing();
}

} // namespace

int StageLevelCounts::assessed() const
{
    int sum = 0;
    for (int count : perLevel)
        sum += count;
    return sum;
}

std::vector<StageLevelCounts> StageLevelCountsOf(const Comparison& comparison, const GroupFigures& figures)
{
    std::vector<StageLevelCounts> stages;
    for (std::size_t s = 0; s < comparison.stages.size() && s < figures.stages.size(); ++s) {
        StageLevelCounts stage{comparison.stages[s].input.label, figures.stages[s].counts.perLevel, {}};
        for (std::size_t i = 0; i < stage.perLevel.size(); ++i)
            stage.percent[i] = PercentText(stage.perLevel[i], stage.assessed());
        stages.push_back(std::move(stage));
    }
    return stages;
}

std::array<QRectF, 4> StackedBarParts(const QRectF& bar, const std::array<int, 4>& perLevel)
{
    std::array<QRectF, 4> parts;
    int total = 0;
    for (int count : perLevel)
        total += count;
    // Edges from the running sums, so the parts meet exactly and the top is the bar's top.
    int below = 0;
    for (std::size_t i = 0; i < parts.size(); ++i) {
        if (total == 0 || perLevel[i] == 0) {
            parts[i] = QRectF(bar.left(), bar.bottom() - bar.height() * below / std::max(total, 1), bar.width(), 0);
            continue;
        }
        const qreal bottom = bar.bottom() - bar.height() * below / total;
        below += perLevel[i];
        const qreal top = bar.bottom() - bar.height() * below / total;
        parts[i] = QRectF(bar.left(), top, bar.width(), bottom - top);
    }
    return parts;
}

void DrawLevelShareBars(QPainter& painter, const QRectF& area, const std::vector<StageLevelCounts>& stages)
{
    painter.save();
    const QFontMetricsF metrics(painter.font(), painter.device());
    const QColor ink = painter.pen().color();
    painter.setPen(QPen(ink, Hairline(metrics)));
    const qreal legend = DrawLegend(painter, area.topLeft(), area.width(), metrics);

    // Two lines under each bar: the label and the number assessed.
    const QRectF plot = area.adjusted(0, legend + metrics.lineSpacing() * 0.5, 0, -2 * metrics.lineSpacing());
    const qreal slot = stages.empty() ? plot.width() : plot.width() / qreal(stages.size());
    const qreal barWidth = std::min(slot * 0.6, metrics.horizontalAdvance(QStringLiteral("100,0 %")) * 2.2);
    for (std::size_t s = 0; s < stages.size(); ++s) {
        const StageLevelCounts& stage = stages[s];
        const qreal centre = plot.left() + slot * (qreal(s) + 0.5);
        const QRectF bar(centre - barWidth / 2, plot.top(), barWidth, plot.height());
        const std::array<QRectF, 4> parts = StackedBarParts(bar, stage.perLevel);
        const int assessed = stage.assessed();
        for (std::size_t i = 0; i < parts.size(); ++i) {
            if (parts[i].height() <= 0)
                continue;
            const QColor color = LevelQColor(kAllLevels[i]);
            painter.fillRect(parts[i], color);
            if (parts[i].height() >= metrics.height()) {
                painter.setPen(TextColorOn(color));
                painter.drawText(parts[i], Qt::AlignCenter,
                                 QStringLiteral("%1 %").arg(stage.percent[i]));
            }
        }
        painter.setPen(QPen(ink, Hairline(metrics)));
        if (assessed > 0)
            painter.drawRect(bar);
        else
            painter.drawText(bar, Qt::AlignCenter, QStringLiteral("нет данных"));
        const QRectF under(plot.left() + slot * qreal(s), plot.bottom(), slot, metrics.lineSpacing());
        painter.drawText(under, Qt::AlignHCenter | Qt::AlignBottom,
                         metrics.elidedText(stage.label, Qt::ElideMiddle, slot - metrics.averageCharWidth()));
        painter.drawText(under.translated(0, metrics.lineSpacing()), Qt::AlignHCenter | Qt::AlignBottom,
                         QStringLiteral("n = %1").arg(assessed));
    }
    painter.restore();
}

std::vector<CoursePoint> CoursePointsOf(const ComparisonTable& table, std::size_t stageCount, qsizetype row)
{
    using Column = ComparisonTable::StageColumn;
    const QStringList cells = table.cells(row);
    std::vector<CoursePoint> points;
    for (std::size_t s = 0; s < stageCount; ++s) {
        const QString index = cells.value(table.column(s, Column::Index));
        if (const std::optional<int> hundredths = ShownHundredths(index))
            points.push_back({hundredths, index, cells.value(table.column(s, Column::Level))});
        else
            points.push_back({std::nullopt, cells.value(table.column(s, Column::State))});
    }
    return points;
}

ChartTable LevelSharesTable(const std::vector<StageLevelCounts>& stages)
{
    ChartTable table{{QStringLiteral("Этап"), QStringLiteral("Уровень адаптации"), QStringLiteral("Число"),
                      QStringLiteral("Доля, %")},
                     {}};
    for (const StageLevelCounts& stage : stages) {
        for (std::size_t i = 0; i < kAllLevels.size(); ++i)
            table.rows.append({stage.label, LevelText(kAllLevels[i]), QString::number(stage.perLevel[i]), stage.percent[i]});
    }
    return table;
}

ChartTable IndexCourseTable(const QStringList& stageLabels, const std::vector<CoursePoint>& points)
{
    ChartTable table{{QStringLiteral("Этап"), QStringLiteral("ИФИ"), QStringLiteral("Уровень адаптации")}, {}};
    for (std::size_t s = 0; s < points.size(); ++s)
        table.rows.append({stageLabels.value(qsizetype(s)), points[s].text, points[s].level});
    return table;
}

double IndexScale::y(double index) const
{
    return plot.bottom() - plot.height() * (index - low) / (high - low);
}

IndexScale IndexScaleFor(const QRectF& plot, const std::vector<CoursePoint>& points)
{
    // The middle bands are narrow; the outer ones get as much room as the widest middle one.
    const double first = double(kLevelThresholds[0]);
    const double last = double(kLevelThresholds[std::size(kLevelThresholds) - 1]);
    IndexScale scale{plot, first - 0.6, last + 0.6};
    for (const CoursePoint& point : points) {
        if (!point.hundredths)
            continue;
        const double value = *point.hundredths / 100.0;
        scale.low = std::min(scale.low, std::floor(value * 10 - 1) / 10);
        scale.high = std::max(scale.high, std::ceil(value * 10 + 1) / 10);
    }
    return scale;
}

std::array<QRectF, 4> LevelBands(const IndexScale& scale)
{
    std::array<QRectF, 4> bands;
    double from = scale.low;
    for (std::size_t i = 0; i < bands.size(); ++i) {
        const double to = i < std::size(kLevelThresholds) ? double(kLevelThresholds[i]) : scale.high;
        bands[i] = QRectF(QPointF(scale.plot.left(), scale.y(to)), QPointF(scale.plot.right(), scale.y(from)));
        from = to;
    }
    return bands;
}

void DrawIndexCourse(QPainter& painter, const QRectF& area, const QStringList& stageLabels,
                     const std::vector<CoursePoint>& points, const QString& title, QChar decimal)
{
    painter.save();
    painter.setRenderHint(QPainter::Antialiasing);
    const QFontMetricsF metrics(painter.font(), painter.device());
    const QColor ink = painter.pen().color();
    const qreal line = Hairline(metrics);
    const QString sample = FixedDecimalText(kLevelThresholds[0], 2, decimal);
    const qreal axis = metrics.horizontalAdvance(sample) + metrics.averageCharWidth();
    painter.drawText(QRectF(area.left(), area.top(), area.width(), metrics.lineSpacing()), Qt::AlignLeft,
                     metrics.elidedText(title, Qt::ElideRight, area.width()));
    const QRectF plot = area.adjusted(axis, metrics.lineSpacing() * 1.5, 0, -2 * metrics.lineSpacing());
    const IndexScale scale = IndexScaleFor(plot, points);

    const std::array<QRectF, 4> bands = LevelBands(scale);
    for (std::size_t i = 0; i < bands.size(); ++i) {
        painter.fillRect(bands[i], LevelTint(kAllLevels[i]));
        painter.setPen(QColor(0x40, 0x40, 0x40));
        const QRectF caption = bands[i].adjusted(metrics.averageCharWidth(), 0, -metrics.averageCharWidth(), 0);
        if (caption.height() >= metrics.height())
            painter.drawText(caption, Qt::AlignRight | Qt::AlignVCenter,
                             metrics.elidedText(LevelText(kAllLevels[i]), Qt::ElideRight, caption.width()));
    }
    painter.setPen(QPen(ink, line));
    for (long double threshold : kLevelThresholds) {
        const qreal y = scale.y(double(threshold));
        painter.drawLine(QPointF(plot.left() - metrics.averageCharWidth() / 2, y), QPointF(plot.left(), y));
        painter.drawText(QRectF(area.left(), y - metrics.height() / 2, axis - metrics.averageCharWidth(), metrics.height()),
                         Qt::AlignRight | Qt::AlignVCenter, FixedDecimalText(threshold, 2, decimal));
    }
    painter.setBrush(Qt::NoBrush);
    painter.drawRect(plot);

    const qreal slot = points.empty() ? plot.width() : plot.width() / qreal(points.size());
    const auto x = [&](std::size_t s) { return plot.left() + slot * (qreal(s) + 0.5); };
    QPainterPath course;
    bool joined = false;
    for (std::size_t s = 0; s < points.size(); ++s) {
        if (!points[s].hundredths) {
            joined = false;
            continue;
        }
        const QPointF at(x(s), scale.y(*points[s].hundredths / 100.0));
        if (joined)
            course.lineTo(at);
        else
            course.moveTo(at);
        joined = true;
    }
    painter.setPen(QPen(ink, line * 2.5));
    painter.drawPath(course);
    painter.setPen(QPen(ink, line));
    const qreal dot = metrics.ascent() * 0.35;
    for (std::size_t s = 0; s < points.size(); ++s) {
        const QRectF under(plot.left() + slot * qreal(s), plot.bottom(), slot, metrics.lineSpacing());
        painter.drawText(under, Qt::AlignHCenter | Qt::AlignBottom,
                         metrics.elidedText(stageLabels.value(qsizetype(s)), Qt::ElideMiddle, slot));
        if (!points[s].hundredths) {
            painter.drawText(under.translated(0, metrics.lineSpacing()), Qt::AlignHCenter | Qt::AlignBottom,
                             metrics.elidedText(points[s].text, Qt::ElideRight, slot));
            continue;
        }
        const QPointF at(x(s), scale.y(*points[s].hundredths / 100.0));
        painter.setBrush(ink);
        painter.drawEllipse(at, dot, dot);
        painter.setBrush(Qt::NoBrush);
        // On a white ground, so a band's caption under it does not blur the value.
        const QRectF value(at.x() + dot * 2, at.y() - metrics.height() - dot,
                           metrics.horizontalAdvance(points[s].text) + dot * 2, metrics.height());
        painter.fillRect(value, Qt::white);
        painter.drawText(value, Qt::AlignCenter, points[s].text);
    }
    painter.restore();
}
