#include "group_windows/CountsChartWidget.h"

#include "summary/CountsChart.h"

#include <QPainter>

void CountsChartWidget::setCounts(const SummaryCounts& counts)
{
    m_counts = counts;
    figuresChanged();
}

void CountsChartWidget::draw(QPainter& painter, const QRect& area) const
{
    painter.setPen(palette().color(QPalette::WindowText));
    DrawCountsChart(painter, area, m_counts);
}

void CountsChartWidget::paintEvent(QPaintEvent*)
{
    QPainter painter(this);
    draw(painter, rect().adjusted(4, 4, -4, -4));
    drawFocusFrame(painter);
}

QSize CountsChartWidget::sizeHint() const
{
    const int bars = int(kAllLevels.size() + kAllBalances.size());
    return {fontMetrics().averageCharWidth() * 75, bars * (fontMetrics().height() + 2) + 6 + 8};
}
