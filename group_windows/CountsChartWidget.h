#pragma once

#include "summary/SummaryCounts.h"

#include <QWidget>

// The group's counts per level and per balance as a small bar chart.
class CountsChartWidget : public QWidget
{
    Q_OBJECT

public:
    using QWidget::QWidget;

    void setCounts(const SummaryCounts& counts);
    const SummaryCounts& counts() const { return m_counts; }
    void draw(QPainter& painter, const QRect& area) const;
    QSize sizeHint() const override { return {520, 150}; }

protected:
    void paintEvent(QPaintEvent* event) override;

private:
    SummaryCounts m_counts;
};
