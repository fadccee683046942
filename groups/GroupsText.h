#pragma once

#include "groups/RiskList.h"

#include <QString>
#include <QStringList>

// The figures as the table shows them, with the regional decimal separator: "2,41 [2,18; 2,75]"
// (median [Q1; Q3]), "2,43 ± 0,31" (mean ± SD), "12 (40,0 %)"; "—" where undefined.
QString MedianQuartilesText(const Description& d, int decimals);
QString MeanSdText(const Description& d, int decimals);
QString CountShareText(int count, int whole);
// A p-value: three decimals, "< 0,001" below.
QString PValueText(const std::optional<double>& p);

// One line per test: "Уровни: χ² = 7,81; df = 3; p = 0,050; V = 0,12 (асимптотический)".
QString TestLine(const GroupTest& test);

// One line of text per figure row of the table ("Файлов", "Рассчитано", each level, each balance,
// ИФИ / Кердо / ИМТ median [Q1; Q3] and mean ± SD), cells per group, p last where a test applies.
struct FigureRow
{
    QString caption;
    QStringList cells; // one per group
    QString p;         // empty where no test applies
};
std::vector<FigureRow> FigureRows(const GroupsResult& result);

// The groups, the tests and the risk list's size as lines for standard output.
QStringList GroupsLines(const GroupsResult& result);
