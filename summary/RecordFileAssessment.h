#pragma once

#include "core/EditRules.h"
#include "summary/SummaryRow.h"

#include <QString>

// Larger files are refused, also one that grows while read: a record file is a few dozen bytes,
// and the reader would otherwise hold one enormous line in memory.
constexpr qint64 kLargestRecordFile = 1024 * 1024;

// Puts one file through what the main window does when it is opened into a freshly started
// window and calculated: the slot texts go through the entry fields' text assignment, slots the
// file lacks keep the fresh window's texts, then conversion, acceptance and assessment.
// Never throws and never blocks on a pipe or device: those are refused as soon as they are open.
// `separators` are the regional settings read once on the GUI thread: this runs on workers.
SummaryRow AssessRecordFile(const QString& path, Separators separators);
