#pragma once

#include <QImage>
#include <QPixmap>
#include <QString>

// Pictures stored with a transparent colour: every pixel of the colour of the bottom-left pixel
// is made fully transparent, every other pixel stays as it is (and opaque).
QImage WithTransparentColour(const QImage& picture);

// Loads a picture (a resource path) and applies WithTransparentColour.
QPixmap LoadTransparentPicture(const QString& path);
