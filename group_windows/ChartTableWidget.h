#pragma once

#include "summary/CountsChart.h"

#include <QWidget>

class QPainter;

// A picture with a table behind it: it takes the focus, and assistive technology reads its
// figures as a table (a row per bar or point) instead of a nameless picture.
class ChartTableWidget : public QWidget
{
    Q_OBJECT

public:
    explicit ChartTableWidget(QWidget* parent = nullptr);

    virtual ChartTable chartTable() const = 0;

protected:
    // Readers drop what they know of the old figures; call after every change.
    void figuresChanged();
    void drawFocusFrame(QPainter& painter) const;
};
