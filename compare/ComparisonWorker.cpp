#include "compare/ComparisonWorker.h"

#include "compare/ComparisonRun.h"

void RegisterComparisonTypes()
{
    qRegisterMetaType<SharedComparison>("SharedComparison");
}

void ComparisonWorker::run(const ArrangedStages& stages, Separators separators)
{
    Comparison comparison = RunComparison(stages, separators, &m_cancel,
                                          [this](qsizetype done, qsizetype total) { emit progress(done, total); });
    emit finished(std::make_shared<const Comparison>(std::move(comparison)));
}
