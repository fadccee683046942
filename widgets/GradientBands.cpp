#include "widgets/GradientBands.h"

#include "widgets/PixelMath.h"
#include "widgets/SystemColors.h"

#include <QPainter>

#include <algorithm>

namespace {

// A component plus its share of the way after k bands. The increment is kept as a double,
// the product is taken at extended precision.
int componentAt(int from, double increment, int k)
{
    return from + int(RoundEven(static_cast<long double>(k) * increment));
}

} // namespace

std::vector<GradientBand> GradientBands(QRgb from, QRgb to, Qt::Orientation along, const QRect& area,
                                        int steps)
{
    steps = std::max(steps, 1);
    const double dR = double(qRed(to) - qRed(from)) / steps;
    const double dG = double(qGreen(to) - qGreen(from)) / steps;
    const double dB = double(qBlue(to) - qBlue(from)) / steps;

    const int l = area.left();
    const int t = area.top();
    const int r = area.left() + area.width();
    const int b = area.top() + area.height();
    const int start = along == Qt::Horizontal ? l : t;
    const int end = along == Qt::Horizontal ? r : b;
    const double h = double(end - start) / steps;
    const int extra = int(Trunc(h)) + 1;

    std::vector<GradientBand> bands;
    bands.reserve(std::size_t(steps));
    for (int k = 0; k < steps; ++k) {
        const QRgb color = qRgb(componentAt(qRed(from), dR, k), componentAt(qGreen(from), dG, k),
                                componentAt(qBlue(from), dB, k));
        const int near = start + int(RoundEven(static_cast<long double>(k) * h));
        const int far = std::min(near + extra, end);
        const QRect rect = along == Qt::Horizontal ? RectFromEdges(near, t, far, b)
                                                   : RectFromEdges(l, near, r, far);
        bands.push_back({rect, color});
    }
    return bands;
}

void DrawGradientBands(QPainter& painter, TColor from, TColor to, Qt::Orientation along,
                       const QRect& area, int steps)
{
    const auto bands = GradientBands(ResolveColor(from).rgb(), ResolveColor(to).rgb(), along, area, steps);
    for (const GradientBand& band : bands)
        if (!band.rect.isEmpty())
            painter.fillRect(band.rect, QColor(band.color));
}
