#pragma once

#include "compare/Comparison.h"
#include "core/EditRules.h"

#include <QObject>

#include <atomic>
#include <memory>

using SharedComparison = std::shared_ptr<const Comparison>;

// Runs a comparison on the thread it lives on and tells its progress by queued signals; it
// touches no widget, and cancel() may be called from any thread.
class ComparisonWorker : public QObject
{
    Q_OBJECT

public:
    using QObject::QObject;

    void cancel() { m_cancel.store(true); }

    // `separators` come from the GUI thread, which owns the regional settings.
    void run(const ArrangedStages& stages, Separators separators);

signals:
    void progress(qsizetype done, qsizetype total);
    void finished(const SharedComparison& comparison);

private:
    std::atomic<bool> m_cancel{false};
};

// Registers the comparison for queued connections; call once before connecting.
void RegisterComparisonTypes();
