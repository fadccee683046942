#include "app/TransparentPicture.h"

QImage WithTransparentColour(const QImage& picture)
{
    QImage out = picture.convertToFormat(QImage::Format_ARGB32);
    if (out.isNull())
        return out;
    const QRgb key = out.pixel(0, out.height() - 1) | 0xFF000000u;
    for (int y = 0; y < out.height(); ++y) {
        auto* line = reinterpret_cast<QRgb*>(out.scanLine(y));
        for (int x = 0; x < out.width(); ++x)
            line[x] = (line[x] | 0xFF000000u) == key ? qRgba(0, 0, 0, 0) : (line[x] | 0xFF000000u);
    }
    return out;
}

QPixmap LoadTransparentPicture(const QString& path)
{
    return QPixmap::fromImage(WithTransparentColour(QImage(path)));
}
