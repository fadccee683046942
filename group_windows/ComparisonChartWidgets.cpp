#include "group_windows/ComparisonChartWidgets.h"

#include "core/RegionalSettings.h"
#include "group_windows/ColumnWidths.h"

#include <QPainter>

QSize PictureSize(const QWidget& picture, int extraChars, int lines)
{
    const QFontMetrics& metrics = picture.fontMetrics();
    return {LevelColumnWidth(metrics) + CharsWidth(metrics, extraChars), metrics.lineSpacing() * lines};
}

void LevelSharesWidget::setStages(std::vector<StageLevelCounts> stages)
{
    m_stages = std::move(stages);
    figuresChanged();
}

void LevelSharesWidget::paintEvent(QPaintEvent*)
{
    QPainter painter(this);
    painter.setPen(palette().color(QPalette::WindowText));
    DrawLevelShareBars(painter, QRectF(rect().adjusted(4, 4, -4, -4)), m_stages);
    drawFocusFrame(painter);
}

void IndexCourseWidget::setCourse(const QString& title, const QStringList& stageLabels, std::vector<CoursePoint> points)
{
    m_title = title;
    m_labels = stageLabels;
    m_points = std::move(points);
    figuresChanged();
}

void IndexCourseWidget::paintEvent(QPaintEvent*)
{
    QPainter painter(this);
    painter.setPen(palette().color(QPalette::WindowText));
    if (m_points.empty()) {
        painter.drawText(rect(), Qt::AlignCenter | Qt::TextWordWrap,
                         QStringLiteral("Выберите человека в таблице, чтобы увидеть его ИФИ по этапам"));
        drawFocusFrame(painter);
        return;
    }
    DrawIndexCourse(painter, QRectF(rect().adjusted(4, 4, -4, -4)), m_labels, m_points, m_title,
                    regionalSettings().decimalSeparator());
    drawFocusFrame(painter);
}
