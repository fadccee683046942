#pragma once

#include <QList>
#include <QString>
#include <QStringList>

#include <optional>
#include <vector>

// One examination of a group: a folder (searched as the summary searches) or a set of files,
// under a label the user may change.
struct StageInput
{
    QStringList paths;
    QString label;
    // The label was typed by the user; otherwise it was made from a path, and an export without
    // names replaces it by the stage's number.
    bool labelGiven = false;
};

// The label a stage gets unless the user gives one: the folder's (or the single file's) name;
// for several paths, the first one's name followed by "…".
QString DefaultStageLabel(const QStringList& paths);

// A label that begins with a date: "2026-09", "2026-09-01" or "01.09.2026", alone or followed by
// anything but a digit ("2026-09 7А"); leading blanks allowed. A month stands for its first day.
// Returns year * 10000 + month * 100 + day.
std::optional<int> StageDateKey(const QString& label);

// The date a stage is ordered by: its label's, else its one folder's (or file's) name's.
std::optional<int> StageDate(const StageInput& stage);

// How the compared order came about.
struct StageOrder
{
    bool byDate = false;        // every stage has a date: ordered by it
    bool datesDisagree = false; // the given order and the dates' order differ
};

struct ArrangedStages
{
    QList<StageInput> stages;
    StageOrder order;
    std::vector<qsizetype> given; // each arranged stage's place in the order given
};

// Labels the stages and puts them in the order they are compared.
// - A stage without a label gets DefaultStageLabel; stages whose folders share a name are told
//   apart by the parent folder ("2025/7А"). A label still held by an earlier stage is marked
//   with its repeat's number ("7А (2)").
// - When EVERY stage has a date (StageDate), they are ordered by date, equal dates keeping the
//   given order; otherwise the given order stands for all of them, so a single odd label never
//   reshuffles the rest.
ArrangedStages ArrangeStages(QList<StageInput> stages);
QList<StageInput> OrderStages(QList<StageInput> stages);

// What a user is told about the order used, given the compared stages' labels in that order.
QString StageOrderText(const StageOrder& order, const QStringList& labels);
