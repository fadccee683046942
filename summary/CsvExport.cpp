#include "summary/CsvExport.h"

#include "core/RegionalSettings.h"

#include <QSaveFile>

const SummaryCells& SummaryColumnCaptions()
{
    static const SummaryCells captions = [] {
        SummaryCells c;
        c[ColPath] = QStringLiteral("Файл");
        c[ColName] = QStringLiteral("ФИО");
        c[ColSex] = QStringLiteral("Пол");
        c[ColSystolic] = QStringLiteral("Сист. АД, мм рт.ст.");
        c[ColDiastolic] = QStringLiteral("Диаст. АД, мм рт.ст.");
        c[ColPulse] = QStringLiteral("Пульс, уд. в мин");
        c[ColWeight] = QStringLiteral("Вес, кг");
        c[ColHeight] = QStringLiteral("Рост, см");
        c[ColAge] = QStringLiteral("Возраст, лет");
        c[ColOutcome] = QStringLiteral("Результат");
        c[ColIndex] = QStringLiteral("ИФИ");
        c[ColLevel] = QStringLiteral("Уровень адаптации");
        c[ColExpectedSystolic] = QStringLiteral("Систолическое по индексу массы, мм рт.ст.");
        c[ColExpectedDiastolic] = QStringLiteral("Диастолическое по индексу массы, мм рт.ст.");
        c[ColOptimalWeight] = QStringLiteral("Оптимальный вес, кг");
        c[ColKerdo] = QStringLiteral("Вегетативный индекс Кердо");
        c[ColBalance] = QStringLiteral("Вегетативный баланс");
        return c;
    }();
    return captions;
}

SummaryCells SummaryRowCells(const SummaryRow& row)
{
    SummaryCells cells;
    cells[ColPath] = row.path;
    if (row.outcome == RowOutcome::Assessed || row.outcome == RowOutcome::NotAcceptable) {
        const SubjectTexts& t = row.texts;
        cells[ColName] = t.FullName;
        cells[ColSex] = SexText(t.Sex);
        cells[ColSystolic] = t.Systolic;
        cells[ColDiastolic] = t.Diastolic;
        cells[ColPulse] = t.Pulse;
        cells[ColWeight] = t.Weight;
        cells[ColHeight] = t.Height;
        cells[ColAge] = t.Age;
    }
    cells[ColOutcome] = OutcomeText(row);
    if (row.outcome == RowOutcome::Assessed) {
        const AssessmentResult& r = row.result;
        cells[ColIndex] = row.adaptationIndexShown;
        cells[ColLevel] = LevelText(r.Level);
        cells[ColExpectedSystolic] = QString::number(r.ExpectedSystolic);
        cells[ColExpectedDiastolic] = QString::number(r.ExpectedDiastolic);
        cells[ColOptimalWeight] = QString::number(r.OptimalWeight);
        cells[ColKerdo] = QString::number(r.KerdoShown);
        cells[ColBalance] = BalanceText(r.Balance);
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
    const SummaryCells& captions = SummaryColumnCaptions();
    return WriteCsvFile(path, QStringList(captions.begin(), captions.end()), count, [&rowAt](qsizetype i) {
        const SummaryCells cells = SummaryRowCells(rowAt(i));
        return QStringList(cells.begin(), cells.end());
    });
}

QString WriteSummaryCsv(const QString& path, const SummaryRows& rows)
{
    return WriteSummaryCsv(path, rows.size(), [&rows](qsizetype i) -> const SummaryRow& { return rows[i]; });
}
