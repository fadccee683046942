#include "compare/ComparisonRun.h"

#include "compare/PersonMatcher.h"
#include "summary/RecordFileAssessment.h"
#include "summary/RecordFileScan.h"

#include <QFileInfo>
#include <QMultiHash>

namespace {

QString Canonical(const QString& path)
{
    const QString canonical = QFileInfo(path).canonicalFilePath();
    return canonical.isEmpty() ? QFileInfo(path).absoluteFilePath() : canonical;
}

bool Cancelled(const std::atomic<bool>* cancel)
{
    return cancel && cancel->load(std::memory_order_relaxed);
}

// A stage is noted when a path of it was given in an earlier stage or lies inside another
// stage's folder; the comparison goes on either way.
void NoteOverlappingStages(std::vector<StageResult>& stages)
{
    // Each path's folders are looked up, so a stage of many files costs no more than its depth.
    QMultiHash<QString, std::size_t> stageOfPath;
    std::vector<QStringList> canonical;
    for (std::size_t s = 0; s < stages.size(); ++s) {
        canonical.emplace_back();
        for (const QString& path : stages[s].input.paths) {
            canonical[s] << Canonical(path);
            stageOfPath.insert(canonical[s].back(), s);
        }
    }
    for (std::size_t s = 0; s < stages.size(); ++s) {
        for (const QString& path : canonical[s]) {
            for (std::size_t other : stageOfPath.values(path)) {
                if (other < s)
                    stages[s].notes.push_back({StageNote::Kind::GivenBefore, other, path});
            }
            for (QString folder = QFileInfo(path).path(); folder.size() > 1;
                 folder = QFileInfo(folder).path()) {
                for (std::size_t other : stageOfPath.values(folder)) {
                    if (other != s)
                        stages[s].notes.push_back({StageNote::Kind::InsideOther, other, path});
                }
            }
        }
    }
}

} // namespace

Comparison RunComparison(const QList<StageInput>& stages, Separators separators, const std::atomic<bool>* cancel,
                         const ComparisonProgress& progress)
{
    Comparison comparison;
    std::vector<RecordFileList> lists;
    qsizetype total = 0;
    for (const StageInput& input : stages) {
        lists.push_back(FindRecordFiles(input.paths, cancel));
        total += lists.back().files.size();
        StageResult stage;
        stage.input = input;
        stage.skipped = lists.back().skipped;
        comparison.stages.push_back(std::move(stage));
    }
    NoteOverlappingStages(comparison.stages);

    qsizetype done = 0;
    for (std::size_t s = 0; s < lists.size() && !Cancelled(cancel); ++s) {
        StageResult& stage = comparison.stages[s];
        if (lists[s].files.isEmpty())
            stage.notes.push_back({StageNote::Kind::NoRecordFiles, 0, {}});
        stage.rows.reserve(lists[s].files.size());
        for (const QString& path : lists[s].files) {
            if (Cancelled(cancel))
                break;
            stage.rows.append(AssessRecordFile(path, separators));
            if (progress && (++done % 256 == 0 || done == total))
                progress(done, total);
        }
    }
    comparison.cancelled = Cancelled(cancel);
    MatchPersons(comparison);
    return comparison;
}

Comparison RunComparison(const ArrangedStages& stages, Separators separators, const std::atomic<bool>* cancel,
                         const ComparisonProgress& progress)
{
    Comparison comparison = RunComparison(stages.stages, separators, cancel, progress);
    comparison.order = stages.order;
    return comparison;
}
