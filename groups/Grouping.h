#pragma once

#include "summary/SummaryRow.h"

#include <QString>
#include <QStringList>

#include <optional>
#include <vector>

// What the assessed rows are split by; several keys split by every combination, in the order
// given (e.g. sex then age band: "М, 13–15").
enum class GroupingKey { Source, Sex, AgeBand };

struct Grouping
{
    std::vector<GroupingKey> keys;
    std::vector<int> ageBands; // ascending lower bounds, whole years
};

// 13, 16, 18, 22, 36, 61.
std::vector<int> DefaultAgeBands();

// "folder", "sex", "age" (the command line's words), comma-separated, each at most once.
// Empty when a word is unknown, repeated, or none is given.
std::optional<std::vector<GroupingKey>> ParseGroupingKeys(const QString& text);

// "13,16,18" (blanks allowed): strictly ascending whole years from 1 to 130. Empty otherwise.
std::optional<std::vector<int>> ParseAgeBands(const QString& text);

// The band of an age: the index of the last bound at or below the age (its whole years), or -1
// below the first bound.
int AgeBandIndex(const std::vector<int>& bounds, double age);

// "13–15" (en dash), "61 и старше" for the last band, "до 13" below the first bound (index -1).
QString AgeBandText(const std::vector<int>& bounds, int index);

// A source of rows: one folder or set of files, under its label (as a comparison's stage is
// labelled: DefaultStageLabel unless the user gives one).
struct GroupSource
{
    QString label;
    SummaryRows rows;
};

// Where one row falls: its value for each key of the grouping, in the grouping's order
// (source index; 0 = М, 1 = Ж; the age band index, -1 below the first bound).
using GroupKey = std::vector<int>;

// The row's key; empty when a key cannot be told (an unread file has no sex; an age text that
// is not a number has no band).
std::optional<GroupKey> GroupKeyOf(const Grouping& grouping, int source, const SummaryRow& row);

// The group's label: the keys' texts joined by ", " ("7А, Ж, 13–15"); "Все" without keys.
QString GroupLabel(const Grouping& grouping, const std::vector<GroupSource>& sources, const GroupKey& key);

// The row's age from its age text, if it converts.
std::optional<double> RowAge(const SummaryRow& row);
