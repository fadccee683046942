#include "widgets/AdvProgressBar.h"

#include "tests/widgets/MainBar.h"

#include <QCoreApplication>
#include <QPaintEvent>
#include <gtest/gtest.h>

namespace {

constexpr QRgb kWhite = qRgb(255, 255, 255);
constexpr QRgb kBlack = qRgb(0, 0, 0);

const LevelScheme kMainScheme{{LevelPair{clLime, 0x00E1FFE1}, LevelPair{0x0053A9FF, 0x00A8D3FF},
                               LevelPair{clRed, 0x00CACAFF}, LevelPair{clBlack, clSilver}},
                              110,
                              120};

QImage mainBarAt(int position, int steps = 100)
{
    TAdvProgressBar bar;
    configureMainBar(bar);
    bar.setSteps(steps);
    bar.setPosition(position);
    return bar.render();
}

// The first row of the inner area that is not background, -1 if none.
int firstFilledRow(const QImage& image)
{
    for (int y = 1; y < image.height() - 1; ++y)
        if (image.pixel(14, y) != kWhite)
            return y;
    return -1;
}

} // namespace

TEST(ProgressBarGeometry, FillLengthOnTheMainBar)
{
    struct Row { int position; int rows; };
    const Row rows[] = {{0, 0}, {21, 18}, {50, 44}, {100, 87}, {110, 96}, {-5, -4}};
    for (const Row& row : rows)
        EXPECT_EQ(SmoothFillLength(row.position, 87), row.rows) << row.position;
    EXPECT_EQ(BlockFillLength(50, 87), 44);
}

TEST(ProgressBarGeometry, LevelPairByPosition)
{
    struct Row { const char* name; int level1Perc; int level2Perc; int position; int level; };
    const Row rows[] = {
        {"main bar: empty", 110, 120, 0, 0},
        {"main bar: full", 110, 120, 100, 0},
        {"main bar: below the first threshold", 110, 120, 109, 0},
        {"main bar: at the first threshold", 110, 120, 110, 1},
        {"main bar: below the second threshold", 110, 120, 119, 1},
        {"main bar: at the second threshold", 110, 120, 120, 3},
        {"main bar: far beyond", 110, 120, 500, 3},
        {"low thresholds: between them", 70, 90, 80, 1},
        {"low thresholds: above both", 70, 90, 95, 2},
        {"low thresholds: just below one hundred", 70, 90, 99, 2},
        {"low thresholds: exactly one hundred", 70, 90, 100, 3},
    };
    for (const Row& row : rows) {
        SCOPED_TRACE(row.name);
        LevelScheme scheme = kMainScheme;
        scheme.level1Perc = row.level1Perc;
        scheme.level2Perc = row.level2Perc;
        EXPECT_EQ(ChooseLevelPair(row.position, scheme), scheme.pairs[std::size_t(row.level)]);
    }
}

TEST(ProgressBarGeometry, FillRectanglesAndHalves)
{
    EXPECT_EQ(SmoothFillRect(Qt::Vertical, QSize(28, 89), 18), QRect(1, 70, 26, 18));
    EXPECT_EQ(SmoothFillRect(Qt::Vertical, QSize(28, 89), 96), QRect(1, -8, 26, 96));
    EXPECT_EQ(SmoothFillRect(Qt::Horizontal, QSize(150, 17), 10), QRect(1, 1, 10, 15));
    const auto [left, right] = GradientHalves(Qt::Vertical, QRect(1, 70, 26, 18));
    EXPECT_EQ(left, QRect(1, 70, 13, 18));
    EXPECT_EQ(right, QRect(14, 70, 13, 18));
    const auto [top, bottom] = GradientHalves(Qt::Horizontal, QRect(1, 1, 10, 15));
    EXPECT_EQ(top, QRect(1, 1, 10, 7));
    EXPECT_EQ(bottom, QRect(1, 8, 10, 8));
}

TEST(ProgressBarGeometry, Blocks)
{
    struct Row { const char* name; int length; std::vector<QRect> blocks; };
    const Row rows[] = {
        {"one pixel: none", 1, {}},
        {"short: one block of n-1", 5, {QRect(2, 83, 24, 4)}},
        {"nine: one block of 8", 9, {QRect(2, 79, 24, 8)}},
        {"ten: one block of 7", 10, {QRect(2, 80, 24, 7)}},
        {"twenty: two blocks", 20, {QRect(2, 80, 24, 7), QRect(2, 71, 24, 7)}},
        {"twenty-one: a short last block", 21, {QRect(2, 80, 24, 7), QRect(2, 71, 24, 7), QRect(2, 67, 24, 2)}},
    };
    for (const Row& row : rows) {
        SCOPED_TRACE(row.name);
        EXPECT_EQ(BlockRects(Qt::Vertical, QSize(28, 89), row.length), row.blocks);
    }
    EXPECT_EQ(BlockRects(Qt::Horizontal, QSize(150, 17), 5), std::vector<QRect>{QRect(2, 2, 4, 13)});
}

TEST(ProgressBarGeometry, StackedSharesFillTheBarAtOneHundred)
{
    LevelScheme scheme = kMainScheme;
    scheme.level1Perc = 70;
    scheme.level2Perc = 90;
    const auto shares = StackedShares(Qt::Vertical, QSize(28, 89), 100, scheme);
    ASSERT_EQ(shares.size(), 3u);
    EXPECT_EQ(shares[0].rect, QRect(1, 27, 26, 61)); // Round(60.9)
    EXPECT_EQ(shares[1].rect, QRect(1, 10, 26, 17)); // Round(17.4)
    EXPECT_EQ(shares[2].rect, QRect(1, 1, 26, 9));   // the rest
    EXPECT_EQ(shares[2].pair, scheme.pairs[3]);
    EXPECT_EQ(StackedShares(Qt::Vertical, QSize(28, 89), 50, scheme).size(), 1u);
}

TEST(AdvProgressBar, FilledRowsOnTheMainBar)
{
    struct Row { int position; int firstRow; };
    const Row rows[] = {{21, 88 - 18}, {50, 88 - 44}, {100, 1}, {0, -1}, {-7, -1}};
    for (const Row& row : rows) {
        SCOPED_TRACE(row.position);
        const QImage image = mainBarAt(row.position);
        EXPECT_EQ(firstFilledRow(image), row.firstRow);
        EXPECT_EQ(image.pixel(14, 0), kBlack);  // top frame intact
        EXPECT_EQ(image.pixel(14, 88), kBlack); // bottom frame
        EXPECT_EQ(image.pixel(0, 50), kBlack);
        EXPECT_EQ(image.pixel(27, 50), kBlack);
    }
}

TEST(AdvProgressBar, EmptyBarIsWhiteInsideABlackFrame)
{
    for (const int position : {0, -1, -7}) {
        SCOPED_TRACE(position);
        const QImage image = mainBarAt(position);
        for (int y = 0; y < 89; ++y)
            for (int x = 0; x < 28; ++x) {
                const bool frame = x == 0 || y == 0 || x == 27 || y == 88;
                ASSERT_EQ(image.pixel(x, y), frame ? kBlack : kWhite) << x << "," << y;
            }
    }
}

TEST(AdvProgressBar, PositionAboveOneHundredCoversTheTopFrame)
{
    const QImage image = mainBarAt(110);
    EXPECT_NE(image.pixel(14, 0), kBlack);
    EXPECT_EQ(image.pixel(0, 0), kBlack); // the sides stay
    EXPECT_EQ(image.pixel(14, 88), kBlack);
}

TEST(AdvProgressBar, ColumnsShadeFromEdgesToMiddle)
{
    struct Row { int position; int x; QRgb color; };
    const Row rows[] = {
        {50, 1, qRgb(218, 255, 218)},  {50, 13, qRgb(9, 255, 9)},     {50, 14, qRgb(7, 255, 7)},
        {50, 26, qRgb(216, 255, 216)}, {109, 14, qRgb(7, 255, 7)},    {110, 14, qRgb(255, 170, 86)},
        {119, 14, qRgb(255, 170, 86)}, {120, 14, qRgb(6, 6, 6)},
    };
    for (const Row& row : rows)
        EXPECT_EQ(mainBarAt(row.position).pixel(row.x, 87), row.color) << row.position << " x " << row.x;
}

TEST(AdvProgressBar, ZeroStepsPaintsEachHalfFlatInItsFromColour)
{
    const QImage image = mainBarAt(50, 0);
    for (int x = 1; x < 14; ++x)
        EXPECT_EQ(image.pixel(x, 80), qRgb(225, 255, 225)) << x;
    for (int x = 14; x < 27; ++x)
        EXPECT_EQ(image.pixel(x, 80), qRgb(0, 255, 0)) << x;
}

TEST(AdvProgressBar, FlatFillWithoutGradient)
{
    TAdvProgressBar bar;
    configureMainBar(bar);
    bar.setShowGradient(false);
    bar.setPosition(50);
    const QImage image = bar.render();
    EXPECT_EQ(image.pixel(1, 87), qRgb(0, 255, 0));
    EXPECT_EQ(image.pixel(26, 45), qRgb(0, 255, 0));
    EXPECT_EQ(image.pixel(26, 44), qRgb(0, 255, 0));
    EXPECT_EQ(image.pixel(26, 43), kWhite);
}

TEST(AdvProgressBar, PercentageTextIsWrittenInTheMiddle)
{
    TAdvProgressBar bar;
    bar.resize(150, 17);
    bar.setShowGradient(false);
    bar.setPosition(30);
    const QImage image = bar.render();
    int ink = 0;
    for (int x = 60; x < 90; ++x)
        for (int y = 3; y < 14; ++y)
            ink += image.pixel(x, y) != kWhite ? 1 : 0;
    EXPECT_GT(ink, 10);
    bar.setShowPercentage(false);
    const QImage plain = bar.render();
    EXPECT_EQ(plain.pixel(75, 8), kWhite);
}

namespace {

class CountingBar : public TAdvProgressBar
{
public:
    int paints = 0;

protected:
    void paintEvent(QPaintEvent* event) override
    {
        ++paints;
        TAdvProgressBar::paintEvent(event);
    }
};

} // namespace

TEST(AdvProgressBar, PositionPaintsBeforeTheSetterReturns)
{
    CountingBar bar;
    configureMainBar(bar);
    bar.show();
    QCoreApplication::processEvents();
    const int before = bar.paints;
    bar.setPosition(40);
    EXPECT_EQ(bar.paints, before + 1);
    bar.setSteps(10); // other setters only ask for a repaint
    EXPECT_EQ(bar.paints, before + 1);
}
