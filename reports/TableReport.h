#pragma once

#include <QColor>
#include <QList>
#include <QRectF>
#include <QString>
#include <QStringList>

#include <functional>
#include <vector>

class QFontMetricsF;
class QIODevice;
class QPageLayout;
class QPagedPaintDevice;
class QPainter;
class QPaintDevice;

// A long table printed page by page: a running head (title, subject, date) and "стр. N из M" on
// every page, a heading block and a legend on the first page, the column captions on every page.
// Rows have one fixed height; a text is wrapped at spaces only and shortened with "…" when it
// does not fit, so no word is ever broken. Laid out first (the page count is known before the
// first page is drawn), then drawn a page at a time: the cost grows with the rows.

// A mark drawn before a cell's text, so a marked cell reads in black-and-white print too.
enum class CellMark { None, Circle, Triangle, FilledTriangle, FilledSquare, Cross };

// How a cell is marked: a light tint behind the text and a mark before it.
struct CellFill
{
    QColor tint;
    CellMark mark = CellMark::None;
};

struct TableColumn
{
    QString caption;    // short; wrapped at spaces onto at most two lines
    qreal width = 1;    // share of the table's width, against the other columns' shares
    Qt::Alignment alignment = Qt::AlignLeft;
    // ElideLeft: one line. ElideMiddle, for a path: its folders, then on the next line the rest
    // ending in the file's name.
    Qt::TextElideMode elide = Qt::ElideRight;
};

struct TableCell
{
    QString text;
    int fill = -1; // index into TableReport::fills; -1 for none
};

using TableRow = QList<TableCell>;

// A legend line: a fill's sample (fill -1: none) and its text.
struct LegendEntry
{
    int fill = -1;
    QString text;
};

struct TableReport
{
    // The running head on every page.
    QString title;
    QString subject;
    QString date;
    // The first page, above the table: plain lines, then the legend, then a note in small print.
    QStringList headingLines;
    // A picture between the heading lines and the legend, as wide as the page, `figureHeight` mm high.
    qreal figureHeight = 0;
    std::function<void(QPainter& painter, const QRectF& area)> drawFigure;
    QList<LegendEntry> legend;
    QString note;

    QList<CellFill> fills;
    // Adds a fill; its index is the name a cell refers to it by.
    int addFill(const CellFill& fill)
    {
        fills.append(fill);
        return int(fills.size()) - 1;
    }
    QList<TableColumn> columns;
    qsizetype rowCount = 0;
    std::function<TableRow(qsizetype)> rowAt; // asked while drawing, once per row
    int linesPerRow = 2;
    qreal pointSize = 7;
};

// Where everything goes, in the device's pixels; rows [pageStarts[p], pageStarts[p + 1]) go on page p.
struct TableReportLayout
{
    QRectF page;
    qreal lineHeight = 0;
    qreal padding = 0;
    qreal headHeight = 0;    // the running head, with the gap below it
    qreal footHeight = 0;    // the page number, with the gap above it
    qreal headingHeight = 0; // the first page's heading block and legend, with the gap below
    qreal captionHeight = 0;
    qreal rowHeight = 0;
    std::vector<qreal> columnLeft; // one more than the columns: the right edge last
    std::vector<qsizetype> pageStarts;

    int pageCount() const { return int(pageStarts.size()) - 1; }
    // The top of the table (its caption row) on page `index`.
    qreal tableTop(int index) const { return page.top() + headHeight + (index == 0 ? headingHeight : 0); }
};

// Lays the report out on a device's page (its painting area, origin at the top left).
TableReportLayout LayOutTableReport(const TableReport& report, QPaintDevice& device);

// Draws one page of a layout.
void DrawTableReportPage(QPainter& painter, const TableReport& report, const TableReportLayout& layout, int page);

// Told before each page is drawn (0-based, of pageCount); false stops the drawing.
using PageProgress = std::function<bool(int page, int pageCount)>;

// Lays out and draws every page on `device` with an active `painter`. False when `progress` stopped it.
bool PaintTableReport(QPainter& painter, QPagedPaintDevice& device, const TableReport& report,
                      const PageProgress& progress = {});

// PaintTableReport with a painter of its own. False when the device could not be painted on or
// `progress` stopped it.
bool PrintTableReport(QPagedPaintDevice& device, const TableReport& report, const PageProgress& progress = {});

// Writes the report as a PDF on `pageLayout`, titled with its title, into `out`. Empty text on
// success, else the reason.
QString WriteTableReportPdf(QIODevice& out, const TableReport& report, const QPageLayout& pageLayout,
                            const PageProgress& progress = {});
// The same as an export to `path` (reports/ExportFile.h): when it fails or `progress` stops it, an
// earlier file stays as it was and no temporary file is left.
QString WriteTableReportPdf(const QString& path, const TableReport& report, const QPageLayout& pageLayout,
                            const PageProgress& progress = {});

// Several reports one after the other in one PDF (each with its own page numbers), titled with
// the first's title; replaced as WriteTableReportPdf replaces it.
QString WriteTableReportsPdf(QIODevice& out, const QList<TableReport>& reports, const QPageLayout& pageLayout,
                             const PageProgress& progress = {});
QString WriteTableReportsPdf(const QString& path, const QList<TableReport>& reports, const QPageLayout& pageLayout,
                             const PageProgress& progress = {});

// Splits a text into at most `maxLines` lines of at most `width`, at spaces only; a word or line
// that does not fit is shortened with "…" at `elide`'s end. ElideMiddle on two lines or more: a
// path, broken after a folder, its file's name kept.
QStringList WrapAtSpaces(const QString& text, const QFontMetricsF& metrics, qreal width, int maxLines,
                         Qt::TextElideMode elide = Qt::ElideRight);
