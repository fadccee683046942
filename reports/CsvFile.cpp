#include "reports/CsvFile.h"

#include "core/RegionalSettings.h"

#include <QSaveFile>

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

QString CancelledReason()
{
    return QStringLiteral("прервано");
}

QString WriteCsvFile(const QString& path, const QStringList& captions, qsizetype count,
                     const std::function<QStringList(qsizetype)>& cellsAt, const std::atomic<bool>* cancel)
{
    const QChar decimal = regionalSettings().decimalSeparator();
    QSaveFile file(path);
    if (!file.open(QIODevice::WriteOnly))
        return file.errorString();
    QByteArray chunk("\xEF\xBB\xBF");
    chunk += CsvLine(captions, decimal);
    const auto cancelled = [cancel] { return cancel != nullptr && cancel->load(); };
    for (qsizetype i = 0; i < count && !cancelled(); ++i) {
        chunk += CsvLine(cellsAt(i), decimal);
        if (chunk.size() >= 64 * 1024) {
            if (file.write(chunk) != chunk.size())
                break;
            chunk.clear();
        }
    }
    if (cancelled()) {
        file.cancelWriting();
        return CancelledReason();
    }
    if (file.error() == QFileDevice::NoError && file.write(chunk) == chunk.size() && file.commit())
        return {};
    const QString reason = file.errorString();
    file.cancelWriting();
    return reason;
}
