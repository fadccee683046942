#include "group_windows/GroupSources.h"

#include "compare/ComparisonTable.h"
#include "compare/Stages.h"

#include <QHash>

#include <memory>

std::vector<GroupSource> SplitBySource(const QStringList& paths, const QStringList& labels, const SummaryRows& rows)
{
    std::vector<GroupSource> sources;
    QStringList prefixes;
    for (qsizetype i = 0; i < paths.size(); ++i) {
        const QString label = labels.value(i);
        sources.push_back({label.isEmpty() ? DefaultStageLabel({paths[i]}) : label, {}});
        prefixes << (paths[i].endsWith(u'/') ? paths[i] : paths[i] + u'/');
    }
    if (sources.empty())
        sources.push_back({QString(), {}});
    for (const SummaryRow& row : rows) {
        qsizetype best = 0;
        qsizetype bestLength = -1;
        for (qsizetype i = 0; i < paths.size(); ++i) {
            const bool under = row.path == paths[i] || row.path.startsWith(prefixes[i]);
            if (under && prefixes[i].size() > bestLength) {
                best = i;
                bestLength = prefixes[i].size();
            }
        }
        sources[std::size_t(best)].rows.append(row);
    }
    return sources;
}

RiskCoder RowCoder(const SummaryRows& rows)
{
    auto places = std::make_shared<QHash<QString, qsizetype>>();
    places->reserve(rows.size());
    for (qsizetype i = 0; i < rows.size(); ++i)
        places->insert(rows[i].path, i);
    const std::size_t count = std::size_t(rows.size());
    return [places, count](const SummaryRow& row) {
        return PersonCode(std::size_t(places->value(row.path, 0)), count);
    };
}
