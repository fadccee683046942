#include "compare/ComparisonReport.h"

#include "compare/ComparisonCharts.h"
#include "compare/ComparisonTable.h"
#include "compare/GroupFigures.h"
#include "compare/PersonCourse.h"
#include "summary/CountsChart.h"
#include "summary/SummaryReport.h"

#include <QFontMetricsF>
#include <QPainter>

namespace {

using PersonColumn = ComparisonTable::PersonColumn;
using StageColumn = ComparisonTable::StageColumn;

const QString kTitle = QStringLiteral("Сравнение обследований");

// The fills besides the levels' (LevelCellFills): a person who got worse (crossed, or only tinted
// where a cross would crowd a number), a stage without a value.
struct ReportFills
{
    int worse = -1;
    int worseTint = -1;
    int gap = -1;
};

ReportFills AddReportFills(TableReport& report)
{
    report.fills = LevelCellFills();
    ReportFills fills;
    fills.worse = report.addFill({QColor(0xff, 0xd0, 0xd0), CellMark::Cross});
    fills.gap = report.addFill({QColor(0xe4, 0xe4, 0xe4), CellMark::None});
    fills.worseTint = report.addFill({QColor(0xff, 0xd0, 0xd0), CellMark::None});
    return fills;
}

// Shares of the page's width by what a column holds; the file column stays out of print.
qreal ColumnWidth(PersonColumn column)
{
    switch (column) {
    case PersonColumn::Person: return 22;
    case PersonColumn::Sex: return 6;
    case PersonColumn::Marks: return 14;
    case PersonColumn::Change: return 17;
    case PersonColumn::Direction: return 17;
    case PersonColumn::Count: break;
    }
    return 0;
}

qreal ColumnWidth(StageColumn column)
{
    switch (column) {
    case StageColumn::Index: return 12;
    case StageColumn::Level: return 31;
    case StageColumn::Kerdo: return 11;
    case StageColumn::Balance: return 21;
    case StageColumn::State: return 15;
    case StageColumn::File:
    case StageColumn::Count: break;
    }
    return 0;
}

// Short, so a caption fits its column in two lines: the stage's label, then what the column holds.
QString Caption(StageColumn column)
{
    switch (column) {
    case StageColumn::Index: return QStringLiteral("ИФИ");
    case StageColumn::Level: return QStringLiteral("уровень адаптации");
    case StageColumn::Kerdo: return QStringLiteral("Кердо");
    case StageColumn::Balance: return QStringLiteral("баланс");
    case StageColumn::State: return QStringLiteral("состояние");
    case StageColumn::File:
    case StageColumn::Count: break;
    }
    return {};
}

Qt::Alignment Alignment(StageColumn column)
{
    return column == StageColumn::Index || column == StageColumn::Kerdo ? Qt::AlignRight : Qt::AlignLeft;
}

// What a printed row needs besides its texts: each printed column's cell index and fill.
struct PrintedColumn
{
    qsizetype cell = -1;
    std::size_t stage = 0;
    bool isLevel = false;
    bool isState = false;
    bool marksWorse = false; // the person, the change and the direction
};

struct PrintedRow
{
    QStringList cells;
    std::vector<std::optional<AdaptationLevel>> levels; // per stage, when assessed there
    bool worse = false;
};

// The rows' texts, made here where the regional settings are read; the drawing only copies them.
struct PrintedTable
{
    ReportFills fills;
    QList<PrintedColumn> columns;
    std::vector<PrintedRow> rows;
    qsizetype changeCell = -1;
};

std::shared_ptr<const PrintedTable> PrintTable(const Comparison& comparison, const ComparisonTable& table,
                                               const ReportFills& fills, QList<TableColumn>& columns)
{
    auto printed = std::make_shared<PrintedTable>();
    printed->fills = fills;
    const QStringList captions = table.captions();
    const std::size_t stageCount = comparison.stages.size();
    const auto addPerson = [&](PersonColumn column, Qt::Alignment alignment) {
        const qsizetype cell = table.column(column);
        columns.append({captions.value(cell), ColumnWidth(column), alignment});
        printed->columns.append({cell, 0, false, false,
                                 column == PersonColumn::Person || column == PersonColumn::Change
                                     || column == PersonColumn::Direction});
    };
    addPerson(PersonColumn::Person, Qt::AlignLeft);
    addPerson(PersonColumn::Sex, Qt::AlignHCenter);
    addPerson(PersonColumn::Marks, Qt::AlignLeft);
    for (std::size_t s = 0; s < stageCount; ++s) {
        for (StageColumn column : {StageColumn::Index, StageColumn::Level, StageColumn::Kerdo, StageColumn::Balance,
                                   StageColumn::State}) {
            const qsizetype cell = table.column(s, column);
            // The label kept on one line (shortened if need be), what the column holds below it.
            QString label = comparison.stages[s].input.label;
            label.replace(u' ', QChar(0x00A0));
            columns.append({QStringLiteral("%1: %2").arg(label, Caption(column)),
                            ColumnWidth(column), Alignment(column)});
            printed->columns.append({cell, s, column == StageColumn::Level, column == StageColumn::State, false});
        }
    }
    addPerson(PersonColumn::Change, Qt::AlignRight);
    printed->changeCell = table.column(PersonColumn::Change);
    addPerson(PersonColumn::Direction, Qt::AlignLeft);

    printed->rows.reserve(std::size_t(table.rowCount()));
    for (qsizetype r = 0; r < table.rowCount(); ++r) {
        PrintedRow row;
        row.cells = table.cells(r);
        const ComparedPerson& person = table.person(r);
        for (std::size_t s = 0; s < stageCount; ++s) {
            const SummaryRow* file = comparison.singleRow(person, s);
            row.levels.push_back(file && file->outcome == RowOutcome::Assessed ? std::optional(file->result.Level)
                                                                                 : std::nullopt);
        }
        row.worse = table.course(r).direction == LevelDirection::Worse;
        printed->rows.push_back(std::move(row));
    }
    return printed;
}

TableRow RowCells(const PrintedTable& printed, qsizetype index)
{
    const qsizetype changeCell = printed.changeCell;
    const PrintedRow& row = printed.rows[std::size_t(index)];
    TableRow cells;
    cells.reserve(printed.columns.size());
    for (const PrintedColumn& column : printed.columns) {
        TableCell cell{row.cells.value(column.cell)};
        if (column.marksWorse && row.worse)
            cell.fill = column.cell == changeCell ? printed.fills.worseTint : printed.fills.worse;
        else if (column.isLevel && row.levels[column.stage])
            cell.fill = LevelFill(*row.levels[column.stage]);
        else if (column.isState && !row.levels[column.stage])
            cell.fill = printed.fills.gap;
        cells.append(cell);
    }
    return cells;
}

// A stage's line names its folders and files only when names are shown; its notes come grouped,
// a line per kind, so many of them never push the table off the first page.
QStringList StageLines(const Comparison& comparison, const GroupFigures& figures, bool anonymised)
{
    QStringList lines;
    for (std::size_t s = 0; s < comparison.stages.size(); ++s) {
        const StageResult& stage = comparison.stages[s];
        const QString sources =
            anonymised ? QString() : QStringLiteral(": ") + stage.input.paths.join(QStringLiteral(", "));
        // One arg() call: a "%4" typed in a label stays as typed.
        lines << QStringLiteral("Этап %1 «%2»%3 — файлов %4, рассчитано %5, неоднозначных %6")
                     .arg(QString::number(s + 1), stage.input.label, sources, QString::number(stage.rows.size()),
                          QString::number(figures.stages[s].counts.assessed),
                          QString::number(figures.stages[s].ambiguousFiles));
        for (const QString& note : StageNoteLines(comparison, s))
            lines << QStringLiteral("    ! ") + note;
    }
    return lines;
}

// The transition table: first stage's level by row, last stage's by column, with totals; moves to
// a worse level tinted red, to a better one green.
void DrawTransitions(QPainter& painter, const QRectF& area, const GroupFigures& figures, const QString& caption)
{
    const QFontMetricsF metrics(painter.font(), painter.device());
    const qreal line = metrics.lineSpacing();
    painter.drawText(QRectF(area.left(), area.top(), area.width(), line), Qt::AlignLeft | Qt::AlignVCenter,
                     metrics.elidedText(caption, Qt::ElideRight, area.width()));
    qreal widest = 0;
    for (AdaptationLevel level : kAllLevels)
        widest = std::max(widest, metrics.horizontalAdvance(QStringLiteral("4  ") + LevelText(level)));
    widest += metrics.averageCharWidth() * 2;
    const QString total = QStringLiteral("Всего");
    const qreal cell = std::min((area.width() - widest) / 5, metrics.horizontalAdvance(total) * 2);
    const qreal rowHeight = line * 1.3;
    const qreal top = area.top() + line * 1.2;
    const qreal left = area.left() + widest;
    const std::size_t n = kAllLevels.size();
    const auto box = [&](std::size_t row, std::size_t column) {
        return QRectF(left + cell * qreal(column), top + rowHeight * qreal(row), cell, rowHeight);
    };
    const TransitionTable counts = TransitionsWithTotals(figures);
    for (std::size_t from = 0; from <= n; ++from) {
        const qreal y = top + rowHeight * qreal(from + 1);
        QString rowCaption = total;
        if (from < n)
            rowCaption = QStringLiteral("%1  %2").arg(from + 1).arg(LevelText(kAllLevels[from]));
        painter.drawText(QRectF(area.left(), y, widest, rowHeight), Qt::AlignLeft | Qt::AlignVCenter, rowCaption);
        for (std::size_t to = 0; to <= n; ++to) {
            const QRectF at = box(from + 1, to);
            const int count = counts[from][to];
            if (from < n && to < n && to != from && count > 0)
                painter.fillRect(at, to > from ? QColor(0xff, 0xd0, 0xd0) : QColor(0xd8, 0xf0, 0xd8));
            painter.drawText(at, Qt::AlignCenter, QString::number(count));
            painter.drawRect(at);
        }
    }
    for (std::size_t to = 0; to <= n; ++to) {
        const QRectF at = box(0, to);
        if (to < n) {
            const qreal sample = metrics.ascent() * 0.8;
            painter.fillRect(QRectF(at.left() + (at.width() - sample) / 2 - sample, at.center().y() - sample / 2,
                                    sample, sample),
                             LevelQColor(kAllLevels[to]));
            painter.drawText(at.adjusted(sample, 0, 0, 0), Qt::AlignCenter, QString::number(to + 1));
        } else {
            painter.drawText(at, Qt::AlignCenter, total);
        }
    }
}

} // namespace

TableReport BuildComparisonReport(const ComparisonReportInput& input)
{
    const Comparison& comparison = *input.comparison;
    const GroupFigures figures = ComputeGroupFigures(comparison);
    ComparisonTable table(comparison, input.anonymised);
    table.setOrder(ComparisonTable::Order::WorseFirst);

    TableReport report;
    report.title = kTitle;
    QStringList labels;
    for (const StageResult& stage : comparison.stages)
        labels << stage.input.label;
    report.subject = labels.join(QStringLiteral(" → "));
    report.date = input.made.toString(QStringLiteral("dd.MM.yyyy HH:mm"));
    report.headingLines << QStringLiteral("Дата: %1; людей: %2%3")
                               .arg(report.date, QString::number(table.rowCount()),
                                    input.anonymised ? QStringLiteral("; имена заменены кодами, пути не указаны")
                                                     : QString());
    report.headingLines << StageLines(comparison, figures, input.anonymised) << StageOrderLine(comparison);

    const std::vector<StageLevelCounts> bars = StageLevelCountsOf(comparison, figures);
    const QString transitionsCaption =
        QStringLiteral("Переходы уровней: строка — этап «%1», столбец — этап «%2»")
            .arg(labels.value(0), labels.value(labels.size() - 1));
    const QStringList statistics = StatisticsLines(figures);
    report.figureHeight = 62;
    report.drawFigure = [bars, figures, transitionsCaption, statistics](QPainter& painter, const QRectF& area) {
        const qreal gap = area.width() * 0.04;
        const QRectF left(area.left(), area.top(), area.width() * 0.42, area.height());
        DrawLevelShareBars(painter, left, bars);
        const QRectF right(left.right() + gap, area.top(), area.right() - left.right() - gap, area.height());
        const QFontMetricsF metrics(painter.font(), painter.device());
        DrawTransitions(painter, right, figures, transitionsCaption);
        qreal y = right.top() + metrics.lineSpacing() * 1.2 + metrics.lineSpacing() * 1.3 * 6 + metrics.lineSpacing();
        for (const QString& text : statistics) {
            painter.drawText(QPointF(right.left(), y + metrics.ascent()), text);
            y += metrics.lineSpacing();
        }
    };

    const ReportFills fills = AddReportFills(report);
    for (AdaptationLevel level : kAllLevels)
        report.legend.append({LevelFill(level), LevelText(level)});
    report.legend.append({fills.worse, QStringLiteral("уровень на последнем этапе хуже, чем на первом")});
    report.legend.append({fills.gap, QStringLiteral("в этапе нет значения: нет файла, несколько файлов или файл не рассчитан")});
    report.legend.append({-1, RowOrderText(input.anonymised)});
    report.note = QStringLiteral(
        "ИФИ — индекс функциональных изменений сердечно-сосудистой системы; изменение ИФИ — от первого этапа к "
        "последнему, по значениям, как они показаны (два знака после запятой). Направление уровня: лучше — уровень "
        "ниже, чем на первом этапе. Кердо — вегетативный индекс Кердо. ДИ — 95-процентный доверительный интервал "
        "среднего (t Стьюдента); критерий Уилкоксона — по изменению ИФИ, критерий знаков — по направлению уровня.");

    const std::shared_ptr<const PrintedTable> printed = PrintTable(comparison, table, fills, report.columns);
    report.rowCount = qsizetype(printed->rows.size());
    report.rowAt = [printed](qsizetype row) { return RowCells(*printed, row); };
    return report;
}

QString WriteComparisonPdf(QIODevice& out, const TableReport& report, const PageProgress& progress)
{
    return WriteTableReportPdf(out, report, SummaryReportPageLayout(), progress);
}

QString WriteComparisonPdf(const QString& path, const TableReport& report, const PageProgress& progress)
{
    return WriteTableReportPdf(path, report, SummaryReportPageLayout(), progress);
}
