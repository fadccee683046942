#pragma once

#include "core/EditRules.h"
#include "summary/SummaryRow.h"

#include <QObject>
#include <QStringList>

#include <atomic>
#include <functional>

// Reads a group on its own thread: finds the files, assesses them and hands the rows over in
// batches by queued signals. It touches no widget; cancel() may be called from any thread.
class SummaryReader : public QObject
{
    Q_OBJECT

public:
    using QObject::QObject;

    void cancel() { m_cancel.store(true); }
    // Runs on the reader's thread after each batch is sent (tests hold the read there).
    void setBatchGate(std::function<void()> gate) { m_batchGate = std::move(gate); }
    bool isCancelled() const { return m_cancel.load(); }

public slots:
    // `separators` come from the GUI thread, which owns the regional settings.
    void read(const QStringList& paths, Separators separators);

signals:
    void filesFound(int total);
    void rowsReady(const SummaryRows& rows);
    void pathsSkipped(const QList<SkippedPath>& skipped);
    void finished(bool cancelled);

private:
    std::atomic<bool> m_cancel{false};
    std::function<void()> m_batchGate;
};

// Registers the row types for queued connections; call once before connecting.
void RegisterSummaryTypes();
