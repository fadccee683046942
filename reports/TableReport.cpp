#include "reports/TableReport.h"

#include "reports/ExportFile.h"

#include <QFontMetricsF>
#include <QHash>
#include <QPagedPaintDevice>
#include <QPainter>
#include <QPainterPath>
#include <QPdfWriter>

#include <algorithm>
#include <cmath>

namespace {

constexpr int kMaxCaptionLines = 2;
const QColor kCaptionTint(0xe8, 0xe8, 0xe8);
const QColor kRuleColor(0x60, 0x60, 0x60);

QFont BodyFont(const TableReport& report)
{
    QFont font;
    font.setFamilies({QStringLiteral("Liberation Sans"), QStringLiteral("DejaVu Sans")});
    font.setPointSizeF(report.pointSize);
    return font;
}

QFont Varied(QFont font, qreal pointSize, bool bold)
{
    font.setPointSizeF(pointSize);
    font.setBold(bold);
    return font;
}

// The report's fonts and their metrics on one device.
struct Fonts
{
    Fonts(const TableReport& report, QPaintDevice& device)
        : body(BodyFont(report)),
          bold(Varied(body, report.pointSize, true)),
          head(Varied(body, report.pointSize + 1.5, false)),
          title(Varied(body, report.pointSize + 7, true)),
          bodyMetrics(body, &device),
          boldMetrics(bold, &device),
          headMetrics(head, &device),
          titleMetrics(title, &device),
          mm(device.logicalDpiY() / 25.4)
    {
    }
    const QFont body, bold, head, title;
    const QFontMetricsF bodyMetrics, boldMetrics, headMetrics, titleMetrics;
    const qreal mm;
};

// The mark centred on the left of `area`, `size` high.
void DrawMark(QPainter& painter, CellMark mark, const QRectF& area, qreal size)
{
    if (mark == CellMark::None)
        return;
    const QRectF box(area.left(), area.center().y() - size / 2, size, size);
    const bool filled = mark == CellMark::FilledTriangle || mark == CellMark::FilledSquare;
    painter.save();
    painter.setRenderHint(QPainter::Antialiasing);
    painter.setPen(QPen(Qt::black, size / 8));
    painter.setBrush(filled ? QBrush(Qt::black) : QBrush(Qt::white));
    switch (mark) {
    case CellMark::Circle:
        painter.drawEllipse(box);
        break;
    case CellMark::Triangle:
    case CellMark::FilledTriangle: {
        const QPointF corners[] = {{box.center().x(), box.top()}, box.bottomRight(), box.bottomLeft()};
        painter.drawPolygon(corners, 3);
        break;
    }
    case CellMark::FilledSquare:
        painter.drawRect(box.adjusted(size * 0.05, size * 0.05, -size * 0.05, -size * 0.05));
        break;
    case CellMark::Cross:
        painter.setPen(QPen(Qt::black, size / 4));
        painter.drawLine(box.topLeft(), box.bottomRight());
        painter.drawLine(box.topRight(), box.bottomLeft());
        break;
    case CellMark::None:
        break;
    }
    painter.restore();
}

// Measures the first page's heading block and legend and, given a painter, draws them from `top`.
qreal HeadingBlock(QPainter* painter, const TableReport& report, const Fonts& fonts, const QRectF& page, qreal top)
{
    qreal y = top;
    if (painter != nullptr) {
        painter->setFont(fonts.title);
        painter->drawText(QPointF(page.left(), y + fonts.titleMetrics.ascent()), report.title);
    }
    y += fonts.titleMetrics.lineSpacing() + fonts.mm;
    const QFontMetricsF& line = fonts.headMetrics;
    if (painter != nullptr)
        painter->setFont(fonts.head);
    for (const QString& text : report.headingLines) {
        if (painter != nullptr)
            painter->drawText(QPointF(page.left(), y + line.ascent()),
                              line.elidedText(text, Qt::ElideMiddle, page.width()));
        y += line.lineSpacing();
    }
    if (report.drawFigure && report.figureHeight > 0) {
        y += fonts.mm;
        const QRectF area(page.left(), y, page.width(), report.figureHeight * fonts.mm);
        if (painter != nullptr) {
            painter->save();
            painter->setFont(fonts.body);
            painter->setPen(Qt::black);
            report.drawFigure(*painter, area);
            painter->restore();
        }
        y = area.bottom() + fonts.mm;
    }
    if (!report.legend.isEmpty())
        y += fonts.mm;
    const qreal sample = line.height();
    for (const LegendEntry& entry : report.legend) {
        if (painter != nullptr) {
            qreal x = page.left();
            if (entry.fill >= 0) {
                const QRectF box(x, y, sample * 1.6, sample);
                painter->fillRect(box, report.fills[entry.fill].tint);
                painter->setPen(kRuleColor);
                painter->drawRect(box);
                DrawMark(*painter, report.fills[entry.fill].mark, box.adjusted(sample * 0.3, 0, 0, 0), sample * 0.7);
                x = box.right() + fonts.mm * 1.5;
            }
            painter->setPen(Qt::black);
            painter->drawText(QPointF(x, y + line.ascent()), entry.text);
        }
        y += std::max(line.lineSpacing(), sample + fonts.mm * 0.6);
    }
    if (!report.note.isEmpty()) {
        y += fonts.mm;
        if (painter != nullptr)
            painter->setFont(fonts.body);
        const QStringList lines = WrapAtSpaces(report.note, fonts.bodyMetrics, page.width(), 20);
        for (const QString& text : lines) {
            if (painter != nullptr)
                painter->drawText(QPointF(page.left(), y + fonts.bodyMetrics.ascent()), text);
            y += fonts.bodyMetrics.lineSpacing();
        }
    }
    return y - top + fonts.mm * 3;
}

// A path too long for a line on two: its folders as far as they fit, then the rest ending in
// the file's name; what still does not fit is cut from the folders, never from the name.
QStringList SplitPath(const QString& path, const QFontMetricsF& metrics, qreal width)
{
    qsizetype split = path.indexOf(u'/', 1);
    for (qsizetype slash = split; slash > 0; slash = path.indexOf(u'/', slash + 1)) {
        if (metrics.horizontalAdvance(path.left(slash + 1)) > width)
            break;
        split = slash;
    }
    if (split <= 0)
        return {metrics.elidedText(path, Qt::ElideLeft, width)};
    return {metrics.elidedText(path.left(split + 1), Qt::ElideMiddle, width),
            metrics.elidedText(path.mid(split + 1), Qt::ElideLeft, width)};
}

} // namespace

QStringList WrapAtSpaces(const QString& text, const QFontMetricsF& metrics, qreal width, int maxLines,
                         Qt::TextElideMode elide)
{
    if (text.isEmpty())
        return {};
    if (metrics.horizontalAdvance(text) <= width)
        return {text};
    if (maxLines >= 2 && elide == Qt::ElideMiddle)
        return SplitPath(text, metrics, width);
    if (maxLines <= 1 || elide != Qt::ElideRight)
        return {metrics.elidedText(text, elide, width)};
    QStringList lines;
    const QStringList words = text.split(u' ', Qt::SkipEmptyParts);
    qsizetype i = 0;
    while (i < words.size()) {
        if (lines.size() == maxLines - 1) {
            lines << metrics.elidedText(words.mid(i).join(u' '), Qt::ElideRight, width);
            break;
        }
        QString line = words[i++];
        while (i < words.size()) {
            const QString longer = line + u' ' + words[i];
            if (metrics.horizontalAdvance(longer) > width)
                break;
            line = longer;
            ++i;
        }
        // A single word wider than the column is shortened, never broken.
        lines << metrics.elidedText(line, Qt::ElideRight, width);
    }
    return lines;
}

TableReportLayout LayOutTableReport(const TableReport& report, QPaintDevice& device)
{
    const Fonts fonts(report, device);
    TableReportLayout layout;
    layout.page = QRectF(0, 0, device.width(), device.height());
    layout.lineHeight = fonts.bodyMetrics.lineSpacing();
    layout.padding = fonts.mm * 0.8;
    layout.headHeight = fonts.headMetrics.lineSpacing() + fonts.mm * 3;
    layout.footHeight = fonts.headMetrics.lineSpacing() + fonts.mm * 2;
    layout.headingHeight = HeadingBlock(nullptr, report, fonts, layout.page, 0);
    layout.rowHeight = report.linesPerRow * layout.lineHeight + 2 * layout.padding;

    qreal totalWidth = 0;
    for (const TableColumn& column : report.columns)
        totalWidth += column.width;
    qreal x = layout.page.left();
    layout.columnLeft.push_back(x);
    int captionLines = 1;
    for (const TableColumn& column : report.columns) {
        const qreal width = totalWidth > 0 ? layout.page.width() * column.width / totalWidth : 0;
        const QStringList lines =
            WrapAtSpaces(column.caption, fonts.boldMetrics, width - 2 * layout.padding, kMaxCaptionLines);
        captionLines = std::max(captionLines, int(lines.size()));
        x += width;
        layout.columnLeft.push_back(x);
    }
    layout.captionHeight = captionLines * fonts.boldMetrics.lineSpacing() + 2 * layout.padding;

    const qreal body = layout.page.height() - layout.headHeight - layout.footHeight - layout.captionHeight;
    const auto rowsIn = [&](qreal height) { return qsizetype(std::max(0.0, std::floor(height / layout.rowHeight))); };
    const qsizetype first = rowsIn(body - layout.headingHeight);
    const qsizetype later = std::max<qsizetype>(1, rowsIn(body));
    layout.pageStarts.push_back(0);
    for (qsizetype start = first; start < report.rowCount; start += later)
        layout.pageStarts.push_back(start);
    layout.pageStarts.push_back(report.rowCount);
    return layout;
}

namespace {

// Draws the pages of one layout. Column texts repeat (levels, verdicts, numbers), so a text's
// lines and their widths are measured once per column.
class PagePainter
{
public:
    PagePainter(const TableReport& report, const TableReportLayout& layout, QPaintDevice& device)
        : m_report(report), m_layout(layout), m_fonts(report, device), m_measured(std::size_t(report.columns.size()))
    {
    }

    void draw(QPainter& painter, int page);

private:
    struct Lines
    {
        QStringList texts;
        QList<qreal> widths;
    };
    const Lines& measured(std::size_t column, const QString& text, const QFontMetricsF& metrics, qreal width,
                          int maxLines);
    void drawLines(QPainter& painter, const Lines& lines, const QFontMetricsF& metrics, std::size_t column,
                   qreal top, qreal height, qreal indent) const;

    const TableReport& m_report;
    const TableReportLayout& m_layout;
    const Fonts m_fonts;
    std::vector<QHash<QString, Lines>> m_measured; // per column; the captions' under their own key
};

const PagePainter::Lines& PagePainter::measured(std::size_t column, const QString& text, const QFontMetricsF& metrics,
                                                qreal width, int maxLines)
{
    QHash<QString, Lines>& known = m_measured[column];
    if (const auto found = known.constFind(text); found != known.constEnd())
        return *found;
    if (known.size() >= 2048) // names and paths rarely repeat; keep the memory bounded
        known.clear();
    Lines lines;
    lines.texts = WrapAtSpaces(text, metrics, width, maxLines, m_report.columns[qsizetype(column)].elide);
    for (const QString& line : lines.texts)
        lines.widths << metrics.horizontalAdvance(line);
    return *known.insert(text, lines);
}

void PagePainter::drawLines(QPainter& painter, const Lines& lines, const QFontMetricsF& metrics, std::size_t column,
                            qreal top, qreal height, qreal indent) const
{
    const qreal left = m_layout.columnLeft[column] + m_layout.padding + indent;
    const qreal right = m_layout.columnLeft[column + 1] - m_layout.padding;
    qreal baseline = top + (height - qreal(lines.texts.size()) * metrics.lineSpacing()) / 2 + metrics.ascent();
    const Qt::Alignment alignment = m_report.columns[qsizetype(column)].alignment;
    for (qsizetype i = 0; i < lines.texts.size(); ++i) {
        qreal x = left;
        if (alignment & Qt::AlignRight)
            x = right - lines.widths[i];
        else if (alignment & Qt::AlignHCenter)
            x = (left + right - lines.widths[i]) / 2;
        painter.drawText(QPointF(x, baseline), lines.texts[i]);
        baseline += metrics.lineSpacing();
    }
}

void PagePainter::draw(QPainter& painter, int page)
{
    const TableReport& report = m_report;
    const TableReportLayout& layout = m_layout;
    const Fonts& fonts = m_fonts;
    const QRectF& area = layout.page;
    const qreal thin = fonts.mm * 0.12;
    painter.setPen(QPen(Qt::black, thin));
    painter.setBrush(Qt::NoBrush);

    // The running head: title and subject on the left, the date on the right, a rule below.
    painter.setFont(fonts.head);
    const QFontMetricsF& head = fonts.headMetrics;
    const qreal headBaseline = area.top() + head.ascent();
    const qreal dateWidth = head.horizontalAdvance(report.date);
    painter.drawText(QPointF(area.right() - dateWidth, headBaseline), report.date);
    const QString running = report.subject.isEmpty() ? report.title : report.title + QStringLiteral(" — ") + report.subject;
    painter.drawText(QPointF(area.left(), headBaseline),
                     head.elidedText(running, Qt::ElideRight, area.width() - dateWidth - fonts.mm * 5));
    const qreal ruleY = area.top() + head.height() + fonts.mm;
    painter.drawLine(QPointF(area.left(), ruleY), QPointF(area.right(), ruleY));
    const QString number = QStringLiteral("стр. %1 из %2").arg(page + 1).arg(layout.pageCount());
    painter.drawText(QPointF(area.right() - head.horizontalAdvance(number), area.bottom() - head.descent()), number);

    if (page == 0)
        HeadingBlock(&painter, report, fonts, area, area.top() + layout.headHeight);

    // The captions, on every page.
    const qreal top = layout.tableTop(page);
    const std::size_t columns = std::size_t(report.columns.size());
    painter.fillRect(QRectF(area.left(), top, area.width(), layout.captionHeight), kCaptionTint);
    painter.setFont(fonts.bold);
    for (std::size_t c = 0; c < columns; ++c) {
        const qreal width = layout.columnLeft[c + 1] - layout.columnLeft[c] - 2 * layout.padding;
        Lines caption;
        caption.texts = WrapAtSpaces(report.columns[qsizetype(c)].caption, fonts.boldMetrics, width, kMaxCaptionLines);
        for (const QString& line : caption.texts)
            caption.widths << fonts.boldMetrics.horizontalAdvance(line);
        drawLines(painter, caption, fonts.boldMetrics, c, top, layout.captionHeight, 0);
    }

    // The rows: tints and marks first, then the texts, then the rules over them.
    painter.setFont(fonts.body);
    const qsizetype from = layout.pageStarts[std::size_t(page)];
    const qsizetype to = layout.pageStarts[std::size_t(page) + 1];
    const qreal markSize = fonts.bodyMetrics.ascent() * 0.8;
    qreal y = top + layout.captionHeight;
    for (qsizetype r = from; r < to; ++r, y += layout.rowHeight) {
        const TableRow row = report.rowAt(r);
        for (std::size_t c = 0; c < columns && c < std::size_t(row.size()); ++c) {
            const TableCell& cell = row[qsizetype(c)];
            qreal indent = 0;
            if (cell.fill >= 0) {
                const CellFill& fill = report.fills[cell.fill];
                const QRectF box(layout.columnLeft[c], y, layout.columnLeft[c + 1] - layout.columnLeft[c],
                                 layout.rowHeight);
                painter.fillRect(box, fill.tint);
                if (fill.mark != CellMark::None) {
                    DrawMark(painter, fill.mark, box.adjusted(layout.padding, 0, 0, 0), markSize);
                    indent = markSize + layout.padding;
                }
            }
            const TableColumn& column = report.columns[qsizetype(c)];
            const qreal width = layout.columnLeft[c + 1] - layout.columnLeft[c] - 2 * layout.padding - indent;
            const int lines = column.elide == Qt::ElideLeft ? 1 : report.linesPerRow;
            drawLines(painter, measured(c, cell.text, fonts.bodyMetrics, width, lines), fonts.bodyMetrics, c, y,
                      layout.rowHeight, indent);
        }
    }

    QList<QLineF> rules;
    const qreal bottom = y;
    for (qreal line = top + layout.captionHeight; line < bottom - 0.5; line += layout.rowHeight)
        rules << QLineF(area.left(), line, area.right(), line);
    for (std::size_t c = 1; c < columns; ++c)
        rules << QLineF(layout.columnLeft[c], top, layout.columnLeft[c], bottom);
    painter.setPen(QPen(kRuleColor, thin));
    painter.drawLines(rules);
    painter.setPen(QPen(Qt::black, thin * 2));
    painter.drawRect(QRectF(area.left(), top, area.width(), bottom - top));
}

} // namespace

void DrawTableReportPage(QPainter& painter, const TableReport& report, const TableReportLayout& layout, int page)
{
    PagePainter(report, layout, *painter.device()).draw(painter, page);
}

bool PaintTableReport(QPainter& painter, QPagedPaintDevice& device, const TableReport& report,
                      const PageProgress& progress)
{
    const TableReportLayout layout = LayOutTableReport(report, device);
    PagePainter pages(report, layout, device);
    for (int page = 0; page < layout.pageCount(); ++page) {
        if (progress && !progress(page, layout.pageCount()))
            return false;
        if (page > 0)
            device.newPage();
        pages.draw(painter, page);
    }
    return true;
}

bool PrintTableReport(QPagedPaintDevice& device, const TableReport& report, const PageProgress& progress)
{
    QPainter painter;
    if (!painter.begin(&device))
        return false;
    const bool done = PaintTableReport(painter, device, report, progress);
    return painter.end() && done;
}

QString WriteTableReportPdf(QIODevice& out, const TableReport& report, const QPageLayout& pageLayout,
                            const PageProgress& progress)
{
    return WriteTableReportsPdf(out, {report}, pageLayout, progress);
}

QString WriteTableReportPdf(const QString& path, const TableReport& report, const QPageLayout& pageLayout,
                            const PageProgress& progress)
{
    return WriteTableReportsPdf(path, {report}, pageLayout, progress);
}

QString WriteTableReportsPdf(QIODevice& out, const QList<TableReport>& reports, const QPageLayout& pageLayout,
                             const PageProgress& progress)
{
    if (reports.isEmpty())
        return QStringLiteral("нечего записывать");
    QPdfWriter writer(&out);
    writer.setTitle(reports.front().title);
    writer.setCreator(QStringLiteral("vornale-summary"));
    writer.setResolution(300);
    writer.setPageLayout(pageLayout);
    QPainter painter;
    bool done = painter.begin(&writer);
    for (qsizetype i = 0; done && i < reports.size(); ++i) {
        if (i > 0)
            writer.newPage();
        done = PaintTableReport(painter, writer, reports[i], progress);
    }
    if (painter.isActive())
        done = painter.end() && done;
    return done ? QString() : QStringLiteral("запись прервана");
}

QString WriteTableReportsPdf(const QString& path, const QList<TableReport>& reports, const QPageLayout& pageLayout,
                             const PageProgress& progress)
{
    return WriteExport(path, [&](QIODevice& out) { return WriteTableReportsPdf(out, reports, pageLayout, progress); });
}
