#include "app/Panel.h"

#include "core/Colors.h"
#include "widgets/SystemColors.h"

#include <QPainter>

namespace {

// One ring of a 3-D frame on (left, top)-(right, bottom), both corners inclusive: the left
// column and the top row in the light colour, then the right column and the bottom row in the
// dark one, which thus owns the top-right and bottom-left corners.
void drawRing(QPainter& painter, int left, int top, int right, int bottom, const QColor& light,
              const QColor& dark)
{
    painter.fillRect(QRect(QPoint(left, top), QPoint(left, bottom)), light);
    painter.fillRect(QRect(QPoint(left, top), QPoint(right - 1, top)), light);
    painter.fillRect(QRect(QPoint(right, top), QPoint(right, bottom)), dark);
    painter.fillRect(QRect(QPoint(left, bottom), QPoint(right, bottom)), dark);
}

} // namespace

TPanel::TPanel(QWidget* parent) : QWidget(parent) {}

void TPanel::setBevelWidth(int width)
{
    m_bevelWidth = width;
    update();
}

void TPanel::setSingleBorder(bool single)
{
    m_singleBorder = single;
    update();
}

void TPanel::paint(QPainter& painter) const
{
    QRect area = rect();
    painter.fillRect(area, ResolveColor(clBtnFace));
    if (m_singleBorder) {
        // The flat border is the window-frame colour, black.
        const QColor line = ResolveColor(clBlack);
        drawRing(painter, area.left(), area.top(), area.right(), area.bottom(), line, line);
        area.adjust(1, 1, -1, -1);
    }
    const QColor light = ResolveColor(clBtnHighlight);
    const QColor dark = ResolveColor(clBtnShadow);
    for (int ring = 0; ring < m_bevelWidth && area.isValid(); ++ring) {
        drawRing(painter, area.left(), area.top(), area.right(), area.bottom(), light, dark);
        area.adjust(1, 1, -1, -1);
    }
}

void TPanel::paintEvent(QPaintEvent*)
{
    QPainter painter(this);
    paint(painter);
}
