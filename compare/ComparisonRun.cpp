#include "compare/ComparisonRun.h"

#include "compare/PersonMatcher.h"
#include "summary/RecordFileAssessment.h"
#include "summary/RecordFileScan.h"

#include <QFileInfo>

namespace {

QString Canonical(const QString& path)
{
    const QString canonical = QFileInfo(path).canonicalFilePath();
    return canonical.isEmpty() ? QFileInfo(path).absoluteFilePath() : canonical;
}

bool Inside(const QString& inner, const QString& outer)
{
    return inner.startsWith(outer.endsWith(u'/') ? outer : outer + u'/');
}

bool Cancelled(const std::atomic<bool>* cancel)
{
    return cancel && cancel->load(std::memory_order_relaxed);
}

} // namespace

void NoteOverlappingStages(std::vector<StageResult>& stages)
{
    std::vector<QStringList> canonical;
    for (const StageResult& stage : stages) {
        QStringList paths;
        for (const QString& path : stage.input.paths)
            paths << Canonical(path);
        canonical.push_back(paths);
    }
    for (std::size_t later = 0; later < stages.size(); ++later) {
        for (std::size_t other = 0; other < stages.size(); ++other) {
            if (other == later)
                continue;
            const QString label = stages[other].input.label;
            for (const QString& path : canonical[later]) {
                for (const QString& otherPath : canonical[other]) {
                    if (other < later && path == otherPath)
                        stages[later].notes << QStringLiteral("%1 уже есть в этапе «%2»").arg(path, label);
                    else if (Inside(path, otherPath))
                        stages[later].notes << QStringLiteral("%1 лежит внутри %2 (этап «%3»)").arg(path, otherPath, label);
                }
            }
        }
    }
}

Comparison RunComparison(const QList<StageInput>& stages, const std::atomic<bool>* cancel,
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
            stage.notes << QStringLiteral("нет файлов записей");
        stage.rows.reserve(lists[s].files.size());
        for (const QString& path : lists[s].files) {
            if (Cancelled(cancel))
                break;
            stage.rows.append(AssessRecordFile(path));
            if (progress && (++done % 256 == 0 || done == total))
                progress(done, total);
        }
    }
    comparison.cancelled = Cancelled(cancel);
    MatchPersons(comparison);
    return comparison;
}
