#pragma once

#include "compare/Stages.h"
#include "summary/SummaryRow.h"

#include <QList>
#include <QStringList>

#include <vector>

// One stage as read: every file found, as the summary would show it, and what was noticed.
struct StageResult
{
    StageInput input;
    SummaryRows rows;
    QList<SkippedPath> skipped; // folders and links the search left out
    QStringList notes;          // e.g. the same folder as an earlier stage, no record files
};

enum class Presence
{
    Missing,
    Present,
    Ambiguous
};

// Where a person stands in one stage: absent, one file, or several files (then none is used).
struct StagePresence
{
    Presence kind = Presence::Missing;
    QList<qsizetype> rows; // indices into StageResult::rows
};

// A person seen in at least one stage, or a file that cannot be matched to anybody (unread, or
// without a name): such a file is an entry of its own, present in its stage only.
struct ComparedPerson
{
    QString name; // as written in the first file where the person is seen
    Sex sex = Sex::Male;
    bool sexConflict = false; // the same name is also seen with the other sex
    bool unmatched = false;   // the file could not be matched (unread or unnamed)
    std::vector<StagePresence> stages;
};

struct Comparison
{
    std::vector<StageResult> stages;
    std::vector<ComparedPerson> persons;
    bool cancelled = false;

    // The person's row in `stage` when exactly one file is there; nullptr otherwise.
    const SummaryRow* singleRow(const ComparedPerson& person, std::size_t stage) const;
};
