#include "summary/SummaryReport.h"

#include "summary/CountsChart.h"
#include "summary/CsvExport.h"

#include <QImage>
#include <QPagedPaintDevice>
#include <QPainter>
#include <QPdfWriter>
#include <QSaveFile>
#include <QTextDocument>
#include <QUrl>

#include <memory>

namespace {

const QUrl kChartUrl(QStringLiteral("summary://chart.png"));

QImage ChartImage(const SummaryCounts& counts)
{
    // Drawn at twice the size it is shown at, so it stays sharp on paper.
    QImage image(1200, 360, QImage::Format_ARGB32_Premultiplied);
    image.fill(Qt::white);
    QPainter painter(&image);
    QFont font = painter.font();
    font.setPixelSize(26);
    painter.setFont(font);
    painter.setPen(Qt::black);
    DrawCountsChart(painter, image.rect().adjusted(10, 10, -10, -10), counts);
    return image;
}

QString Escaped(const QString& text)
{
    return text.toHtmlEscaped();
}

// Shares of the page width per column; the name and the verdicts get room, numbers little.
constexpr int kColumnPercent[] = {12, 11, 3, 4, 4, 4, 4, 4, 4, 8, 4, 10, 5, 5, 5, 5, 8};

// A file inside the one folder chosen is named relative to it: the heading names the folder.
QString ShownPath(const QString& path, const QStringList& sources)
{
    if (sources.size() == 1) {
        const QString folder = sources.front().endsWith(u'/') ? sources.front() : sources.front() + u'/';
        if (path.startsWith(folder))
            return path.mid(folder.size());
    }
    return path;
}

} // namespace

QTextDocument* BuildSummaryReport(const SummaryRows& rows, const ReportHeading& heading)
{
    const SummaryCounts counts = CountRows(rows);
    auto* document = new QTextDocument;
    document->addResource(QTextDocument::ImageResource, kChartUrl, ChartImage(counts));
    QFont font = document->defaultFont();
    font.setPointSizeF(6.5);
    document->setDefaultFont(font);

    QString html;
    html.reserve(512 + rows.size() * 600);
    html += QStringLiteral("<html><body>");
    html += QStringLiteral("<h2>Сводка по группе</h2>");
    html += QStringLiteral("<p>Дата: %1<br>").arg(Escaped(heading.made.toString(QStringLiteral("dd.MM.yyyy HH:mm"))));
    html += QStringLiteral("Источник: %1</p>").arg(Escaped(heading.sources.join(QStringLiteral(", "))));
    html += QStringLiteral("<p>");
    for (const QString& line : CountsLines(counts).mid(0, 2))
        html += Escaped(line) + QStringLiteral("<br>");
    html += QStringLiteral("Ошибка ввода: %1; неверный формат: %2; ошибка чтения: %3</p>")
                .arg(counts.notAcceptable)
                .arg(counts.formatErrors)
                .arg(counts.readErrors);
    html += QStringLiteral("<p><img src=\"%1\" width=\"440\" height=\"132\"></p>").arg(kChartUrl.toString());

    html += QStringLiteral("<table border=\"1\" cellspacing=\"0\" cellpadding=\"1\" width=\"100%\"><thead><tr>");
    const QStringList captions = SummaryColumnCaptions();
    for (qsizetype i = 0; i < captions.size(); ++i)
        html += QStringLiteral("<th width=\"%1%\">%2</th>").arg(kColumnPercent[i]).arg(Escaped(captions[i]));
    html += QStringLiteral("</tr></thead>");
    for (const SummaryRow& row : rows) {
        html += QStringLiteral("<tr>");
        QStringList cells = SummaryRowCells(row);
        cells[0] = ShownPath(cells[0], heading.sources);
        for (qsizetype i = 0; i < cells.size(); ++i) {
            // The level cell wears the level's colour, as the main window's bar does.
            if (i == 11 && row.outcome == RowOutcome::Assessed) {
                const QColor color = LevelQColor(row.result.Level);
                html += QStringLiteral("<td bgcolor=\"%1\"><font color=\"%2\">%3</font></td>")
                            .arg(color.name(), TextColorOn(color).name(), Escaped(cells[i]));
            } else {
                html += QStringLiteral("<td>%1</td>").arg(Escaped(cells[i]));
            }
        }
        html += QStringLiteral("</tr>");
    }
    html += QStringLiteral("</table></body></html>");
    document->setHtml(html);
    return document;
}

void PrintSummaryReport(const SummaryRows& rows, const ReportHeading& heading, QPagedPaintDevice& device)
{
    std::unique_ptr<QTextDocument> document(BuildSummaryReport(rows, heading));
    device.setPageSize(QPageSize(QPageSize::A4));
    device.setPageOrientation(QPageLayout::Landscape);
    device.setPageMargins(QMarginsF(12, 12, 12, 12), QPageLayout::Millimeter);
    document->print(&device);
}

QString WriteSummaryPdf(const QString& path, const SummaryRows& rows, const ReportHeading& heading,
                        const std::atomic<bool>* cancel)
{
    QSaveFile file(path);
    if (!file.open(QIODevice::WriteOnly))
        return file.errorString();
    {
        QPdfWriter writer(&file);
        writer.setTitle(QStringLiteral("Сводка по группе"));
        writer.setCreator(QStringLiteral("vornale-summary"));
        writer.setResolution(300);
        PrintSummaryReport(rows, heading, writer);
    }
    if (cancel != nullptr && cancel->load()) {
        file.cancelWriting();
        return CancelledReason();
    }
    if (file.error() == QFileDevice::NoError && file.commit())
        return {};
    const QString reason = file.errorString();
    file.cancelWriting();
    return reason;
}
