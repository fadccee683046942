#pragma once

#include "summary/SummaryCounts.h"
#include "group_windows/ChartTableWidget.h"

// The group's counts per level and per balance as a small bar chart.
class CountsChartWidget : public ChartTableWidget
{
    Q_OBJECT

public:
    using ChartTableWidget::ChartTableWidget;

    void setCounts(const SummaryCounts& counts);
    const SummaryCounts& counts() const { return m_counts; }
    void draw(QPainter& painter, const QRect& area) const;
    ChartTable chartTable() const override { return CountsChartTable(m_counts); }
    // Every bar a line of the widget's font high, so larger type gets a taller chart.
    QSize sizeHint() const override;
    QSize minimumSizeHint() const override { return sizeHint(); }

protected:
    void paintEvent(QPaintEvent* event) override;

private:
    SummaryCounts m_counts;
};
