#pragma once

#include "groups/GroupsComputation.h"

#include <QString>
#include <QStringList>

#include <atomic>

class QIODevice;

// One row per group: label, files, assessed, not assessed, count and share (%) of each level and
// balance, then ИФИ, Kerdo and BMI (median, Q1, Q3, mean, SD); numbers with the regional
// decimal separator.
QStringList GroupsCsvCaptions();
QStringList GroupsCsvCells(const GroupStats& group);

// Written as the summary's CSV is (reports/CsvFile): replaced only when complete.
QString WriteGroupsCsv(QIODevice& out, const GroupsResult& result, const std::atomic<bool>* cancel = nullptr);
QString WriteGroupsCsv(const QString& path, const GroupsResult& result, const std::atomic<bool>* cancel = nullptr);
