#include "compare/Comparison.h"

const SummaryRow* Comparison::singleRow(const ComparedPerson& person, std::size_t stage) const
{
    const StagePresence& presence = person.stages[stage];
    if (presence.kind != Presence::Present)
        return nullptr;
    return &stages[stage].rows[presence.rows.front()];
}
