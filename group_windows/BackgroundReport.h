#pragma once

#include "reports/TableReport.h"

#include <QObject>
#include <QThread>

#include <functional>
#include <memory>

class QLabel;
class QPagedPaintDevice;
class QPrinter;
class QProgressBar;
class QStatusBar;
class QWidget;
class ReportWorker;

// A report (a PDF, a print run) drawn on a thread of its own, one at a time, for a window that
// shows its pages' progress and lets it be cancelled.
class BackgroundReport : public QObject
{
    Q_OBJECT

public:
    // The drawing: given the page progress to pass on, it returns the reason it failed, or empty.
    using Draw = std::function<QString(const PageProgress& progress)>;

    explicit BackgroundReport(const QString& threadName, QObject* parent = nullptr);
    ~BackgroundReport() override;

    bool isRunning() const { return m_worker != nullptr; }
    // What is being drawn ("Запись PDF", "Печать"), for the window's messages.
    const QString& what() const { return m_what; }
    // `gate` runs on the report's thread before each page; tests hold the drawing there.
    void start(const QString& what, const Draw& draw, const std::function<void(int page)>& gate = {});
    // The drawing stops before its next page; finished() follows.
    void cancel();
    // "Запись PDF: стр. 2 из 7".
    QString pageText(int page, int pageCount) const;

    // What a window shows of it: the page being drawn in its progress bar and label; at the end
    // the panel hidden and the outcome in its status bar, a failure told through `reportFailure`.
    // The outcome is true when the report was written.
    void showPage(QProgressBar& bar, QLabel& label, int page, int pageCount) const;
    bool showOutcome(QWidget& panel, QStatusBar& statusBar, const std::function<void(const QString&)>& reportFailure,
                     bool cancelled, const QString& failure) const;

signals:
    void pageStarted(int page, int pageCount);
    void finished(bool cancelled, const QString& failure);

private:
    QThread m_thread;
    ReportWorker* m_worker = nullptr; // deletes itself once finished
    QString m_what;
};

// A print run to start: `paint` draws on the printer; stopped, the printer aborts while its
// painter is still active, so nothing is sent.
BackgroundReport::Draw PrintingDraw(const std::shared_ptr<QPrinter>& printer,
                                    const std::function<bool(QPagedPaintDevice&, const PageProgress&)>& paint);
