#pragma once

#include "core/Colors.h"

#include <QRect>
#include <QSize>

#include <array>
#include <utility>
#include <vector>

// The derived values of the level bar's painting, apart from any widget. `fill` is the
// direction the bar fills in: Qt::Vertical fills bottom to top, Qt::Horizontal left to right.

struct LevelPair
{
    TColor color;   // along the middle of the fill
    TColor colorTo; // along its long edges
    bool operator==(const LevelPair&) const = default;
};

// Level pairs 0..3, the thresholds that choose between them.
struct LevelScheme
{
    std::array<LevelPair, 4> pairs;
    int level1Perc;
    int level2Perc;
};

// The inner length: the client length along the fill direction without the frame.
int InnerLength(Qt::Orientation fill, QSize size);

// The pair for a position: below level1Perc level 0, below level2Perc level 1, below 100
// level 2, else level 3.
LevelPair ChooseLevelPair(int position, const LevelScheme& scheme);

// Pixels filled by the smooth fill: Round((P / 100) * L). Not clamped to L.
int SmoothFillLength(int position, int innerLength);

// Pixels covered by the block fill: Round(P * L / 100).
int BlockFillLength(int position, int innerLength);

// The smooth fill rectangle for `length` pixels, laid from the start edge inside the frame.
// It is not clamped: a length beyond the inner area covers the far frame line.
QRect SmoothFillRect(Qt::Orientation fill, QSize size, int length);

// A fill rectangle cut in two across its length (along the axis that runs across the bar):
// the first half is shaded from colorTo to color, the second back again.
std::pair<QRect, QRect> GradientHalves(Qt::Orientation fill, const QRect& area);

// The axis along which the gradient bands of a fill run: across the bar.
Qt::Orientation BandAxis(Qt::Orientation fill);

// The blocks of the block fill for `length` pixels: 7 long, 2 apart, 2 pixels in from every edge.
std::vector<QRect> BlockRects(Qt::Orientation fill, QSize size, int length);

// The stacked fill: each level's share in its own pair, laid one after another.
struct StackedShare
{
    QRect rect;
    LevelPair pair;
};
std::vector<StackedShare> StackedShares(Qt::Orientation fill, QSize size, int position,
                                        const LevelScheme& scheme);
