#include "app/Bevel.h"
#include "app/Panel.h"

#include "core/Colors.h"
#include "widgets/SystemColors.h"

#include <QImage>
#include <QPainter>
#include <gtest/gtest.h>

namespace {

template <class Widget>
QImage paintOnImage(const Widget& widget)
{
    QImage image(widget.size(), QImage::Format_ARGB32);
    image.fill(Qt::transparent);
    QPainter painter(&image);
    widget.paint(painter);
    return image;
}

QRgb rgb(TColor color)
{
    return ResolveColor(color).rgba();
}

struct LineCase
{
    TBevel::TBevelShape shape;
    QPoint first;  // a pixel of the first (shadow) line
    QPoint second; // a pixel of the second (highlight) line
    QPoint untouched;
};

TEST(TBevel, LoweredLinesShadowThenHighlight)
{
    const LineCase cases[] = {
        {TBevel::bsTopLine, {5, 0}, {5, 1}, {5, 2}},
        {TBevel::bsBottomLine, {5, 8}, {5, 9}, {5, 7}},
        {TBevel::bsLeftLine, {0, 5}, {1, 5}, {2, 5}},
        {TBevel::bsRightLine, {8, 5}, {9, 5}, {7, 5}},
    };
    for (const LineCase& c : cases) {
        SCOPED_TRACE(int(c.shape));
        TBevel bevel;
        bevel.resize(10, 10);
        bevel.setShape(c.shape);
        const QImage image = paintOnImage(bevel);
        EXPECT_EQ(image.pixel(c.first), rgb(clBtnShadow));
        EXPECT_EQ(image.pixel(c.second), rgb(clBtnHighlight));
        EXPECT_EQ(qAlpha(image.pixel(c.untouched)), 0);
    }
}

TEST(TBevel, RaisedSwapsTheColours)
{
    TBevel bevel;
    bevel.resize(9, 150);
    bevel.setShape(TBevel::bsRightLine);
    bevel.setStyle(TBevel::bsRaised);
    const QImage image = paintOnImage(bevel);
    EXPECT_EQ(image.pixel(7, 0), rgb(clBtnHighlight));
    EXPECT_EQ(image.pixel(8, 149), rgb(clBtnShadow));
}

TEST(TPanel, FlatBorderThenThreeRaisedRingsThenFace)
{
    TPanel panel;
    panel.resize(12, 10);
    panel.setSingleBorder(true);
    panel.setBevelWidth(3);
    const QImage image = paintOnImage(panel);
    const QRgb black = rgb(clBlack), light = rgb(clBtnHighlight), dark = rgb(clBtnShadow), face = rgb(clBtnFace);
    struct Pixel
    {
        int x, y;
        QRgb colour;
    };
    const Pixel expected[] = {
        {0, 0, black}, {11, 9, black}, {0, 9, black}, {11, 0, black},
        {1, 1, light}, {9, 1, light}, {1, 7, light}, {10, 1, dark}, {1, 8, dark}, {10, 8, dark},
        {2, 2, light}, {9, 2, dark},  {2, 7, dark},  {3, 3, light}, {3, 6, dark}, {8, 3, dark},
        {4, 4, face},  {7, 5, face},
    };
    for (const Pixel& p : expected) {
        SCOPED_TRACE(testing::Message() << p.x << "," << p.y);
        EXPECT_EQ(image.pixel(p.x, p.y), p.colour);
    }
}

TEST(TPanel, WithoutBorderTheBevelStartsAtTheEdge)
{
    TPanel panel;
    panel.resize(6, 6);
    panel.setBevelWidth(1);
    const QImage image = paintOnImage(panel);
    EXPECT_EQ(image.pixel(0, 0), rgb(clBtnHighlight));
    EXPECT_EQ(image.pixel(5, 5), rgb(clBtnShadow));
    EXPECT_EQ(image.pixel(2, 2), rgb(clBtnFace));
}

} // namespace
