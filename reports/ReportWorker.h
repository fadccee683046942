#pragma once

#include "reports/TableReport.h"

#include <QObject>
#include <QString>

#include <atomic>
#include <functional>

// Draws a report (a PDF, a print run) on the thread it lives on and tells its progress by queued
// signals; cancel() may be called from any thread and stops it before the next page.
class ReportWorker : public QObject
{
    Q_OBJECT

public:
    // The drawing: given the page progress to pass on, it returns the reason it failed, or empty.
    using Job = std::function<QString(const PageProgress& progress)>;

    using QObject::QObject;

    void cancel() { m_cancel.store(true); }
    bool isCancelled() const { return m_cancel.load(); }

    void run(const Job& job);

signals:
    void pageStarted(int page, int pageCount);
    // `cancelled` when cancel() stopped it; `failure` is then of no interest.
    void finished(bool cancelled, const QString& failure);

private:
    std::atomic<bool> m_cancel{false};
};
