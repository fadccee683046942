#pragma once

#include "core/Colors.h"

#include <QColor>
#include <QRect>

#include <vector>

class QPainter;

// One band of a stepped gradient: where it goes and its colour.
struct GradientBand
{
    QRect rect;
    QRgb color;
};

// The bands that fill `area` from `from` towards `to` in `steps` bands along `along`
// (Qt::Horizontal: left to right, Qt::Vertical: top to bottom), in painting order.
// Zero or negative steps count as one. Bands overlap when a band is narrower than a
// pixel; a later band paints over an earlier one. The `to` colour itself is never reached.
std::vector<GradientBand> GradientBands(QRgb from, QRgb to, Qt::Orientation along, const QRect& area,
                                        int steps);

// Fills `area` with the bands above; the colours are resolved at this moment.
void DrawGradientBands(QPainter& painter, TColor from, TColor to, Qt::Orientation along,
                       const QRect& area, int steps);
