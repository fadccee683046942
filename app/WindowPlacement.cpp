#include "app/WindowPlacement.h"

#include <QtGlobal>

QPoint CentredPlacement(const QRect& area, const QSize& size)
{
    const int left = area.left() + (area.width() - size.width()) / 2;
    const int top = area.top() + (area.height() - size.height()) / 2;
    return {qMax(left, 0), qMax(top, 0)};
}
