// Draws every picture of the program and writes them as PNG files into the folder given on the
// command line. Small pictures are pixel patterns, so that they stay crisp at 96 dpi; circles
// and the icon's sphere are painted with antialiasing.
//
// Pictures with a transparent colour (tick, error, About) carry no alpha: the colour of their
// bottom-left pixel is the one the program makes transparent. Antialiased edges there are mixed
// with a light panel grey, never with the key colour, so no coloured fringe can show.

#include <QDir>
#include <QGuiApplication>
#include <QImage>
#include <QLinearGradient>
#include <QPainter>
#include <QPainterPath>
#include <QRadialGradient>
#include <cstdio>
#include <map>
#include <vector>

namespace {

using Pattern = std::vector<const char*>;
using Palette = std::map<char, QColor>;

QImage transparentCanvas(int width, int height)
{
    QImage image(width, height, QImage::Format_ARGB32);
    image.fill(Qt::transparent);
    return image;
}

// Puts the pattern's pixels at (left, top); '.' leaves a pixel alone.
void drawPattern(QImage& image, int left, int top, const Pattern& rows, const Palette& palette)
{
    for (int y = 0; y < int(rows.size()); ++y) {
        for (int x = 0; rows[y][x] != '\0'; ++x) {
            const char key = rows[y][x];
            if (key == '.')
                continue;
            image.setPixelColor(left + x, top + y, palette.at(key));
        }
    }
}

// Replaces transparency by the key colour: fully transparent pixels become the key, partly
// covered ones are mixed with the matte and made opaque.
QImage keyed(const QImage& art, QColor key, QColor matte)
{
    QImage out(art.size(), QImage::Format_RGB32);
    for (int y = 0; y < art.height(); ++y) {
        for (int x = 0; x < art.width(); ++x) {
            const QColor c = art.pixelColor(x, y);
            const int a = c.alpha();
            if (a == 0) {
                out.setPixelColor(x, y, key);
                continue;
            }
            const auto mix = [a](int over, int under) { return (over * a + under * (255 - a) + 127) / 255; };
            out.setPixelColor(x, y, QColor(mix(c.red(), matte.red()), mix(c.green(), matte.green()),
                                           mix(c.blue(), matte.blue())));
        }
    }
    return out;
}

const QColor kMagenta(255, 0, 255);
const QColor kBrightGreen(0, 255, 0);
const QColor kPanelGrey(236, 236, 236);

QImage blankPage()
{
    QImage image = transparentCanvas(16, 16);
    drawPattern(image, 0, 0,
                {
                    "..OOOOOOOO......",
                    "..OWWWWWWOO.....",
                    "..OWWWWWWOFO....",
                    "..OWWWWWWOFFO...",
                    "..OWWWWWWOOOOO..",
                    "..OWWWWWWWWWWO..",
                    "..OWWWWWWWWWWO..",
                    "..OWWWWWWWWWWO..",
                    "..OWWWWWWWWWWO..",
                    "..OWWWWWWWWWWO..",
                    "..OWWWWWWWWWWO..",
                    "..OWWWWWWWWWWO..",
                    "..OWWWWWWWWWWO..",
                    "..OWWWWWWWWWWO..",
                    "..OWWWWWWWWWSO..",
                    "..OOOOOOOOOOOO..",
                },
                {{'O', QColor(96, 96, 96)},
                 {'W', Qt::white},
                 {'F', QColor(208, 208, 208)},
                 {'S', QColor(232, 232, 232)}});
    return image;
}

QImage openFolder()
{
    QImage image = transparentCanvas(16, 16);
    drawPattern(image, 0, 0,
                {
                    "...........A....",
                    "...........AA...",
                    "........AAAAAA..",
                    "........AAAAAA..",
                    ".OOOO...AA.AA...",
                    "OYYYYO..AA.A....",
                    "OYYYYYOOAAOOO...",
                    "OYYYYYYYAAYYO...",
                    "OYYYOOOOOOOOOOOO",
                    "OYYOLLLLLLLLLLO.",
                    "OYYOLLLLLLLLLLO.",
                    "OYOLLLLLLLLLLO..",
                    "OOLLLLLLLLLLLO..",
                    "OOLLLLLLLLLLO...",
                    "OOOOOOOOOOOOO...",
                    "................",
                },
                {{'O', QColor(128, 90, 16)},
                 {'Y', QColor(224, 176, 64)},
                 {'L', QColor(248, 216, 120)},
                 {'A', QColor(30, 140, 30)}});
    return image;
}

QImage floppyDisk()
{
    QImage image = transparentCanvas(16, 16);
    drawPattern(image, 0, 0,
                {
                    "................",
                    ".KKKKKKKKKKKKK..",
                    ".KBBSSSSssSBBBK.",
                    ".KBBSSSSssSBBBK.",
                    ".KBBSSSSssSBBBK.",
                    ".KBBSSSSSSSBBBK.",
                    ".KBBBBBBBBBBBBK.",
                    ".KBBBBBBBBBBBBK.",
                    ".KBWWWWWWWWWWBK.",
                    ".KBWllllllllWBK.",
                    ".KBWWWWWWWWWWBK.",
                    ".KBWllllllllWBK.",
                    ".KBWWWWWWWWWWBK.",
                    ".KBWWWWWWWWWWBK.",
                    ".KKKKKKKKKKKKKK.",
                    "................",
                },
                {{'K', QColor(24, 40, 88)},
                 {'B', QColor(56, 88, 168)},
                 {'S', QColor(200, 200, 200)},
                 {'s', QColor(64, 64, 64)},
                 {'W', Qt::white},
                 {'l', QColor(160, 168, 200)}});
    return image;
}

QImage printer()
{
    QImage image = transparentCanvas(16, 16);
    drawPattern(image, 0, 0,
                {
                    "...OOOOOOOO.....",
                    "...OPPPPPPO.....",
                    "...OPttttPO.....",
                    "...OPPPPPPO.....",
                    "...OPttttPO.....",
                    ".OOOOOOOOOOOOOO.",
                    ".OGGGGGGGGGGGGO.",
                    ".OGGGGGGGGGGLGO.",
                    ".OGGGGGGGGGGGGO.",
                    ".ODDDDDDDDDDDDO.",
                    ".ODDOOOOOOOODDO.",
                    ".OOOOPPPPPPOOOO.",
                    "....OPttttPO....",
                    "....OPPPPPPO....",
                    "....OOOOOOOO....",
                    "................",
                },
                {{'O', QColor(64, 64, 64)},
                 {'P', Qt::white},
                 {'t', QColor(144, 144, 144)},
                 {'G', QColor(192, 192, 192)},
                 {'D', QColor(136, 136, 136)},
                 {'L', QColor(32, 192, 32)}});
    return image;
}

// A blue ball: lit from the upper left, with a dark rim.
void paintBlueBall(QPainter& painter, const QRectF& box)
{
    QRadialGradient fill(box.left() + box.width() * 0.35, box.top() + box.height() * 0.3, box.width() * 0.75);
    fill.setColorAt(0.0, QColor(120, 176, 244));
    fill.setColorAt(0.55, QColor(36, 103, 200));
    fill.setColorAt(1.0, QColor(16, 58, 140));
    painter.setRenderHint(QPainter::Antialiasing, true);
    painter.setPen(QPen(QColor(14, 52, 112), 1.0));
    painter.setBrush(fill);
    painter.drawEllipse(box);
}

QImage helpBall()
{
    QImage image = transparentCanvas(16, 16);
    {
        QPainter painter(&image);
        paintBlueBall(painter, QRectF(0.5, 0.5, 15.0, 15.0));
    }
    drawPattern(image, 0, 3,
                {
                    "......WWWW......",
                    ".....WW..WW.....",
                    ".........WW.....",
                    "........WW......",
                    ".......WW.......",
                    ".......WW.......",
                    "................",
                    ".......WW.......",
                    ".......WW.......",
                },
                {{'W', Qt::white}});
    return image;
}

QImage tickGlyph()
{
    QImage image(16, 14, QImage::Format_RGB32);
    image.fill(kMagenta);
    drawPattern(image, 0, 0,
                {
                    "................",
                    ".............BB.",
                    "............BBB.",
                    "...........BBB..",
                    "..........BBB...",
                    ".........BBB....",
                    ".LB.....BBB.....",
                    ".LBB...BBB......",
                    "..LBB.BBB.......",
                    "...LBBBBD.......",
                    "....LBBD........",
                    ".....BD.........",
                    "................",
                    "................",
                },
                {{'B', QColor(32, 80, 208)}, {'L', QColor(88, 128, 232)}, {'D', QColor(16, 48, 150)}});
    return image;
}

QImage errorPicture()
{
    QImage art = transparentCanvas(39, 39);
    {
        QPainter painter(&art);
        painter.setRenderHint(QPainter::Antialiasing, true);
        QRadialGradient fill(14.0, 12.0, 30.0);
        fill.setColorAt(0.0, QColor(255, 132, 120));
        fill.setColorAt(0.5, QColor(224, 32, 26));
        fill.setColorAt(1.0, QColor(150, 10, 8));
        painter.setPen(QPen(QColor(112, 0, 0), 1.0));
        painter.setBrush(fill);
        painter.drawEllipse(QRectF(1.5, 1.5, 36.0, 36.0));
        QPen cross(Qt::white, 4.5, Qt::SolidLine, Qt::SquareCap);
        painter.setPen(cross);
        painter.drawLine(QPointF(13.0, 13.0), QPointF(26.0, 26.0));
        painter.drawLine(QPointF(26.0, 13.0), QPointF(13.0, 26.0));
    }
    return keyed(art, kMagenta, kPanelGrey);
}

QImage aboutPicture()
{
    QImage art = transparentCanvas(36, 36);
    {
        QPainter painter(&art);
        paintBlueBall(painter, QRectF(1.5, 1.5, 33.0, 33.0));
        QPainterPath hook;
        const QRectF bow(12.5, 8.0, 11.0, 11.0);
        hook.arcMoveTo(bow, 170.0);
        hook.arcTo(bow, 170.0, -235.0);
        hook.lineTo(18.0, 21.5);
        hook.lineTo(18.0, 23.5);
        painter.setPen(QPen(Qt::white, 3.6, Qt::SolidLine, Qt::RoundCap, Qt::RoundJoin));
        painter.setBrush(Qt::NoBrush);
        painter.drawPath(hook);
        painter.setPen(Qt::NoPen);
        painter.setBrush(Qt::white);
        painter.drawEllipse(QPointF(18.0, 28.0), 2.3, 2.3);
    }
    return keyed(art, kBrightGreen, kPanelGrey);
}

// The program's icon at one size: a page with a folded corner and an orange ball over it.
QImage applicationIcon(int size)
{
    QImage image = transparentCanvas(size, size);
    QPainter painter(&image);
    painter.setRenderHint(QPainter::Antialiasing, true);
    const double s = size;
    const auto px = [s](double fraction) { return double(qRound(s * fraction)); };

    const double left = px(0.08), top = px(0.02), right = px(0.74), bottom = px(0.90);
    const double fold = px(0.22);
    // Lines sit on pixel centres so that 1-pixel outlines are crisp.
    QPainterPath page;
    page.moveTo(left + 0.5, top + 0.5);
    page.lineTo(right - fold + 0.5, top + 0.5);
    page.lineTo(right - 0.5, top + fold - 0.5);
    page.lineTo(right - 0.5, bottom - 0.5);
    page.lineTo(left + 0.5, bottom - 0.5);
    page.closeSubpath();
    QLinearGradient paper(left, top, right, bottom);
    paper.setColorAt(0.0, Qt::white);
    paper.setColorAt(1.0, QColor(226, 230, 238));
    painter.setPen(QPen(QColor(100, 104, 112), 1.0));
    painter.setBrush(paper);
    painter.drawPath(page);

    QPainterPath corner;
    corner.moveTo(right - fold + 0.5, top + 0.5);
    corner.lineTo(right - fold + 0.5, top + fold - 0.5);
    corner.lineTo(right - 0.5, top + fold - 0.5);
    corner.closeSubpath();
    painter.setBrush(QColor(206, 210, 218));
    painter.drawPath(corner);

    if (size >= 24) {
        // Lines of writing on the part of the page the ball leaves free.
        painter.setPen(QPen(QColor(150, 160, 180), 1.0));
        const double step = size >= 48 ? 4.0 : 3.0;
        const double textLeft = left + px(0.08) + 0.5;
        for (double y = top + fold + step + 0.5; y < bottom - px(0.42); y += step)
            painter.drawLine(QPointF(textLeft, y), QPointF(right - px(0.08) - 0.5, y));
    }

    const QPointF centre(s * 0.66, s * 0.66);
    const double radius = s * 0.31;
    QRadialGradient ball(centre.x() - radius * 0.35, centre.y() - radius * 0.4, radius * 1.5);
    ball.setColorAt(0.0, QColor(255, 228, 168));
    ball.setColorAt(0.35, QColor(255, 160, 32));
    ball.setColorAt(1.0, QColor(176, 80, 0));
    painter.setPen(size >= 24 ? QPen(QColor(130, 60, 0), 1.0) : Qt::NoPen);
    painter.setBrush(ball);
    painter.drawEllipse(centre, radius, radius);
    return image;
}

bool save(const QImage& image, const QString& folder, const QString& name)
{
    const QString path = QDir(folder).filePath(name);
    if (!image.save(path, "PNG")) {
        std::fprintf(stderr, "cannot write %s\n", qPrintable(path));
        return false;
    }
    std::printf("%s %dx%d\n", qPrintable(path), image.width(), image.height());
    return true;
}

} // namespace

int main(int argc, char** argv)
{
    QGuiApplication app(argc, argv);
    if (argc != 2) {
        std::fprintf(stderr, "usage: make_artwork <output folder>\n");
        return 2;
    }
    const QString folder = QString::fromLocal8Bit(argv[1]);
    bool ok = true;
    ok &= save(blankPage(), folder, "toolbar-new.png");
    ok &= save(openFolder(), folder, "toolbar-open.png");
    ok &= save(floppyDisk(), folder, "toolbar-save.png");
    ok &= save(printer(), folder, "toolbar-print.png");
    ok &= save(helpBall(), folder, "toolbar-about.png");
    ok &= save(tickGlyph(), folder, "tick.png");
    ok &= save(errorPicture(), folder, "error.png");
    ok &= save(aboutPicture(), folder, "about.png");
    for (int size : {48, 32, 24, 16})
        ok &= save(applicationIcon(size), folder, QStringLiteral("icon-%1.png").arg(size));
    return ok ? 0 : 1;
}
