#include "group_windows/GroupSharesChartWidget.h"

#include "groups/GroupsReport.h"

#include <QPainter>

void GroupSharesChartWidget::setResult(std::shared_ptr<const GroupsResult> result)
{
    m_result = std::move(result);
    update();
}

void GroupSharesChartWidget::draw(QPainter& painter, const QRect& area) const
{
    if (!m_result || m_result->groups.empty())
        return;
    painter.setPen(palette().color(QPalette::WindowText));
    DrawLevelSharesChart(painter, area, *m_result);
}

void GroupSharesChartWidget::paintEvent(QPaintEvent*)
{
    QPainter painter(this);
    painter.setRenderHint(QPainter::Antialiasing);
    draw(painter, rect().adjusted(4, 4, -4, -4));
}
