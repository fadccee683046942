#include "app/GroupBox.h"

#include "core/Colors.h"
#include "widgets/SystemColors.h"

#include <QFontMetrics>
#include <QImage>
#include <QPainter>
#include <gtest/gtest.h>

namespace {

TEST(TGroupBox, FlatFrameThroughTheCaptionMiddleCaptionOnTheBackground)
{
    TGroupBox box;
    box.resize(100, 60);
    box.setTitle(" Результаты ");
    QImage image(box.size(), QImage::Format_ARGB32);
    image.fill(Qt::transparent);
    QPainter painter(&image);
    box.paint(painter);
    painter.end();

    const QFontMetrics metrics(box.font());
    const int line = metrics.height() / 2;
    const QRgb shadow = ResolveColor(clBtnShadow).rgba();
    EXPECT_EQ(image.pixel(0, line), shadow);
    EXPECT_EQ(image.pixel(4, line), shadow); // left of the caption
    EXPECT_EQ(image.pixel(99, 30), shadow);
    EXPECT_EQ(image.pixel(50, 59), shadow);
    EXPECT_EQ(image.pixel(0, 59), shadow);
    EXPECT_EQ(qAlpha(image.pixel(0, line - 1)), 0);
    EXPECT_EQ(qAlpha(image.pixel(50, 30)), 0); // the inside is the parent's
    // The caption's background hides the line (its leading space is blank).
    EXPECT_EQ(image.pixel(9, line), ResolveColor(clBtnFace).rgba());
}

} // namespace
