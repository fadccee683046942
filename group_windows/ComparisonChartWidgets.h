#pragma once

#include "compare/ComparisonCharts.h"
#include "group_windows/ChartTableWidget.h"

// The comparison's two pictures on the screen; the painting itself is compare/'s.

// In the widget's font, so larger type gets a larger picture: at least as wide as the longest
// level's name beside its mark, `extraChars` wider, and `lines` lines high.
QSize PictureSize(const QWidget& picture, int extraChars, int lines);

class LevelSharesWidget : public ChartTableWidget
{
    Q_OBJECT

public:
    using ChartTableWidget::ChartTableWidget;

    void setStages(std::vector<StageLevelCounts> stages);
    const std::vector<StageLevelCounts>& stages() const { return m_stages; }
    ChartTable chartTable() const override { return LevelSharesTable(m_stages); }
    QSize sizeHint() const override { return PictureSize(*this, 12, 16); }
    QSize minimumSizeHint() const override { return PictureSize(*this, 2, 11); }

protected:
    void paintEvent(QPaintEvent* event) override;

private:
    std::vector<StageLevelCounts> m_stages;
};

class IndexCourseWidget : public ChartTableWidget
{
    Q_OBJECT

public:
    using ChartTableWidget::ChartTableWidget;

    // `points` empty: nobody chosen.
    void setCourse(const QString& title, const QStringList& stageLabels, std::vector<CoursePoint> points);
    const QString& title() const { return m_title; }
    const std::vector<CoursePoint>& points() const { return m_points; }
    ChartTable chartTable() const override { return IndexCourseTable(m_labels, m_points); }
    QSize sizeHint() const override { return PictureSize(*this, 12, 16); }
    QSize minimumSizeHint() const override { return PictureSize(*this, 2, 11); }

protected:
    void paintEvent(QPaintEvent* event) override;

private:
    QString m_title;
    QStringList m_labels;
    std::vector<CoursePoint> m_points;
};
