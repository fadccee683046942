#include "widgets/GradientBands.h"

#include <QImage>
#include <QPainter>
#include <gtest/gtest.h>

namespace {

QImage paintBands(TColor from, TColor to, Qt::Orientation along, const QRect& area, int steps, QSize size)
{
    QImage image(size, QImage::Format_RGB32);
    image.fill(Qt::white);
    QPainter painter(&image);
    DrawGradientBands(painter, from, to, along, area, steps);
    return image;
}

} // namespace

TEST(GradientBands, BandPlacementAndColours)
{
    // Pale green to green over one 13-pixel half of the level bar, 100 bands of 0.13 px.
    const auto bands = GradientBands(qRgb(225, 255, 225), qRgb(0, 255, 0), Qt::Horizontal, QRect(1, 0, 13, 5), 100);
    ASSERT_EQ(bands.size(), 100u);
    struct Row { const char* name; int k; QRect rect; QRgb color; };
    const Row rows[] = {
        {"first band one pixel wide", 0, QRect(1, 0, 1, 5), qRgb(225, 255, 225)},
        {"-2.25 x 3 rounds to -7", 3, QRect(1, 0, 1, 5), qRgb(218, 255, 218)},
        {"0.13 x 4 rounds to 1", 4, QRect(2, 0, 1, 5), qRgb(216, 255, 216)},
        {"-2.25 x 2 = -4.5 goes to the even -4", 2, QRect(1, 0, 1, 5), qRgb(221, 255, 221)},
        // 50 x 0.13 (as a double, a hair above 0.13) stays above 6.5 at extended precision.
        {"extended product of the band size", 50, QRect(8, 0, 1, 5), qRgb(113, 255, 113)},
        {"bands past the end are empty", 97, QRect(14, 0, 0, 5), qRgb(7, 255, 7)},
    };
    for (const Row& row : rows) {
        SCOPED_TRACE(row.name);
        EXPECT_EQ(bands[std::size_t(row.k)].rect, row.rect);
        EXPECT_EQ(bands[std::size_t(row.k)].color, row.color);
    }
}

TEST(GradientBands, ExtendedProductOfColourIncrementStaysBelowHalf)
{
    // 30 x -0.85: through doubles the product becomes -25.5 and would round to -26.
    const auto bands = GradientBands(qRgb(255, 211, 168), qRgb(255, 169, 83), Qt::Horizontal, QRect(0, 0, 100, 1), 100);
    EXPECT_EQ(qBlue(bands[30].color), 168 - 25);
    // 25 x -0.42 stays just below 10.5 at either precision.
    EXPECT_EQ(qGreen(bands[25].color), 211 - 10);
}

TEST(GradientBands, ZeroStepsIsOneFlatBandInTheFromColour)
{
    for (const int steps : {0, -3, 1}) {
        SCOPED_TRACE(steps);
        const QImage image = paintBands(0x00E1FFE1, clLime, Qt::Horizontal, QRect(1, 1, 13, 3), steps, QSize(16, 5));
        for (int x = 1; x < 14; ++x)
            EXPECT_EQ(image.pixel(x, 2), qRgb(225, 255, 225)) << x;
        EXPECT_EQ(image.pixel(14, 2), qRgb(255, 255, 255));
        EXPECT_EQ(image.pixel(1, 0), qRgb(255, 255, 255));
    }
}

TEST(GradientBands, OnePixelBandsShowTheLastBandStartingInEachColumn)
{
    const QImage image = paintBands(0x00E1FFE1, clLime, Qt::Horizontal, QRect(1, 0, 13, 2), 100, QSize(15, 2));
    EXPECT_EQ(image.pixel(1, 0), qRgb(218, 255, 218));  // bands 0..3 start in column 0
    EXPECT_EQ(image.pixel(13, 0), qRgb(9, 255, 9));     // band 96 is the last to start in column 12
    EXPECT_EQ(image.pixel(14, 0), qRgb(255, 255, 255)); // nothing beyond the area
}

TEST(GradientBands, VerticalBandsRunTopToBottom)
{
    const QImage image = paintBands(clBlack, clWhite, Qt::Vertical, QRect(0, 0, 2, 4), 4, QSize(2, 4));
    const int expected[] = {0, 64, 128, 191}; // 63.75 k rounded: 0, 64, 128 (127.5 -> even), 191
    for (int y = 0; y < 4; ++y)
        EXPECT_EQ(image.pixel(1, y), qRgb(expected[y], expected[y], expected[y])) << y;
}
