#pragma once

#include <QPoint>
#include <QRect>
#include <QSize>

// Where a window of `size` goes when it is centred over `area`, with a negative left or top
// raised to 0.
QPoint CentredPlacement(const QRect& area, const QSize& size);
