#include "summary/CountsChart.h"

#include <QFontMetrics>
#include <QPainter>

#include <algorithm>

QColor LevelQColor(AdaptationLevel level)
{
    const TColor c = LevelColor(level);
    return QColor(RedOf(c), GreenOf(c), BlueOf(c));
}

QColor TextColorOn(const QColor& background)
{
    return background.lightness() < 110 ? QColor(Qt::white) : QColor(Qt::black);
}

namespace {

struct Bar
{
    QString caption;
    int count;
    QColor color;
};

std::vector<Bar> Bars(const SummaryCounts& counts)
{
    std::vector<Bar> bars;
    for (AdaptationLevel level : kAllLevels)
        bars.push_back({LevelText(level), counts.level(level), LevelQColor(level)});
    const QColor balanceColors[] = {QColor(0x4f, 0x81, 0xbd), QColor(0x9b, 0xbb, 0x59), QColor(0xc0, 0x50, 0x4d)};
    for (VegetativeBalance balance : kAllBalances)
        bars.push_back({BalanceText(balance), counts.balance(balance), balanceColors[int(balance)]});
    return bars;
}

} // namespace

ChartTable CountsChartTable(const SummaryCounts& counts)
{
    ChartTable table{{QStringLiteral("Показатель"), QStringLiteral("Число"), QStringLiteral("Доля, %")}, {}};
    for (const Bar& bar : Bars(counts))
        table.rows.append({bar.caption, QString::number(bar.count), PercentText(bar.count, counts.assessed)});
    return table;
}

void DrawCountsChart(QPainter& painter, const QRect& area, const SummaryCounts& counts)
{
    const std::vector<Bar> bars = Bars(counts);

    int largest = 1;
    for (const Bar& bar : bars)
        largest = std::max(largest, bar.count);

    painter.save();
    const QFontMetrics metrics = painter.fontMetrics();
    int captionWidth = 0;
    for (const Bar& bar : bars)
        captionWidth = std::max(captionWidth, metrics.horizontalAdvance(bar.caption));
    const int countWidth = metrics.horizontalAdvance(QString::number(largest)) + 8;
    const int gap = 6; // between the level and the balance group
    const int rowHeight = std::max(1, (area.height() - gap) / int(bars.size()));
    const int barLeft = area.left() + captionWidth + 8;
    const int barSpan = std::max(1, area.right() - barLeft - countWidth);

    int y = area.top();
    for (std::size_t i = 0; i < bars.size(); ++i) {
        if (i == kAllLevels.size())
            y += gap;
        const Bar& bar = bars[i];
        painter.drawText(QRect(area.left(), y, captionWidth, rowHeight), Qt::AlignRight | Qt::AlignVCenter, bar.caption);
        const int length = int(qint64(barSpan) * bar.count / largest);
        const QRect barRect(barLeft, y + 2, std::max(length, bar.count > 0 ? 2 : 0), std::max(1, rowHeight - 4));
        painter.fillRect(barRect, bar.color);
        painter.drawText(QRect(barRect.right() + 5, y, countWidth, rowHeight), Qt::AlignLeft | Qt::AlignVCenter,
                         QString::number(bar.count));
        y += rowHeight;
    }
    painter.restore();
}
