#include "summary/CsvExport.h"

#include "core/RegionalSettings.h"

#include <QSaveFile>

QStringList SummaryColumnCaptions()
{
    return {QStringLiteral("Файл"),
            QStringLiteral("ФИО"),
            QStringLiteral("Пол"),
            QStringLiteral("Сист. АД, мм рт.ст."),
            QStringLiteral("Диаст. АД, мм рт.ст."),
            QStringLiteral("Пульс, уд. в мин"),
            QStringLiteral("Вес, кг"),
            QStringLiteral("Рост, см"),
            QStringLiteral("Возраст, лет"),
            QStringLiteral("Результат"),
            QStringLiteral("ИФИ"),
            QStringLiteral("Уровень адаптации"),
            QStringLiteral("Систолическое по индексу массы, мм рт.ст."),
            QStringLiteral("Диастолическое по индексу массы, мм рт.ст."),
            QStringLiteral("Оптимальный вес, кг"),
            QStringLiteral("Вегетативный индекс Кердо"),
            QStringLiteral("Вегетативный баланс")};
}

QStringList SummaryRowCells(const SummaryRow& row)
{
    const bool loaded = row.outcome == RowOutcome::Assessed || row.outcome == RowOutcome::NotAcceptable;
    const SubjectTexts& t = row.texts;
    QStringList cells{row.path};
    if (loaded)
        cells << t.FullName << SexText(t.Sex) << t.Systolic << t.Diastolic << t.Pulse << t.Weight << t.Height << t.Age;
    else
        cells << QString() << QString() << QString() << QString() << QString() << QString() << QString() << QString();
    cells << OutcomeText(row);
    if (row.outcome == RowOutcome::Assessed) {
        const AssessmentResult& r = row.result;
        cells << row.adaptationIndexShown << LevelText(r.Level) << QString::number(r.ExpectedSystolic)
              << QString::number(r.ExpectedDiastolic) << QString::number(r.OptimalWeight)
              << QString::number(r.KerdoShown) << BalanceText(r.Balance);
    } else {
        for (int i = 0; i < 7; ++i)
            cells << QString();
    }
    return cells;
}

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

QByteArray CsvLine(const QStringList& cells, QChar decimal)
{
    QString line;
    for (qsizetype i = 0; i < cells.size(); ++i) {
        if (i > 0)
            line += u';';
        line += CsvField(cells[i], decimal);
    }
    line += QStringLiteral("\r\n");
    return line.toUtf8();
}

QString WriteCsvFile(const QString& path, const QStringList& captions, qsizetype count,
                     const std::function<QStringList(qsizetype)>& cellsAt)
{
    const QChar decimal = regionalSettings().decimalSeparator();
    QSaveFile file(path);
    if (!file.open(QIODevice::WriteOnly))
        return file.errorString();
    QByteArray chunk("\xEF\xBB\xBF");
    chunk += CsvLine(captions, decimal);
    for (qsizetype i = 0; i < count; ++i) {
        chunk += CsvLine(cellsAt(i), decimal);
        if (chunk.size() >= 64 * 1024) {
            if (file.write(chunk) != chunk.size())
                break;
            chunk.clear();
        }
    }
    if (file.error() == QFileDevice::NoError && file.write(chunk) == chunk.size() && file.commit())
        return {};
    const QString reason = file.errorString();
    file.cancelWriting();
    return reason;
}

QString WriteSummaryCsv(const QString& path, qsizetype count, const std::function<const SummaryRow&(qsizetype)>& rowAt)
{
    return WriteCsvFile(path, SummaryColumnCaptions(), count, [&rowAt](qsizetype i) { return SummaryRowCells(rowAt(i)); });
}

QString WriteSummaryCsv(const QString& path, const SummaryRows& rows)
{
    return WriteSummaryCsv(path, rows.size(), [&rows](qsizetype i) -> const SummaryRow& { return rows[i]; });
}
