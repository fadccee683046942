#include "widgets/GradientLabel.h"

#include "widgets/Fonts.h"
#include "widgets/SystemColors.h"

#include <QSet>
#include <gtest/gtest.h>

namespace {

// An opaque label (as with visual styles off) of the given size, empty caption.
std::unique_ptr<TGradientLabel> opaqueLabel(int width, int height)
{
    auto label = std::make_unique<TGradientLabel>();
    label->setTransparent(false);
    label->resize(width, height);
    return label;
}

int rightmostInk(const QImage& image, QRgb background)
{
    for (int x = image.width() - 1; x >= 0; --x)
        for (int y = 0; y < image.height(); ++y)
            if (image.pixel(x, y) != background)
                return x;
    return -1;
}

int rowsWithInk(const QImage& image, QRgb background, int fromY, int toY)
{
    int rows = 0;
    for (int y = fromY; y < toY; ++y)
        for (int x = 0; x < image.width(); ++x)
            if (image.pixel(x, y) != background) {
                ++rows;
                break;
            }
    return rows;
}

} // namespace

TEST(GradientLabel, BandCountIsAQuarterOfTheWidth)
{
    struct Row { int width; int bands; };
    for (const Row row : {Row{137, 34}, Row{145, 36}, Row{185, 46}, Row{233, 58}, Row{3, 0}}) {
        auto label = opaqueLabel(row.width, 10);
        EXPECT_EQ(label->bandCount(), row.bands) << row.width;
    }
    // Black to white in 34 bands of 7.5 levels: every band shows as its own colour.
    auto label = opaqueLabel(137, 33);
    label->setColor(clBlack);
    label->setColorTo(clWhite);
    const QImage image = label->render();
    QSet<QRgb> colours;
    for (int x = 0; x < 137; ++x)
        colours.insert(image.pixel(x, 20));
    EXPECT_EQ(colours.size(), 34);
    EXPECT_EQ(image.pixel(0, 0), qRgb(0, 0, 0));
    EXPECT_EQ(image.pixel(136, 32), qRgb(248, 248, 248)); // 33 x 7.5 = 247.5 -> 248
}

TEST(GradientLabel, FlatBackgrounds)
{
    struct Row { const char* name; int width; TColor colorTo; TGradientLabel::TGradientType type; };
    const Row rows[] = {
        {"no gradient colour", 137, clNone, TGradientLabel::gtFullHorizontal},
        {"too narrow for a band", 3, clWhite, TGradientLabel::gtFullHorizontal},
        {"end colour equals the start", 185, clBtnFace, TGradientLabel::gtFullHorizontal},
    };
    for (const Row& row : rows) {
        SCOPED_TRACE(row.name);
        auto label = opaqueLabel(row.width, 20);
        label->setColor(0x00336699);
        if (row.colorTo != clBtnFace)
            label->setColorTo(row.colorTo);
        else
            label->setColorTo(0x00336699);
        const QImage image = label->render();
        for (int x = 0; x < row.width; ++x)
            ASSERT_EQ(image.pixel(x, 10), qRgb(0x99, 0x66, 0x33)) << x;
    }
}

TEST(GradientLabel, TransparentLabelPaintsOnlyItsText)
{
    auto label = opaqueLabel(137, 33);
    label->setTransparent(true);
    label->setText(QStringLiteral("Норма"));
    const QImage image = label->render();
    EXPECT_EQ(qAlpha(image.pixel(136, 30)), 0);
    EXPECT_GT(rowsWithInk(image, 0, 0, 33), 0);
}

TEST(GradientLabel, LevelTextWrapsOntoASecondLine)
{
    auto label = opaqueLabel(137, 33);
    RegisterFontSubstitutes();
    QFont font(QStringLiteral("MS Sans Serif"));
    font.setPixelSize(11);
    label->setFont(font);
    label->setWordWrap(true);
    label->setColorTo(clNone);
    label->setColor(clWhite);
    label->setText(QStringLiteral("Неудовлетворительная адаптация"));
    EXPECT_EQ(label->drawTextFlags(), 0x110u);
    const QImage image = label->render();
    const int lineHeight = QFontMetrics(font).height();
    EXPECT_GT(rowsWithInk(image, qRgb(255, 255, 255), 0, lineHeight), 0);
    EXPECT_GT(rowsWithInk(image, qRgb(255, 255, 255), lineHeight, 2 * lineHeight), 0);
    EXPECT_LT(rightmostInk(image, qRgb(255, 255, 255)), 137);
}

TEST(GradientLabel, AboutHeadingEndsThreeBlanksFromTheRightEdge)
{
    auto label = opaqueLabel(233, 25);
    RegisterFontSubstitutes();
    QFont font(QStringLiteral("Verdana"));
    font.setPixelSize(16);
    font.setBold(true);
    label->setFont(font);
    label->setAlignment(Qt::AlignRight | Qt::AlignTop);
    label->setColorTo(clNone);
    label->setColor(clWhite);
    label->setText(QStringLiteral("О программе   "));
    EXPECT_EQ(label->drawTextFlags(), 0x122u);
    const QFontMetrics metrics(font);
    const int textEnd = 233 - 3 * metrics.horizontalAdvance(QLatin1Char(' '));
    const int ink = rightmostInk(label->render(), qRgb(255, 255, 255));
    EXPECT_LE(ink, textEnd); // antialiasing may touch the column where the blanks begin
    EXPECT_GT(ink, textEnd - metrics.horizontalAdvance(QChar(u'е')));
    // Right-aligned, the indent comes off the right side.
    label->setIndent(8);
    EXPECT_EQ(rightmostInk(label->render(), qRgb(255, 255, 255)), ink - 8);
}

TEST(GradientLabel, LineTypesPaintTwoPixelStrips)
{
    // Colour 0x336699 to black in 10 bands: a horizontal line runs left to right from the
    // colour, a vertical one top to bottom from black; the far end shows band 9.
    const QRgb color = qRgb(0x99, 0x66, 0x33);
    const QRgb black = qRgb(0, 0, 0);
    const QRgb band9FromColor = qRgb(15, 10, 5);
    const QRgb band9FromBlack = qRgb(138, 92, 46);
    struct Row
    {
        const char* name;
        TGradientLabel::TGradientType type;
        TGradientOrientation orientation;
        QPoint onLine, offLine;
        QPoint start, end;
        QRgb startColour, endColour;
    };
    const Row rows[] = {
        {"bottom line", TGradientLabel::gtBottomLine, TGradientLabel::goHorizontal, {30, 18}, {30, 17}, {0, 18}, {39, 19}, color, band9FromColor},
        {"centre line", TGradientLabel::gtCenterLine, TGradientLabel::goHorizontal, {30, 11}, {30, 12}, {0, 10}, {39, 11}, color, band9FromColor},
        {"top line", TGradientLabel::gtTopLine, TGradientLabel::goHorizontal, {30, 1}, {30, 2}, {0, 0}, {39, 1}, color, band9FromColor},
        {"vertical bottom line: the right columns", TGradientLabel::gtBottomLine, TGradientLabel::goVertical, {38, 19}, {37, 19}, {38, 0}, {39, 19}, black, band9FromBlack},
        {"vertical centre line: the middle columns", TGradientLabel::gtCenterLine, TGradientLabel::goVertical, {21, 5}, {22, 5}, {20, 0}, {21, 19}, black, band9FromBlack},
        {"vertical top line: the left columns", TGradientLabel::gtTopLine, TGradientLabel::goVertical, {1, 19}, {2, 19}, {0, 0}, {1, 19}, black, band9FromBlack},
    };
    for (const Row& row : rows) {
        SCOPED_TRACE(row.name);
        auto label = opaqueLabel(40, 20);
        label->setColor(0x00336699);
        label->setColorTo(clBlack);
        label->setGradientType(row.type);
        label->setOrientation(row.orientation);
        const QImage image = label->render();
        EXPECT_NE(image.pixel(row.onLine), color);
        EXPECT_EQ(image.pixel(row.offLine), color);
        EXPECT_EQ(image.pixel(row.start), row.startColour);
        EXPECT_EQ(image.pixel(row.end), row.endColour);
    }
}

TEST(GradientLabel, TransparentTextKeepsTheLineFromBehindTheCaption)
{
    const QString blanks = QStringLiteral("          ");
    for (const bool transparentText : {false, true}) {
        SCOPED_TRACE(transparentText);
        auto label = opaqueLabel(200, 20);
        label->setColor(clWhite);
        label->setColorTo(clBlack);
        label->setGradientType(TGradientLabel::gtCenterLine);
        label->setTransparentText(transparentText);
        label->setText(blanks);
        const int captionWidth = QFontMetrics(label->font()).horizontalAdvance(blanks);
        ASSERT_LT(captionWidth, 150);
        const QImage image = label->render();
        EXPECT_EQ(image.pixel(captionWidth - 2, 10) == qRgb(255, 255, 255), transparentText);
        EXPECT_NE(image.pixel(captionWidth + 20, 10), qRgb(255, 255, 255));
    }
}

TEST(GradientLabel, DisabledCaptionIsDrawnTwice)
{
    auto label = opaqueLabel(100, 20);
    label->setColorTo(clNone);
    label->setColor(0x00336699);
    label->setText(QStringLiteral("ИФИ"));
    label->setEnabled(false);
    const QImage image = label->render();
    const QRgb highlight = ResolveColor(clBtnHighlight).rgb();
    const QRgb shadow = ResolveColor(clBtnShadow).rgb();
    bool sawHighlight = false;
    bool sawShadow = false;
    for (int y = 0; y < 20; ++y)
        for (int x = 0; x < 100; ++x) {
            sawHighlight |= image.pixel(x, y) == highlight;
            sawShadow |= image.pixel(x, y) == shadow;
        }
    EXPECT_TRUE(sawHighlight);
    EXPECT_TRUE(sawShadow);
}

TEST(GradientLabel, VerticalCaptionReadsBottomToTop)
{
    auto label = opaqueLabel(30, 120);
    label->setColorTo(clNone);
    label->setColor(clWhite);
    label->setOrientation(TGradientLabel::goVertical);
    label->setText(QStringLiteral("Вертикально"));
    const QImage image = label->render();
    const QFontMetrics metrics(label->font());
    // Left alignment, top layout: the run starts at the bottom-left corner and goes up.
    EXPECT_GT(rowsWithInk(image, qRgb(255, 255, 255), 120 - metrics.horizontalAdvance(label->text()), 120), 40);
    EXPECT_EQ(rowsWithInk(image, qRgb(255, 255, 255), 0, 120 - metrics.horizontalAdvance(label->text()) - 2), 0);
    EXPECT_EQ(rightmostInk(image, qRgb(255, 255, 255)) <= metrics.height(), true);
}

TEST(GradientLabel, EllipsTypeRepaintsOnlyOnChange)
{
    TGradientLabel label;
    label.setEllipsType(TGradientLabel::etEndEllips);
    EXPECT_EQ(label.ellipsType(), TGradientLabel::etEndEllips);
    EXPECT_EQ(label.lineWidth(), 2);
    label.setLineWidth(7);
    EXPECT_EQ(label.lineWidth(), 7);
    EXPECT_EQ(label.font().family(), QStringLiteral("Verdana"));
}
