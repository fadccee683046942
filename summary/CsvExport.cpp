#include "summary/CsvExport.h"

#include "reports/CsvFile.h"

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

std::vector<SummaryColumn> ExportedSummaryColumns(bool namesFree)
{
    std::vector<SummaryColumn> columns;
    for (int c = 0; c < SummaryColumnCount; ++c) {
        if (!(namesFree && c == ColPath))
            columns.push_back(SummaryColumn(c));
    }
    return columns;
}

QString ExportedSummaryCaption(SummaryColumn column, bool namesFree)
{
    return namesFree && column == ColName ? QStringLiteral("Код") : SummaryColumnCaptions()[std::size_t(column)];
}

QString WriteSummaryCsv(QIODevice& out, qsizetype count, const std::function<const SummaryRow&(qsizetype)>& rowAt,
                        const std::atomic<bool>* cancel, bool namesFree)
{
    const std::vector<SummaryColumn> columns = ExportedSummaryColumns(namesFree);
    QStringList captions;
    for (SummaryColumn column : columns)
        captions << ExportedSummaryCaption(column, namesFree);
    const auto cellsAt = [&rowAt, &columns](qsizetype i) {
        const SummaryCells cells = SummaryRowCells(rowAt(i));
        QStringList shown;
        for (SummaryColumn column : columns)
            shown << cells[std::size_t(column)];
        return shown;
    };
    return WriteCsv(out, captions, count, cellsAt, cancel);
}

QString WriteSummaryCsv(QIODevice& out, const SummaryRows& rows, const std::atomic<bool>* cancel, bool namesFree)
{
    return WriteSummaryCsv(
        out, rows.size(), [&rows](qsizetype i) -> const SummaryRow& { return rows[i]; }, cancel, namesFree);
}

QString WriteSummaryCsv(const QString& path, qsizetype count, const std::function<const SummaryRow&(qsizetype)>& rowAt,
                        const std::atomic<bool>* cancel, bool namesFree)
{
    return WriteExport(path, [&](QIODevice& out) { return WriteSummaryCsv(out, count, rowAt, cancel, namesFree); });
}

QString WriteSummaryCsv(const QString& path, const SummaryRows& rows, const std::atomic<bool>* cancel, bool namesFree)
{
    return WriteExport(path, [&](QIODevice& out) { return WriteSummaryCsv(out, rows, cancel, namesFree); });
}
