#include "reports/CsvFile.h"

#include "core/RegionalSettings.h"

#include <QIODevice>

bool IsPlainNumber(const QString& text, QChar decimal)
{
    qsizetype i = text.startsWith(u'-') ? 1 : 0;
    const qsizetype digitsFrom = i;
    while (i < text.size() && text[i].isDigit() && text[i].unicode() < 128)
        ++i;
    if (i == digitsFrom)
        return false;
    if (i == text.size())
        return true;
    if (text[i] != decimal)
        return false;
    const qsizetype fractionFrom = ++i;
    while (i < text.size() && text[i].isDigit() && text[i].unicode() < 128)
        ++i;
    return i > fractionFrom && i == text.size();
}

QString CsvField(const QString& text, QChar decimal)
{
    QString field = text;
    if (!field.isEmpty() && !IsPlainNumber(field, decimal)) {
        const QChar first = field.front();
        if (first == u'=' || first == u'+' || first == u'-' || first == u'@' || first == u'\t' || first == u'\r')
            field.prepend(u'\'');
    }
    if (field.contains(u';') || field.contains(u'"') || field.contains(u'\r') || field.contains(u'\n')) {
        field.replace(QStringLiteral("\""), QStringLiteral("\"\""));
        field = u'"' + field + u'"';
    }
    return field;
}

QByteArray CsvLine(std::span<const QString> cells, QChar decimal)
{
    QString line;
    for (std::size_t i = 0; i < cells.size(); ++i) {
        if (i > 0)
            line += u';';
        line += CsvField(cells[i], decimal);
    }
    line += QStringLiteral("\r\n");
    return line.toUtf8();
}

QString WriteCsv(QIODevice& out, const QStringList& captions, qsizetype count,
                 const std::function<QStringList(qsizetype)>& cellsAt, const std::atomic<bool>* cancel)
{
    const QChar decimal = regionalSettings().decimalSeparator();
    QByteArray chunk("\xEF\xBB\xBF");
    chunk += CsvLine(captions, decimal);
    const auto cancelled = [cancel] { return cancel != nullptr && cancel->load(); };
    for (qsizetype i = 0; i < count; ++i) {
        if (cancelled())
            return CancelledReason();
        chunk += CsvLine(cellsAt(i), decimal);
        if (chunk.size() >= 64 * 1024) {
            if (out.write(chunk) != chunk.size())
                return out.errorString();
            chunk.clear();
        }
    }
    if (cancelled())
        return CancelledReason();
    return out.write(chunk) == chunk.size() ? QString() : out.errorString();
}

QString WriteCsvFile(const QString& path, const QStringList& captions, qsizetype count,
                     const std::function<QStringList(qsizetype)>& cellsAt, const std::atomic<bool>* cancel)
{
    return WriteExport(path, [&](QIODevice& out) { return WriteCsv(out, captions, count, cellsAt, cancel); });
}
