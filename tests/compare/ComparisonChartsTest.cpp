#include "compare/ComparisonCharts.h"

#include "summary/CountsChart.h"

#include <QImage>
#include <QPainter>
#include <gtest/gtest.h>

namespace {

const QRectF kBar(10, 20, 30, 200);

// Parts stand on each other from the bar's foot, each as tall as its share; nobody, no parts.
TEST(StackedBarParts, AreProportionalToTheSharesAndStackFromTheFoot)
{
    const std::array<int, 4> counts{1, 0, 3, 4};
    const std::array<QRectF, 4> parts = StackedBarParts(kBar, counts);
    qreal foot = kBar.bottom();
    for (std::size_t i = 0; i < parts.size(); ++i) {
        EXPECT_DOUBLE_EQ(parts[i].height(), kBar.height() * counts[i] / 8) << i;
        EXPECT_DOUBLE_EQ(parts[i].bottom(), foot) << i;
        EXPECT_DOUBLE_EQ(parts[i].width(), kBar.width());
        foot = parts[i].top();
    }
    EXPECT_DOUBLE_EQ(foot, kBar.top());
    for (const QRectF& part : StackedBarParts(kBar, {0, 0, 0, 0}))
        EXPECT_DOUBLE_EQ(part.height(), 0);
}

// The bands' edges lie where the scale puts the level thresholds, whatever range it shows.
TEST(LevelBands, EdgesLieAtTheLevelThresholds)
{
    const QRectF plot(0, 0, 100, 300);
    for (const int extreme : {0, 250, 900}) {
        const IndexScale scale = IndexScaleFor(plot, {{extreme, QString()}, {std::nullopt, QStringLiteral("нет")}});
        EXPECT_LE(scale.low, extreme / 100.0);
        EXPECT_GE(scale.high, extreme / 100.0);
        const std::array<QRectF, 4> bands = LevelBands(scale);
        EXPECT_DOUBLE_EQ(bands[0].bottom(), plot.bottom());
        EXPECT_DOUBLE_EQ(bands[3].top(), plot.top());
        for (std::size_t i = 0; i < std::size(kLevelThresholds); ++i) {
            EXPECT_DOUBLE_EQ(bands[i].top(), scale.y(double(kLevelThresholds[i]))) << i;
            EXPECT_DOUBLE_EQ(bands[i + 1].bottom(), bands[i].top()) << i;
        }
    }
}

// Painted, each part wears its own level's colour.
TEST(LevelShareBars, PaintEachPartInItsLevelColour)
{
    QImage image(400, 300, QImage::Format_RGB32);
    image.fill(Qt::white);
    StageLevelCounts stage{QStringLiteral("2026-09"), {1, 1, 1, 1}, {}};
    {
        QPainter painter(&image);
        DrawLevelShareBars(painter, QRectF(image.rect()), {stage});
    }
    // The bar is centred: probe its middle column at each part's mid-height, from the foot up.
    int found = 0;
    std::size_t level = 0;
    for (int y = image.height() - 1; y >= 0 && level < kAllLevels.size(); --y) {
        if (image.pixelColor(200, y) == LevelQColor(kAllLevels[level])) {
            ++found;
            ++level;
        }
    }
    EXPECT_EQ(found, 4);
}

} // namespace
