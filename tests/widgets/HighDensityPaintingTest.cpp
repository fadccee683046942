// The level bar and the gradient label on a surface of two device pixels per logical pixel:
// rectangles and bands exactly the one-pixel picture scaled up, text at the device resolution.
#include "widgets/AdvProgressBar.h"
#include "widgets/Fonts.h"
#include "widgets/GradientLabel.h"

#include "tests/widgets/MainBar.h"

#include <functional>
#include <gtest/gtest.h>

namespace {

constexpr int kRatio = 2;

// Nearest neighbour: every pixel becomes a kRatio x kRatio block.
QImage blownUp(const QImage& picture)
{
    return picture.convertToFormat(QImage::Format_ARGB32)
        .scaled(picture.size() * kRatio, Qt::IgnoreAspectRatio, Qt::FastTransformation);
}

// Device pixels where the two pictures differ, leaving out `ignored` (device coordinates).
int differingPixels(const QImage& actual, const QImage& expected, const QRect& ignored = {})
{
    const QImage a = actual.convertToFormat(QImage::Format_ARGB32);
    const QImage e = expected.convertToFormat(QImage::Format_ARGB32);
    if (a.size() != e.size())
        return -1;
    int differing = 0;
    for (int y = 0; y < a.height(); ++y)
        for (int x = 0; x < a.width(); ++x)
            if (!ignored.contains(x, y) && a.pixel(x, y) != e.pixel(x, y))
                ++differing;
    return differing;
}

// The logical area where `withText` differs from the same control painted without its text,
// grown by `margin` on every side (text metrics at the device size may move a glyph edge).
QRect textArea(const QImage& withText, const QImage& withoutText, int margin)
{
    QRect area;
    for (int y = 0; y < withText.height(); ++y)
        for (int x = 0; x < withText.width(); ++x)
            if (withText.pixel(x, y) != withoutText.pixel(x, y))
                area |= QRect(x, y, 1, 1);
    return area.adjusted(-margin, -margin, margin, margin);
}

QRect deviceRect(const QRect& logical)
{
    return QRect(logical.topLeft() * kRatio, logical.size() * kRatio);
}

// Aligned kRatio x kRatio blocks inside `area` (device coordinates) whose pixels are not all
// alike. A picture blown up from one pixel per pixel has none.
int mixedBlocks(const QImage& picture, const QRect& area)
{
    const QImage image = picture.convertToFormat(QImage::Format_ARGB32);
    const QRect inside = area & image.rect();
    int mixed = 0;
    for (int y = inside.top() / kRatio * kRatio; y + kRatio - 1 <= inside.bottom(); y += kRatio)
        for (int x = inside.left() / kRatio * kRatio; x + kRatio - 1 <= inside.right(); x += kRatio) {
            const QRgb first = image.pixel(x, y);
            bool alike = true;
            for (int dy = 0; dy < kRatio; ++dy)
                for (int dx = 0; dx < kRatio; ++dx)
                    alike = alike && image.pixel(x + dx, y + dy) == first;
            mixed += alike ? 0 : 1;
        }
    return mixed;
}

// The main window's bar at `position`.
void mainBar(TAdvProgressBar& bar, int position)
{
    configureMainBar(bar);
    bar.setPosition(position);
}

void wideBar(TAdvProgressBar& bar, int position)
{
    bar.resize(150, 17);
    bar.setShowPercentage(false);
    bar.setPosition(position);
}

struct BarRow
{
    const char* name;
    std::function<void(TAdvProgressBar&)> configure;
};

TEST(HighDensityPainting, BarIsTheOnePixelPictureScaledUp)
{
    const BarRow rows[] = {
        {"Cleared", [](TAdvProgressBar& b) { mainBar(b, 0); }},
        {"Satisfactory", [](TAdvProgressBar& b) { mainBar(b, 57); }},
        {"OddFillLength", [](TAdvProgressBar& b) { mainBar(b, 21); }},
        {"FullBar", [](TAdvProgressBar& b) { mainBar(b, 100); }},
        {"OverTheTopFrame", [](TAdvProgressBar& b) { mainBar(b, 113); }},
        {"BlackLevel", [](TAdvProgressBar& b) { mainBar(b, 130); }},
        {"BandsNarrowerThanAPixel", [](TAdvProgressBar& b) { mainBar(b, 80); b.setSteps(250); }},
        {"HorizontalBlocks", [](TAdvProgressBar& b) { wideBar(b, 64); b.setCompletionSmooth(false); }},
        {"Stacked", [](TAdvProgressBar& b) { wideBar(b, 96); b.setStacked(true); }},
        {"FlatWithoutBorder", [](TAdvProgressBar& b) { wideBar(b, 40); b.setShowGradient(false); b.setShowBorder(false); }},
    };
    for (const BarRow& row : rows) {
        SCOPED_TRACE(row.name);
        TAdvProgressBar bar;
        row.configure(bar);
        const QImage dense = bar.render(kRatio);
        ASSERT_EQ(dense.size(), bar.size() * kRatio);
        EXPECT_EQ(dense.devicePixelRatio(), kRatio);
        EXPECT_EQ(differingPixels(dense, blownUp(bar.render())), 0);
    }
}

TEST(HighDensityPainting, BarPercentageIsWrittenAtTheDeviceResolution)
{
    for (const auto orientation : {TAdvProgressBar::goHorizontal, TAdvProgressBar::goVertical}) {
        SCOPED_TRACE(orientation == TAdvProgressBar::goHorizontal ? "Horizontal" : "Vertical");
        TAdvProgressBar bar;
        bar.setOrientation(orientation);
        bar.resize(orientation == TAdvProgressBar::goHorizontal ? QSize(150, 17) : QSize(28, 89));
        bar.setPosition(30);
        const QImage withText = bar.render();
        bar.setShowPercentage(false);
        const QImage withoutText = bar.render();
        bar.setShowPercentage(true);
        const QRect text = deviceRect(textArea(withText, withoutText, 2));
        ASSERT_FALSE(text.isEmpty());

        const QImage dense = bar.render(kRatio);
        EXPECT_EQ(differingPixels(dense, blownUp(withText), text), 0);
        EXPECT_EQ(mixedBlocks(blownUp(withText), text), 0);
        EXPECT_GE(mixedBlocks(dense, text), 8);
    }
}

struct LabelRow
{
    const char* name;
    QSize size;
    const char* family;
    int pixelSize;
    bool bold;
    TColor colorTo;
    bool wordWrap;
    Qt::Alignment alignment;
    const char* text;
    std::function<void(TGradientLabel&)> extra;
};

std::unique_ptr<TGradientLabel> makeLabel(const LabelRow& row)
{
    RegisterFontSubstitutes();
    auto label = std::make_unique<TGradientLabel>();
    label->setTransparent(false); // the gradient shows, as without the desktop's visual styles
    label->resize(row.size);
    QFont font(QString::fromLatin1(row.family));
    font.setPixelSize(row.pixelSize);
    font.setBold(row.bold);
    label->setFont(font);
    label->setColorTo(row.colorTo);
    label->setWordWrap(row.wordWrap);
    label->setAlignment(row.alignment | Qt::AlignTop);
    label->setText(QString::fromUtf8(row.text));
    if (row.extra)
        row.extra(*label);
    return label;
}

const auto kNothing = [](TGradientLabel&) {};

TEST(HighDensityPainting, LabelBandsAreTheOnePixelPictureScaledUpAndItsTextIsSharp)
{
    const LabelRow rows[] = {
        {"LevelLabel", {137, 33}, "MS Sans Serif", 11, false, clWhite, true, Qt::AlignLeft, "Удовлетворительная адаптация", kNothing},
        {"LevelLabelTwoLines", {137, 33}, "MS Sans Serif", 11, false, clWhite, true, Qt::AlignLeft, "Неудовлетворительная адаптация", kNothing},
        {"InputErrorHeading", {145, 25}, "Verdana", 16, true, 0x006666FF, false, Qt::AlignLeft, "Ошибка ввода", kNothing},
        {"InputErrorMessage", {185, 49}, "Verdana", 13, false, clBtnFace, true, Qt::AlignLeft, "Проверьте правильность введенных данных", kNothing},
        {"AboutHeading", {233, 25}, "Verdana", 16, true, 0x00F1910E, false, Qt::AlignRight, "О программе   ", kNothing},
        {"VerticalGradient", {120, 40}, "Verdana", 13, false, 0x00F1910E, false, Qt::AlignLeft, "Сверху вниз",
         [](TGradientLabel& l) { l.setGradientType(TGradientLabel::gtFullVertical); }},
        {"BottomLine", {150, 30}, "Verdana", 13, false, 0x006666FF, false, Qt::AlignLeft, "Линия внизу",
         [](TGradientLabel& l) { l.setGradientType(TGradientLabel::gtBottomLine); }},
        {"TurnedCentreLine", {40, 120}, "Verdana", 13, false, 0x006666FF, false, Qt::AlignLeft, "Снизу вверх",
         [](TGradientLabel& l) {
             l.setGradientType(TGradientLabel::gtCenterLine);
             l.setOrientation(TGradientLabel::goVertical);
         }},
        {"Disabled", {145, 25}, "Verdana", 13, false, 0x006666FF, false, Qt::AlignLeft, "Недоступно",
         [](TGradientLabel& l) { l.setEnabled(false); }},
    };
    for (const LabelRow& row : rows) {
        SCOPED_TRACE(row.name);
        auto label = makeLabel(row);
        const QImage withText = label->render();
        const QImage dense = label->render(kRatio);
        ASSERT_EQ(dense.size(), row.size * kRatio);

        label->setText(QString());
        const QImage withoutText = label->render();
        // Without a caption the whole picture is rectangles: exactly the small one scaled up.
        EXPECT_EQ(differingPixels(label->render(kRatio), blownUp(withoutText)), 0);

        const QRect text = deviceRect(textArea(withText, withoutText, 2));
        ASSERT_FALSE(text.isEmpty());
        EXPECT_EQ(differingPixels(dense, blownUp(withText), text), 0);
        // Blowing up the small picture leaves every block flat; glyphs drawn for the device do not.
        EXPECT_GE(mixedBlocks(dense, text), 20);
    }
}

TEST(HighDensityPainting, TransparentLabelStaysTransparentAroundItsText)
{
    auto label = makeLabel({"", {137, 33}, "MS Sans Serif", 11, false, clWhite, true, Qt::AlignLeft, "Норма", kNothing});
    label->setTransparent(true);
    const QImage dense = label->render(kRatio);
    EXPECT_EQ(qAlpha(dense.pixel(dense.width() - 1, dense.height() - 1)), 0);
    EXPECT_GE(mixedBlocks(dense, dense.rect()), 20);
}

TEST(HighDensityPainting, FractionalRatioCoversTheWholeControl)
{
    TAdvProgressBar bar;
    mainBar(bar, 50);
    const QImage picture = bar.render(1.5);
    EXPECT_EQ(picture.size(), QSize(42, 134)); // 28 x 1.5, 89 x 1.5 rounded up
    EXPECT_EQ(picture.pixel(0, 0), qRgb(0, 0, 0));
    EXPECT_EQ(picture.pixel(41, 60), qRgb(0, 0, 0)); // the right side of the frame
}

} // namespace
