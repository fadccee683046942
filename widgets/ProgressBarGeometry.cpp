#include "widgets/ProgressBarGeometry.h"

#include "widgets/PixelMath.h"

#include <algorithm>

namespace {

// Far beyond any control's size; keeps the arithmetic of absurd positions inside int
// without changing what is visible.
constexpr long long kLengthLimit = 1'000'000;

int limitedLength(long long length)
{
    return int(std::clamp(length, -kLengthLimit, kLengthLimit));
}

// A span [offset, offset + length) measured from the start edge of the fill, across
// `[crossStart, crossEnd)`.
QRect spanRect(Qt::Orientation fill, QSize size, int offset, int length, int crossStart, int crossEnd)
{
    if (fill == Qt::Vertical)
        return RectFromEdges(crossStart, size.height() - offset - length, crossEnd, size.height() - offset);
    return RectFromEdges(offset, crossStart, offset + length, crossEnd);
}

int crossLength(Qt::Orientation fill, QSize size)
{
    return fill == Qt::Vertical ? size.width() : size.height();
}

// A share of the inner area, laid `laid` pixels after the frame.
QRect innerSpan(Qt::Orientation fill, QSize size, int laid, int length)
{
    return spanRect(fill, size, 1 + laid, length, 1, crossLength(fill, size) - 1);
}

int percentOf(long double percent, int innerLength)
{
    return limitedLength(RoundEven(percent / 100 * innerLength));
}

} // namespace

int InnerLength(Qt::Orientation fill, QSize size)
{
    return (fill == Qt::Vertical ? size.height() : size.width()) - 2;
}

LevelPair ChooseLevelPair(int position, const LevelScheme& scheme)
{
    if (position < scheme.level1Perc)
        return scheme.pairs[0];
    if (position < scheme.level2Perc)
        return scheme.pairs[1];
    if (position < 100)
        return scheme.pairs[2];
    return scheme.pairs[3];
}

int SmoothFillLength(int position, int innerLength)
{
    return percentOf(position, innerLength);
}

int BlockFillLength(int position, int innerLength)
{
    return limitedLength(RoundEven(static_cast<long double>(static_cast<long long>(position) * innerLength) / 100));
}

QRect SmoothFillRect(Qt::Orientation fill, QSize size, int length)
{
    return innerSpan(fill, size, 0, length);
}

std::pair<QRect, QRect> GradientHalves(Qt::Orientation fill, const QRect& area)
{
    const int left = area.left();
    const int top = area.top();
    const int right = area.left() + area.width();
    const int bottom = area.top() + area.height();
    if (fill == Qt::Vertical) {
        const int xm = left + HalfOf(right - left);
        return {RectFromEdges(left, top, xm, bottom), RectFromEdges(xm, top, right, bottom)};
    }
    const int ym = top + HalfOf(bottom - top);
    return {RectFromEdges(left, top, right, ym), RectFromEdges(left, ym, right, bottom)};
}

Qt::Orientation BandAxis(Qt::Orientation fill)
{
    return fill == Qt::Vertical ? Qt::Horizontal : Qt::Vertical;
}

std::vector<QRect> BlockRects(Qt::Orientation fill, QSize size, int length)
{
    constexpr int kBlock = 7;
    constexpr int kGap = 2;
    constexpr int kInset = 2;

    std::vector<int> lengths;
    if (length < 10) {
        if (length > 1)
            lengths.push_back(length - 1);
    } else {
        lengths.assign(std::size_t(length / 9), kBlock);
        if (length % 9 > 2)
            lengths.push_back(length % 9 - 1);
    }

    std::vector<QRect> blocks;
    blocks.reserve(lengths.size());
    int offset = kInset;
    for (const int blockLength : lengths) {
        blocks.push_back(spanRect(fill, size, offset, blockLength, kInset, crossLength(fill, size) - kInset));
        offset += blockLength + kGap;
    }
    return blocks;
}

std::vector<StackedShare> StackedShares(Qt::Orientation fill, QSize size, int position,
                                        const LevelScheme& scheme)
{
    const int inner = InnerLength(fill, size);
    std::vector<StackedShare> shares;
    int laid = 0;
    auto lay = [&](int length, const LevelPair& pair) {
        shares.push_back({innerSpan(fill, size, laid, length), pair});
        laid += length;
    };

    lay(percentOf(std::min(position, scheme.level1Perc), inner), scheme.pairs[0]);
    if (position > scheme.level1Perc)
        lay(percentOf(static_cast<long double>(std::min(position, scheme.level2Perc)) - scheme.level1Perc, inner),
            scheme.pairs[1]);
    if (position > scheme.level2Perc) {
        const int last = position == 100
                             ? inner - laid
                             : percentOf(static_cast<long double>(position) - scheme.level2Perc, inner);
        lay(last, scheme.pairs[3]);
    }
    return shares;
}
