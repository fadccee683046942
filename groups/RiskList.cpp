#include "groups/RiskList.h"

#include "compare/PersonCourse.h"
#include "reports/NamesFreeExport.h"

#include <QHash>

#include <algorithm>

void SortRisk(std::vector<RiskEntry>& risk, const QStringList& groupOrder)
{
    // Each entry's group position found once, not in every comparison.
    QHash<QString, qsizetype> position;
    for (qsizetype i = groupOrder.size() - 1; i >= 0; --i)
        position.insert(groupOrder[i], i);
    std::vector<std::pair<qsizetype, RiskEntry>> keyed;
    keyed.reserve(risk.size());
    for (RiskEntry& e : risk)
        keyed.emplace_back(position.value(e.group, groupOrder.size()), std::move(e));
    std::stable_sort(keyed.begin(), keyed.end(), [](const auto& x, const auto& y) {
        const RiskEntry& a = x.second;
        const RiskEntry& b = y.second;
        const qsizetype ga = x.first;
        const qsizetype gb = y.first;
        if (ga != gb)
            return ga < gb;
        if (a.level != b.level)
            return a.level > b.level;
        if (a.ifi != b.ifi)
            return a.ifi > b.ifi;
        return a.row.texts.FullName < b.row.texts.FullName;
    });
    for (std::size_t i = 0; i < risk.size(); ++i)
        risk[i] = std::move(keyed[i].second);
}

std::vector<RiskEntry> WorsenedRisk(const Comparison& comparison)
{
    std::vector<RiskEntry> risk;
    if (comparison.stages.size() < 2)
        return risk;
    const std::size_t last = comparison.stages.size() - 1;
    const QString group =
        QStringLiteral("%1 → %2").arg(comparison.stages.front().input.label, comparison.stages[last].input.label);
    for (const ComparedPerson& person : comparison.persons) {
        const PersonCourse course = CourseOf(comparison, person);
        if (course.direction != LevelDirection::Worse)
            continue;
        const SummaryRow* row = comparison.singleRow(person, last);
        const std::optional<int> hundredths = row ? ShownHundredths(row->adaptationIndexShown) : std::nullopt;
        if (!row || !hundredths)
            continue;
        risk.push_back({group, *course.lastLevel, course.firstLevel, *hundredths / 100.0, row->result.KerdoShown, *row});
    }
    SortRisk(risk, {group});
    return risk;
}

QString RiskPerson(const RiskEntry& entry, const RiskCoder& coder)
{
    return coder ? coder(entry.row) : entry.row.texts.FullName;
}

RiskCoder NamesFreeCoder(const SummaryRows& rows)
{
    QHash<QString, std::size_t> place;
    place.reserve(rows.size());
    for (qsizetype i = 0; i < rows.size(); ++i)
        place.insert(rows[i].path, std::size_t(i));
    return [place, codes = PersonCodes(std::size_t(rows.size()))](const SummaryRow& row) {
        return codes.code(place.value(row.path));
    };
}
