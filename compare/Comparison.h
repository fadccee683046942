#pragma once

#include "compare/Stages.h"
#include "reports/NamesFreeExport.h"
#include "summary/SummaryRow.h"

#include <QList>
#include <QStringList>

#include <memory>

#include <vector>

// What was noticed about a stage itself.
struct StageNote
{
    enum class Kind
    {
        GivenBefore,  // `path` was given in stage `other` too
        InsideOther,  // `path` lies inside a folder of stage `other`
        NoRecordFiles // the stage holds no record file
    };
    Kind kind = Kind::NoRecordFiles;
    std::size_t other = 0;
    QString path; // empty in an export without names
};

// One stage as read: every file found, as the summary would show it, and what was noticed.
struct StageResult
{
    StageInput input;
    SummaryRows rows;
    QList<SkippedPath> skipped; // folders and links the search left out
    std::vector<StageNote> notes;
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
    StageOrder order;
    bool cancelled = false;

    // The person's row in `stage` when exactly one file is there; nullptr otherwise.
    const SummaryRow* singleRow(const ComparedPerson& person, std::size_t stage) const;
};

// The notes of stage `stage` as lines, one per kind and other stage, with how many paths it
// concerns, so a stage of many files never fills a page with them.
QStringList StageNoteLines(const Comparison& comparison, std::size_t stage);

// What the outputs say about the stages' order (StageOrderText).
QString StageOrderLine(const Comparison& comparison);

// The comparison as an export without names holds it: each person named by `codes` (indexed as
// `comparison.persons`) and listed in the codes' order, every row without name or path, a stage
// the user did not label called by its number, the notes without paths. Figures are unchanged.
Comparison WithoutNames(const Comparison& comparison, const PersonCodes& codes);

// One export's view of a comparison: with names, the comparison itself; without, WithoutNames
// under codes drawn afresh, so each export deals new codes and all its outputs share them.
struct ComparisonHandOver
{
    std::shared_ptr<const Comparison> named;
    std::shared_ptr<const Comparison> shown; // what every output of the export reads
    bool anonymised = false;
    PersonCodes codes;

    // Writes the key (code and name) to a file of its own; only without names.
    QString writeKey(const QString& path) const;
    // The same into `out`, for a key placed with the export's other outputs.
    QString writeKey(QIODevice& out) const;
};

ComparisonHandOver MakeHandOver(const std::shared_ptr<const Comparison>& comparison, bool anonymised);
