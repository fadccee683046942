#include "groups/GroupSources.h"

#include "compare/Stages.h"
#include "reports/NamesFreeExport.h"

std::vector<GroupSource> SplitBySource(const QStringList& paths, const QStringList& labels, const SummaryRows& rows,
                                       bool namesFree)
{
    std::vector<GroupSource> sources;
    QStringList prefixes;
    for (qsizetype i = 0; i < paths.size(); ++i) {
        const QString label = labels.value(i);
        const QString unlabelled = namesFree ? NamesFreeStageLabel(std::size_t(i) + 1) : DefaultStageLabel({paths[i]});
        sources.push_back({label.isEmpty() ? unlabelled : label, {}});
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
