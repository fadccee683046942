#include "groups/GroupsReport.h"

#include "groups/GroupsText.h"
#include "summary/CountsChart.h"
#include "summary/SummaryReport.h"

#include <QFont>
#include <QFontMetricsF>
#include <QPainter>

#include <algorithm>
#include <memory>

namespace {

const QString kTitle = QStringLiteral("Группы");

QString GroupingText(const Grouping& grouping)
{
    QStringList words;
    for (GroupingKey key : grouping.keys) {
        switch (key) {
        case GroupingKey::Source: words << QStringLiteral("источник"); break;
        case GroupingKey::Sex: words << QStringLiteral("пол"); break;
        case GroupingKey::AgeBand: words << QStringLiteral("возрастная группа"); break;
        }
    }
    return words.isEmpty() ? QStringLiteral("без разбиения") : words.join(QStringLiteral(" × "));
}

// Rows fixed when the report is built, handed out while drawing.
std::function<TableRow(qsizetype)> RowsOf(QList<TableRow> rows)
{
    auto shared = std::make_shared<const QList<TableRow>>(std::move(rows));
    return [shared](qsizetype i) { return shared->at(i); };
}

TableRow Cells(const QStringList& texts)
{
    TableRow row;
    for (const QString& text : texts)
        row.append({text, -1});
    return row;
}

// A distinct shade per group, readable in grey print: hue steps, darkness alternating.
QColor GroupColor(std::size_t index, std::size_t count)
{
    const int hue = int(360 * index / std::max<std::size_t>(count, 1));
    return QColor::fromHsv(hue % 360, 150, index % 2 ? 150 : 215);
}

} // namespace

void DrawLevelSharesChart(QPainter& painter, const QRectF& area, const GroupsResult& result)
{
    painter.save();
    const std::size_t groups = result.groups.size();
    QFont font = painter.font();
    font.setPointSizeF(7);
    painter.setFont(font);
    const QFontMetricsF metrics(font, painter.device());
    const qreal line = metrics.height();
    // The legend on the right, a line per group.
    qreal legendWidth = 0;
    for (const GroupStats& g : result.groups)
        legendWidth = std::max(legendWidth, metrics.horizontalAdvance(g.label));
    legendWidth = std::min(legendWidth + 2 * line, area.width() / 3);
    const QRectF plot(area.left() + 3 * line, area.top() + line / 2, area.width() - legendWidth - 4 * line,
                      area.height() - 2.5 * line);
    painter.setPen(QPen(Qt::black, 0));
    for (int percent = 0; percent <= 100; percent += 25) {
        const qreal y = plot.bottom() - plot.height() * percent / 100.0;
        painter.setPen(QPen(percent ? QColor(0xcc, 0xcc, 0xcc) : Qt::black, 0));
        painter.drawLine(QPointF(plot.left(), y), QPointF(plot.right(), y));
        painter.setPen(Qt::black);
        painter.drawText(QRectF(area.left(), y - line / 2, 2.6 * line, line), Qt::AlignRight | Qt::AlignVCenter,
                         QStringLiteral("%1 %").arg(percent));
    }
    const qreal slot = plot.width() / qreal(kAllLevels.size());
    const qreal bar = groups ? slot * 0.8 / qreal(groups) : 0;
    for (std::size_t l = 0; l < kAllLevels.size(); ++l) {
        const qreal left = plot.left() + slot * qreal(l) + slot * 0.1;
        for (std::size_t g = 0; g < groups; ++g) {
            const SummaryCounts& c = result.groups[g].counts;
            const qreal share = c.assessed ? qreal(c.perLevel[l]) / c.assessed : 0;
            const QRectF rect(left + bar * qreal(g), plot.bottom() - plot.height() * share, bar, plot.height() * share);
            painter.fillRect(rect, GroupColor(g, groups));
            painter.setPen(QPen(Qt::black, 0));
            painter.drawRect(rect);
        }
        // Two lines at most, broken at spaces and shortened at the end, so no word loses its start.
        const QStringList caption = WrapAtSpaces(LevelText(kAllLevels[l]), metrics, slot - line / 4, 2);
        painter.drawText(QRectF(plot.left() + slot * qreal(l), plot.bottom() + line / 4, slot, 2 * line),
                         Qt::AlignHCenter | Qt::AlignTop, caption.join(u'\n'));
    }
    for (std::size_t g = 0; g < groups; ++g) {
        const QRectF swatch(area.right() - legendWidth + line / 2, area.top() + line * qreal(g) + line / 4,
                            line * 0.7, line * 0.7);
        painter.fillRect(swatch, GroupColor(g, groups));
        painter.drawRect(swatch);
        painter.drawText(QRectF(swatch.right() + line / 3, area.top() + line * qreal(g), legendWidth - 1.5 * line, line),
                         Qt::AlignLeft | Qt::AlignVCenter,
                         metrics.elidedText(result.groups[g].label, Qt::ElideRight, legendWidth - 1.5 * line));
    }
    painter.restore();
}

TableReport GroupsFiguresReport(const GroupsResult& result, const QString& date)
{
    TableReport report;
    report.title = kTitle;
    report.subject = GroupingText(result.grouping);
    report.date = date;
    report.headingLines << QStringLiteral("Разбиение: %1; групп: %2").arg(report.subject).arg(result.groups.size());
    if (result.unplacedRows > 0)
        report.headingLines << QStringLiteral("Вне групп (пол или возраст не прочитаны): %1").arg(result.unplacedRows);
    report.figureHeight = 55;
    const auto shared = std::make_shared<const GroupsResult>(result);
    report.drawFigure = [shared](QPainter& painter, const QRectF& area) { DrawLevelSharesChart(painter, area, *shared); };
    report.note = QStringLiteral("Me [Q1; Q3] — медиана и квартили (тип 7), M ± SD — среднее и стандартное отклонение; "
                                 "p — по тестам на следующей странице.");
    const qreal groupWidth = 70.0 / qreal(std::max<std::size_t>(result.groups.size(), 1));
    report.columns.append({QStringLiteral("Показатель"), 22, Qt::AlignLeft});
    for (const GroupStats& g : result.groups)
        report.columns.append({g.label, groupWidth, Qt::AlignRight});
    report.columns.append({QStringLiteral("p"), 8, Qt::AlignRight});
    report.linesPerRow = 1;
    QList<TableRow> rows;
    for (const FigureRow& row : FigureRows(result))
        rows.append(Cells(QStringList{row.caption} + row.cells + QStringList{row.p}));
    report.rowCount = rows.size();
    report.rowAt = RowsOf(std::move(rows));
    return report;
}

TableReport GroupsTestsReport(const GroupsResult& result, const QString& date)
{
    TableReport report;
    report.title = QStringLiteral("Группы: тесты");
    report.subject = GroupingText(result.grouping);
    report.date = date;
    report.note = QStringLiteral("Двусторонние p. После теста Краскела — Уоллиса попарные тесты Манна — Уитни "
                                 "с поправкой Холма. Точный тест — при ожидаемой частоте ниже 5.");
    report.columns.append({QStringLiteral("Тест"), 1, Qt::AlignLeft});
    report.linesPerRow = 1;
    QList<TableRow> rows;
    for (const GroupTest& test : result.tests)
        rows.append(Cells({TestLine(test)}));
    report.rowCount = rows.size();
    report.rowAt = RowsOf(std::move(rows));
    return report;
}

TableReport RiskListReport(const GroupsResult& result, const QString& date, const RiskCoder& coder)
{
    TableReport report;
    report.title = QStringLiteral("Группа риска");
    report.subject = GroupingText(result.grouping);
    report.date = date;
    report.headingLines << QStringLiteral("Неудовлетворительная адаптация и срыв адаптации: %1").arg(result.risk.size());
    report.fills = LevelCellFills();
    for (AdaptationLevel level : {AdaptationLevel::Breakdown, AdaptationLevel::Unsatisfactory})
        report.legend.append({LevelFill(level), LevelText(level)});
    report.columns.append({coder ? QStringLiteral("Код") : QStringLiteral("Ф. И. О."), 26, Qt::AlignLeft});
    report.columns.append({QStringLiteral("Группа"), 18, Qt::AlignLeft});
    report.columns.append({QStringLiteral("Уровень адаптации"), 26, Qt::AlignLeft});
    report.columns.append({QStringLiteral("ИФИ"), 8, Qt::AlignRight});
    report.columns.append({QStringLiteral("Кердо"), 8, Qt::AlignRight});
    if (!coder)
        report.columns.append({QStringLiteral("Файл"), 24, Qt::AlignLeft, Qt::ElideLeft});
    QList<TableRow> rows;
    for (const RiskEntry& entry : result.risk) {
        QString level = LevelText(entry.level);
        if (entry.previousLevel)
            level = QStringLiteral("%1 (было: %2)").arg(level, LevelText(*entry.previousLevel));
        TableRow row = Cells({RiskPerson(entry, coder), entry.group, level, entry.row.adaptationIndexShown,
                              QString::number(entry.kerdo)});
        row[2].fill = LevelFill(entry.level);
        if (!coder)
            row.append({entry.row.path, -1});
        rows.append(row);
    }
    report.rowCount = rows.size();
    report.rowAt = RowsOf(std::move(rows));
    return report;
}

QString WriteGroupsPdf(QIODevice& out, const GroupsResult& result, const QString& date, const RiskCoder& coder,
                       const PageProgress& progress)
{
    return WriteTableReportsPdf(out,
                                {GroupsFiguresReport(result, date), GroupsTestsReport(result, date),
                                 RiskListReport(result, date, coder)},
                                SummaryReportPageLayout(), progress);
}

QString WriteGroupsPdf(const QString& path, const GroupsResult& result, const QString& date, const RiskCoder& coder,
                       const PageProgress& progress)
{
    return WriteTableReportsPdf(path,
                                {GroupsFiguresReport(result, date), GroupsTestsReport(result, date),
                                 RiskListReport(result, date, coder)},
                                SummaryReportPageLayout(), progress);
}
