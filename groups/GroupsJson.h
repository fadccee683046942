#pragma once

#include "groups/RiskList.h"

#include <QByteArray>
#include <QStringList>

#include <optional>
#include <span>

// Every figure for scripts, UTF-8: {"groups": [...], "tests": [...], "risk": [...]}. Each group:
// label, files, assessed, levels (satisfactory, strain, unsatisfactory, breakdown), balance
// (vagotonia, normal, sympathicotonia), ifi, kerdo, bmi ({median, q1, q3, mean, sd}, null where
// undefined). Each test: test, of, groups, statistic, df (null where none), p, method, effect
// (where defined), and p_adjust "holm" for the pairwise tests after Kruskal-Wallis. Each risk
// entry: name (or code when `coder` is set), group, level (3 or 4), ifi. Numbers at full
// precision (shortest text that reads back to the same double).
QByteArray GroupsJson(const GroupsResult& result, const RiskCoder& coder = {});

// The pieces of our JSON, for every writer of it.
// `value` as the shortest JSON number that reads back to it; "null" for NaN and infinities.
QByteArray JsonNumber(double value);
QByteArray JsonOptionalNumber(const std::optional<double>& value);
// A string, UTF-8, quoted and escaped.
QByteArray JsonString(const QString& text);
QByteArray JsonStrings(const QStringList& texts);
QByteArray JsonCounts(std::span<const int> counts);
