#pragma once

#include <QImage>

class QWidget;

// An off-screen picture for `widget` on a surface with `ratio` device pixels per logical pixel,
// filled with `background`. Painting on it is in the widget's logical pixels: rectangles with
// whole-pixel edges cover whole blocks of device pixels (at ratio 2 exactly the 1x picture
// scaled up), while text is drawn at the full device resolution. Fonts keep the widget's
// logical DPI, so a text has the same logical size at every ratio.
QImage OffscreenPicture(const QWidget& widget, qreal ratio, QImage::Format format, Qt::GlobalColor background);
