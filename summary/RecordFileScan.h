#pragma once

#include "summary/SummaryRow.h"

#include <QByteArray>
#include <QList>
#include <QStringList>

#include <atomic>

// The files of a group: every path given that is not a folder, and from each folder (searched
// recursively) every regular file whose first line holds the record header, whatever its name,
// plus every file named *.vnl so that a broken one is seen too. Symbolic links are followed only
// while they lead inside the chosen folders; others are skipped with their reason.
struct RecordFileList
{
    QStringList files;
    // Unreadable folders; dangling, looping and outward links; pipes and devices named *.vnl.
    QList<SkippedPath> skipped;
};

// Stops early, with what it found so far, once `cancel` becomes true.
RecordFileList FindRecordFiles(const QStringList& paths, const std::atomic<bool>* cancel = nullptr);

// True when the first line of `bytes` holds the record header as the reader would see it
// (a CR is dropped, Ctrl+Z ends the line's text). A line that runs past `bytes` is not one.
bool FirstLineHoldsHeader(const QByteArray& bytes);

// Looks at the start of a regular file without blocking and without reading more than 64 KiB.
bool StartsWithRecordHeader(const QString& path);
