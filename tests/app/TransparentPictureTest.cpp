#include "app/TransparentPicture.h"

#include <QImage>
#include <gtest/gtest.h>

namespace {

constexpr QRgb kMagenta = 0xFFFF00FF;
constexpr QRgb kBlue = 0xFF2050D0;
constexpr QRgb kAlmostMagenta = 0xFFFF00FE;

QImage picture(QRgb background)
{
    QImage image(4, 3, QImage::Format_RGB32);
    image.fill(background);
    image.setPixel(1, 1, kBlue);
    image.setPixel(2, 1, kAlmostMagenta);
    return image;
}

TEST(WithTransparentColour, BottomLeftColourBecomesTransparentOthersStayOpaque)
{
    const QImage out = WithTransparentColour(picture(kMagenta));
    ASSERT_EQ(out.size(), QSize(4, 3));
    for (int y = 0; y < 3; ++y) {
        for (int x = 0; x < 4; ++x) {
            SCOPED_TRACE(testing::Message() << x << "," << y);
            if (x == 1 && y == 1)
                EXPECT_EQ(out.pixel(x, y), kBlue);
            else if (x == 2 && y == 1)
                EXPECT_EQ(out.pixel(x, y), kAlmostMagenta); // only the exact colour goes
            else
                EXPECT_EQ(qAlpha(out.pixel(x, y)), 0);
        }
    }
}

TEST(WithTransparentColour, KeyIsWhateverTheBottomLeftPixelHolds)
{
    QImage source = picture(kMagenta);
    source.setPixel(0, 2, kBlue);
    const QImage out = WithTransparentColour(source);
    EXPECT_EQ(qAlpha(out.pixel(1, 1)), 0);
    EXPECT_EQ(qAlpha(out.pixel(0, 2)), 0);
    EXPECT_EQ(out.pixel(0, 0), kMagenta);
}

struct AssetCase
{
    const char* path;
    QSize size;
    QRgb key;
};

TEST(TransparentPictures, AssetsCarryTheirKeyColourInTheBottomLeftCorner)
{
    const AssetCase assets[] = {
        {":/assets/tick.png", {16, 14}, kMagenta},
        {":/assets/error.png", {39, 39}, kMagenta},
        {":/assets/about.png", {36, 36}, 0xFF00FF00},
    };
    for (const AssetCase& asset : assets) {
        SCOPED_TRACE(asset.path);
        const QImage raw(QString::fromLatin1(asset.path));
        ASSERT_EQ(raw.size(), asset.size);
        EXPECT_EQ(raw.pixel(0, raw.height() - 1), asset.key);
        const QImage out = LoadTransparentPicture(QString::fromLatin1(asset.path)).toImage();
        EXPECT_EQ(qAlpha(out.pixel(0, 0)), 0);
        EXPECT_EQ(qAlpha(out.pixel(out.width() / 2, out.height() / 2)), 255);
    }
}

} // namespace
