#pragma once

#include <QPoint>
#include <QRect>
#include <QSize>

// Where a window of `size` goes when it is centred over `area`, with a negative left or top
// raised to 0.
QPoint CentredPlacement(const QRect& area, const QSize& size);

// Where a window of `size` goes when it is centred on the desktop, the whole area of all
// monitors. Monitors may lie left of or above the primary one, so a negative place is kept;
// only a window larger than the desktop is held at the desktop's top-left corner.
QPoint DesktopCentredPlacement(const QRect& desktop, const QSize& size);
