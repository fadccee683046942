#include "compare/PersonMatcher.h"

#include "core/PersonIdentity.h"

#include <QHash>

#include <algorithm>

namespace {

bool HasName(const SummaryRow& row)
{
    const bool loaded =
        row.outcome == RowOutcome::Assessed || row.outcome == RowOutcome::NotAcceptable;
    return loaded && !PersonNameKey(row.texts.FullName).isEmpty();
}

} // namespace

void MatchPersons(Comparison& comparison)
{
    const std::size_t stageCount = comparison.stages.size();
    struct Named
    {
        QString normalised;
        ComparedPerson person;
    };
    std::vector<Named> named;
    std::vector<ComparedPerson> unmatched;
    QHash<QString, std::size_t> byKey;
    QHash<QString, int> sexesByName; // bit 1 male, bit 2 female

    for (std::size_t s = 0; s < stageCount; ++s) {
        const SummaryRows& rows = comparison.stages[s].rows;
        for (qsizetype r = 0; r < rows.size(); ++r) {
            const SummaryRow& row = rows[r];
            if (!HasName(row)) {
                ComparedPerson entry;
                entry.name = row.texts.FullName.simplified();
                entry.sex = row.texts.Sex;
                entry.unmatched = true;
                entry.stages.resize(stageCount);
                entry.stages[s] = {Presence::Present, {r}};
                unmatched.push_back(std::move(entry));
                continue;
            }
            QString normalised = PersonNameKey(row.texts.FullName);
            sexesByName[normalised] |= row.texts.Sex == Sex::Male ? 1 : 2;
            const QString key = IdentityKey({normalised, row.texts.Sex});
            auto found = byKey.constFind(key);
            if (found == byKey.cend()) {
                ComparedPerson person;
                person.name = row.texts.FullName.simplified();
                person.sex = row.texts.Sex;
                person.stages.resize(stageCount);
                found = byKey.insert(key, named.size());
                named.push_back({std::move(normalised), std::move(person)});
            }
            StagePresence& presence = named[*found].person.stages[s];
            presence.rows.append(r);
            presence.kind = presence.rows.size() == 1 ? Presence::Present : Presence::Ambiguous;
        }
    }

    std::stable_sort(named.begin(), named.end(), [](const Named& a, const Named& b) {
        if (a.normalised != b.normalised)
            return a.normalised < b.normalised;
        return a.person.sex == Sex::Male && b.person.sex != Sex::Male;
    });
    comparison.persons.clear();
    comparison.persons.reserve(named.size() + unmatched.size());
    for (Named& entry : named) {
        entry.person.sexConflict = sexesByName.value(entry.normalised) == 3;
        comparison.persons.push_back(std::move(entry.person));
    }
    for (ComparedPerson& entry : unmatched)
        comparison.persons.push_back(std::move(entry));
}
