#include "app/Bevel.h"

#include "core/Colors.h"
#include "widgets/SystemColors.h"

#include <QPainter>

TBevel::TBevel(QWidget* parent) : QWidget(parent) {}

void TBevel::setShape(TBevelShape shape)
{
    m_shape = shape;
    update();
}

void TBevel::setStyle(TBevelStyle style)
{
    m_style = style;
    update();
}

void TBevel::paint(QPainter& painter) const
{
    // A lowered line has its shadow first (top or left), a raised one its highlight.
    const QColor first = ResolveColor(m_style == bsLowered ? clBtnShadow : clBtnHighlight);
    const QColor second = ResolveColor(m_style == bsLowered ? clBtnHighlight : clBtnShadow);
    const int w = width();
    const int h = height();
    switch (m_shape) {
    case bsTopLine:
        painter.fillRect(0, 0, w, 1, first);
        painter.fillRect(0, 1, w, 1, second);
        break;
    case bsBottomLine:
        painter.fillRect(0, h - 2, w, 1, first);
        painter.fillRect(0, h - 1, w, 1, second);
        break;
    case bsLeftLine:
        painter.fillRect(0, 0, 1, h, first);
        painter.fillRect(1, 0, 1, h, second);
        break;
    case bsRightLine:
        painter.fillRect(w - 2, 0, 1, h, first);
        painter.fillRect(w - 1, 0, 1, h, second);
        break;
    }
}

void TBevel::paintEvent(QPaintEvent*)
{
    QPainter painter(this);
    paint(painter);
}
