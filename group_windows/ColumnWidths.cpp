#include "group_windows/ColumnWidths.h"

#include "summary/SummaryCounts.h"

#include <QFontMetrics>
#include <QHeaderView>
#include <QTableView>

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

void FitCaptions(QTableView& view)
{
    const QHeaderView* header = view.horizontalHeader();
    for (int column = 0; column < header->count(); ++column)
        view.setColumnWidth(column, std::max(view.columnWidth(column), header->sectionSizeHint(column)));
}
