#include "widgets/OffscreenPicture.h"

#include <QWidget>

#include <cmath>

QImage OffscreenPicture(const QWidget& widget, qreal ratio, QImage::Format format, Qt::GlobalColor background)
{
    if (!(ratio > 0))
        ratio = 1;
    const QSize device(int(std::ceil(widget.width() * ratio)), int(std::ceil(widget.height() * ratio)));
    QImage image(device, format);
    image.setDevicePixelRatio(ratio);
    image.setDotsPerMeterX(qRound(widget.logicalDpiX() / 0.0254));
    image.setDotsPerMeterY(qRound(widget.logicalDpiY() / 0.0254));
    image.fill(background);
    return image;
}
