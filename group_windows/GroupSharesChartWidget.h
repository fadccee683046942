#pragma once

#include "groups/GroupsComputation.h"

#include <QWidget>

#include <memory>

// The groups' level shares as a grouped bar chart on the screen; the painting is the report's.
class GroupSharesChartWidget : public QWidget
{
    Q_OBJECT

public:
    using QWidget::QWidget;

    // Null: nothing worked out yet, an empty picture.
    void setResult(std::shared_ptr<const GroupsResult> result);
    const GroupsResult* result() const { return m_result.get(); }
    void draw(QPainter& painter, const QRect& area) const;
    QSize sizeHint() const override { return {420, 260}; }

protected:
    void paintEvent(QPaintEvent* event) override;

private:
    std::shared_ptr<const GroupsResult> m_result;
};
