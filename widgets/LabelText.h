#pragma once

#include <QFontMetrics>
#include <QRect>
#include <QString>

#include <vector>

// How a label's caption is laid out: the DrawText-style flag sum the label composes from its
// settings, and the lines, positions and ellipses those flags give inside a rectangle.

struct DrawTextFlag
{
    static constexpr unsigned Center = 0x1;
    static constexpr unsigned Right = 0x2;
    static constexpr unsigned VCenter = 0x4;
    static constexpr unsigned Bottom = 0x8;
    static constexpr unsigned WordBreak = 0x10;
    static constexpr unsigned SingleLine = 0x20;
    static constexpr unsigned NoClip = 0x100;
    static constexpr unsigned NoPrefix = 0x800;
    static constexpr unsigned PathEllipsis = 0x4000;
    static constexpr unsigned EndEllipsis = 0x8000;
    static constexpr unsigned RtlReading = 0x20000;
};

enum class TextAlign { Left, Right, Center };
enum class TextVertical { Top, Center, Bottom };
enum class TextEllipsis { None, End, Path };

struct LabelTextStyle
{
    TextAlign alignment = TextAlign::Left;
    bool wordWrap = false;
    TextVertical layout = TextVertical::Top;     // the framework label's Layout
    TextEllipsis ellipsis = TextEllipsis::None;
    bool showAccelChar = true;
    TextVertical vAlignment = TextVertical::Top; // the gradient label's own VAlignment
    bool rightToLeft = false;
};

// The flags of a label's caption. Layout and VAlignment both ask for a vertical placement;
// their flags are combined, so centre with centre stays centre.
unsigned LabelDrawTextFlags(const LabelTextStyle& style);

// One laid-out line: its text, the top-left corner of its cell and its advance width.
// `underline` is the index in `text` of the accelerator character, or -1.
struct TextLine
{
    QString text;
    QPoint topLeft;
    int width = 0;
    int underline = -1;
};

struct TextLayoutResult
{
    std::vector<TextLine> lines;
    bool clip = false; // whether drawing is clipped to the rectangle
};

// Lays the caption out in `rect` as DrawText would with `flags`:
// - word break: lines break between words (a word wider than the rectangle keeps its own
//   line and overflows); spaces at a break are dropped, other spaces count, trailing ones included;
// - single line: one line; vertical centring and bottom placement apply only here;
// - right and centre alignment place each line by its full advance, trailing spaces included;
// - end ellipsis cuts a too-wide line at its end, path ellipsis in its middle;
// - unless NoPrefix, "&x" marks x as the accelerator and "&&" shows one "&".
TextLayoutResult LayOutText(const QString& caption, unsigned flags, const QRect& rect, const QFontMetrics& metrics);
