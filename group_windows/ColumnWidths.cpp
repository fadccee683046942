#include "group_windows/ColumnWidths.h"

#include "summary/SummaryCounts.h"

#include <QFontMetrics>

namespace {

constexpr int kCellPadding = 16; // the cell's margins and the grid line

template <typename Values, typename Text>
int Widest(const QFontMetrics& metrics, const Values& values, Text text)
{
    int widest = 0;
    for (auto value : values)
        widest = std::max(widest, metrics.horizontalAdvance(text(value)));
    return widest + kCellPadding;
}

} // namespace

int LevelColumnWidth(const QFontMetrics& metrics)
{
    return Widest(metrics, kAllLevels, LevelText);
}

int BalanceColumnWidth(const QFontMetrics& metrics)
{
    return Widest(metrics, kAllBalances, BalanceText);
}

int CharsWidth(const QFontMetrics& metrics, int chars)
{
    return metrics.averageCharWidth() * chars + kCellPadding;
}
