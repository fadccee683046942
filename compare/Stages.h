#pragma once

#include <QList>
#include <QString>
#include <QStringList>

#include <optional>

// One examination of a group: a folder (searched as the summary searches) or a set of files,
// under a label the user may change.
struct StageInput
{
    QStringList paths;
    QString label;
};

// The label a stage gets unless the user gives one: the folder's (or the single file's) name;
// for several paths, the first one's name followed by "…".
QString DefaultStageLabel(const QStringList& paths);

// A label that reads as a date: "2026-09", "2026-09-01" or "01.09.2026" (surrounding blanks
// allowed). A month stands for its first day. Returns year * 10000 + month * 100 + day.
std::optional<int> StageDateKey(const QString& label);

// The stages in the order they are compared. When EVERY label reads as a date, the stages are
// ordered by date, equal dates keeping the given order; when any label does not (a mix included),
// the given order stands for all of them, so a single odd label never reshuffles the rest.
// Empty labels are replaced by DefaultStageLabel first.
QList<StageInput> OrderStages(QList<StageInput> stages);
