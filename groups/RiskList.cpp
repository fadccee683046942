#include "groups/RiskList.h"

#include "compare/PersonCourse.h"

#include <algorithm>

void SortRisk(std::vector<RiskEntry>& risk, const QStringList& groupOrder)
{
    const auto rank = [&](const RiskEntry& e) {
        const qsizetype at = groupOrder.indexOf(e.group);
        return at < 0 ? groupOrder.size() : at;
    };
    std::stable_sort(risk.begin(), risk.end(), [&](const RiskEntry& a, const RiskEntry& b) {
        const qsizetype ga = rank(a);
        const qsizetype gb = rank(b);
        if (ga != gb)
            return ga < gb;
        if (a.level != b.level)
            return a.level > b.level;
        if (a.ifi != b.ifi)
            return a.ifi > b.ifi;
        return a.row.texts.FullName < b.row.texts.FullName;
    });
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
