#include "groups/GroupsCsv.h"

#include "reports/ExportFile.h"

#include "core/EditRules.h"
#include "core/RegionalSettings.h"
#include "reports/CsvFile.h"

namespace {

QString Number(const std::optional<double>& value, int decimals)
{
    return value ? FixedDecimalText(*value, decimals, regionalSettings().decimalSeparator()) : QString();
}

QString Share(int count, int whole)
{
    return whole > 0 ? Number(100.0 * count / whole, 1) : QString();
}

void AddDescription(QStringList& cells, const Description& d, int decimals)
{
    cells << Number(d.median, decimals) << Number(d.q1, decimals) << Number(d.q3, decimals)
          << Number(d.mean, decimals + 1) << Number(d.sd, decimals + 1);
}

} // namespace

QStringList GroupsCsvCaptions()
{
    QStringList captions{QStringLiteral("Группа"), QStringLiteral("Файлов"), QStringLiteral("Рассчитано"),
                         QStringLiteral("Не рассчитано")};
    for (AdaptationLevel level : kAllLevels)
        captions << LevelText(level) << LevelText(level) + QStringLiteral(", %");
    for (VegetativeBalance balance : kAllBalances)
        captions << BalanceText(balance) << BalanceText(balance) + QStringLiteral(", %");
    for (const QString& index : {QStringLiteral("ИФИ"), QStringLiteral("Кердо"), QStringLiteral("ИМТ")}) {
        for (const QString& figure : {QStringLiteral("медиана"), QStringLiteral("Q1"), QStringLiteral("Q3"),
                                      QStringLiteral("среднее"), QStringLiteral("SD")})
            captions << index + QStringLiteral(", ") + figure;
    }
    return captions;
}

QStringList GroupsCsvCells(const GroupStats& group)
{
    const SummaryCounts& c = group.counts;
    QStringList cells{group.label, QString::number(c.files), QString::number(c.assessed),
                      QString::number(c.files - c.assessed)};
    for (int count : c.perLevel)
        cells << QString::number(count) << Share(count, c.assessed);
    for (int count : c.perBalance)
        cells << QString::number(count) << Share(count, c.assessed);
    AddDescription(cells, group.ifi, 2);
    AddDescription(cells, group.kerdo, 1);
    AddDescription(cells, group.bmi, 1);
    return cells;
}

QString WriteGroupsCsv(QIODevice& out, const GroupsResult& result, const std::atomic<bool>* cancel)
{
    std::vector<QStringList> lines;
    for (const GroupStats& group : result.groups)
        lines.push_back(GroupsCsvCells(group));
    return WriteCsv(out, GroupsCsvCaptions(), qsizetype(lines.size()), [&](qsizetype i) { return lines[std::size_t(i)]; },
                    cancel);
}

QString WriteGroupsCsv(const QString& path, const GroupsResult& result, const std::atomic<bool>* cancel)
{
    return WriteExport(path, [&](QIODevice& out) { return WriteGroupsCsv(out, result, cancel); });
}
