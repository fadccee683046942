#include "entry/StageFolder.h"

#include "summary/RecordFileAssessment.h"
#include "summary/RecordFileScan.h"

#include <QCollator>

#include <algorithm>

StageFolderContents ReadStageFolder(const QString& folder, Separators separators)
{
    StageFolderContents contents;
    RecordFileList found = FindRecordFiles({folder});
    // The order a file manager shows them in, so the table matches what the nurse sees.
    QCollator collator;
    collator.setNumericMode(true);
    std::sort(found.files.begin(), found.files.end(), collator);
    contents.rows.reserve(found.files.size());
    for (const QString& path : std::as_const(found.files)) {
        // What the main window's fields show after Open: the summary's reading is that.
        const SummaryRow read = AssessRecordFile(path, separators);
        if (read.outcome == RowOutcome::Assessed || read.outcome == RowOutcome::NotAcceptable)
            contents.rows.append(FromSubjectTexts(read.texts, path));
        else
            contents.unreadable.append(QStringLiteral("%1: %2").arg(path, OutcomeText(read)));
    }
    for (const SkippedPath& skipped : std::as_const(found.skipped))
        contents.unreadable.append(QStringLiteral("%1: %2").arg(skipped.path, skipped.reason));
    return contents;
}
