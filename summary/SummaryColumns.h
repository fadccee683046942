#pragma once

#include <QString>

#include <array>

// The columns of a group's table, in the order of the CSV's columns; the table, the CSV and the
// printed report all name them so.
enum SummaryColumn : int {
    ColPath,
    ColName,
    ColSex,
    ColSystolic,
    ColDiastolic,
    ColPulse,
    ColWeight,
    ColHeight,
    ColAge,
    ColOutcome,
    ColIndex,
    ColLevel,
    ColExpectedSystolic,
    ColExpectedDiastolic,
    ColOptimalWeight,
    ColKerdo,
    ColBalance,
    SummaryColumnCount
};

// One text per column.
using SummaryCells = std::array<QString, SummaryColumnCount>;
