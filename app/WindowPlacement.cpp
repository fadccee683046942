#include "app/WindowPlacement.h"

#include <QtGlobal>

namespace {

QPoint Centred(const QRect& area, const QSize& size)
{
    return {area.left() + (area.width() - size.width()) / 2, area.top() + (area.height() - size.height()) / 2};
}

} // namespace

QPoint CentredPlacement(const QRect& area, const QSize& size)
{
    const QPoint centred = Centred(area, size);
    return {qMax(centred.x(), 0), qMax(centred.y(), 0)};
}

QPoint DesktopCentredPlacement(const QRect& desktop, const QSize& size)
{
    const QPoint centred = Centred(desktop, size);
    return {qMax(centred.x(), desktop.left()), qMax(centred.y(), desktop.top())};
}
