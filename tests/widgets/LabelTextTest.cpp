#include "widgets/LabelText.h"

#include "widgets/Fonts.h"

#include <QFont>
#include <QStringList>
#include <gtest/gtest.h>
#include <utility>

namespace {

QFont msSansSerif()
{
    RegisterFontSubstitutes();
    QFont font(QStringLiteral("MS Sans Serif"));
    font.setPixelSize(11);
    return font;
}

QFont verdanaBold16()
{
    RegisterFontSubstitutes();
    QFont font(QStringLiteral("Verdana"));
    font.setPixelSize(16);
    font.setBold(true);
    return font;
}

} // namespace

TEST(LabelText, FlagSumsOfTheProgramsLabels)
{
    struct Row { const char* name; LabelTextStyle style; unsigned flags; };
    LabelTextStyle wrapped;
    wrapped.wordWrap = true;
    LabelTextStyle single;
    LabelTextStyle right;
    right.alignment = TextAlign::Right;
    LabelTextStyle centred;
    centred.layout = TextVertical::Center;
    centred.vAlignment = TextVertical::Center;
    LabelTextStyle everything;
    everything.alignment = TextAlign::Center;
    everything.ellipsis = TextEllipsis::End;
    everything.showAccelChar = false;
    everything.vAlignment = TextVertical::Bottom;
    LabelTextStyle path;
    path.ellipsis = TextEllipsis::Path;
    const Row rows[] = {
        {"level label and error message", wrapped, 0x110},
        {"error heading", single, 0x120},
        {"About heading", right, 0x122},
        {"centre layout with centre alignment stays centred", centred, 0x124},
        {"centre, end ellipsis, no prefix, bottom", everything, 0x8929},
        {"path ellipsis", path, 0x4120},
    };
    for (const Row& row : rows)
        EXPECT_EQ(LabelDrawTextFlags(row.style), row.flags) << row.name;
}

TEST(LabelText, LongLevelTextWrapsAtTheWordBoundary)
{
    const QFontMetrics metrics(msSansSerif());
    const auto layout = LayOutText(QStringLiteral("Неудовлетворительная адаптация"), 0x110, QRect(0, 0, 137, 33), metrics);
    ASSERT_EQ(layout.lines.size(), 2u);
    EXPECT_EQ(layout.lines[0].text, QStringLiteral("Неудовлетворительная"));
    EXPECT_EQ(layout.lines[1].text, QStringLiteral("адаптация"));
    EXPECT_EQ(layout.lines[0].topLeft, QPoint(0, 0));
    EXPECT_EQ(layout.lines[1].topLeft, QPoint(0, metrics.height()));
    EXPECT_FALSE(layout.clip);
}

TEST(LabelText, RightAlignmentCountsTrailingBlanks)
{
    const QFontMetrics metrics(verdanaBold16());
    const QString heading = QStringLiteral("О программе   ");
    const auto layout = LayOutText(heading, 0x122, QRect(0, 0, 233, 25), metrics);
    ASSERT_EQ(layout.lines.size(), 1u);
    EXPECT_EQ(layout.lines[0].text, heading);
    EXPECT_EQ(layout.lines[0].topLeft.x(), 233 - metrics.horizontalAdvance(heading));
}

TEST(LabelText, BreakingAndPlacement)
{
    const QFontMetrics metrics(msSansSerif());
    const int lineHeight = metrics.height();
    const QRect box(10, 5, 60, 40);
    const int exactWidth = metrics.horizontalAdvance(QStringLiteral("ab cd"));
    struct Row { const char* name; QString caption; unsigned flags; QStringList lines; int firstTop; int width = 60; };
    const Row rows[] = {
        {"words that fill the line exactly stay on it", QStringLiteral("ab cd ef"), 0x10, {"ab cd", "ef"}, 5, exactWidth},
        {"one pixel less breaks before the last of them", QStringLiteral("ab cd"), 0x10, {"ab", "cd"}, 5, exactWidth - 1},
        {"a word wider than the box keeps its line", QStringLiteral("Неудовлетворительная да"), 0x10,
         {QStringLiteral("Неудовлетворительная"), QStringLiteral("да")}, 5},
        {"explicit line breaks", QStringLiteral("a\r\nb\nc"), 0x10, {"a", "b", "c"}, 5},
        {"single line ignores breaks", QStringLiteral("a b c d e f g h i j k l m n o p"), 0x20,
         {QStringLiteral("a b c d e f g h i j k l m n o p")}, 5},
        {"single line centred vertically", "x", 0x24, {"x"}, 5 + (40 - lineHeight) / 2},
        {"single line at the bottom", "x", 0x28, {"x"}, 45 - lineHeight},
        {"vertical centring needs a single line", "x", 0x14, {"x"}, 5},
        {"accelerator marks are removed", QStringLiteral("&Open && close"), 0x20, {QStringLiteral("Open & close")}, 5},
        {"no prefix keeps them", QStringLiteral("&Open"), 0x820, {QStringLiteral("&Open")}, 5},
    };
    for (const Row& row : rows) {
        SCOPED_TRACE(row.name);
        const auto layout = LayOutText(row.caption, row.flags, QRect(box.topLeft(), QSize(row.width, box.height())), metrics);
        QStringList texts;
        for (const TextLine& line : layout.lines)
            texts.append(line.text);
        EXPECT_EQ(texts, row.lines);
        ASSERT_FALSE(layout.lines.empty());
        EXPECT_EQ(layout.lines[0].topLeft.y(), row.firstTop);
        EXPECT_EQ(layout.lines[0].topLeft.x(), 10);
        EXPECT_TRUE(layout.clip);
    }
    // The marked character is underlined; a doubled mark is a plain "&" and marks nothing.
    const std::pair<QString, int> marks[] = {{QStringLiteral("&Open"), 0}, {QStringLiteral("Open && close"), -1}};
    for (const auto& [caption, underline] : marks)
        EXPECT_EQ(LayOutText(caption, 0x20, box, metrics).lines[0].underline, underline) << caption.toStdString();
}

TEST(LabelText, EllipsisShortensATooWideLine)
{
    const QFontMetrics metrics(msSansSerif());
    const QString caption = QStringLiteral("Неудовлетворительная адаптация");
    for (const unsigned flags : {0x8120u, 0x4120u}) {
        SCOPED_TRACE(flags);
        const auto layout = LayOutText(caption, flags, QRect(0, 0, 80, 20), metrics);
        ASSERT_EQ(layout.lines.size(), 1u);
        EXPECT_LE(layout.lines[0].width, 80);
        EXPECT_TRUE(layout.lines[0].text.contains(QChar(0x2026)));
    }
    EXPECT_EQ(LayOutText(caption, 0x120, QRect(0, 0, 80, 20), metrics).lines[0].text, caption);
}

TEST(LabelText, CentredLinesUseHalfTheSpareWidth)
{
    const QFontMetrics metrics(msSansSerif());
    const auto layout = LayOutText("ab", 0x21, QRect(0, 0, 101, 20), metrics);
    EXPECT_EQ(layout.lines[0].topLeft.x(), (101 - metrics.horizontalAdvance("ab")) / 2);
}
