#include "group_windows/BackgroundReport.h"

#include "reports/ReportWorker.h"

#include <QLabel>
#include <QPrinter>
#include <QProgressBar>
#include <QStatusBar>

BackgroundReport::BackgroundReport(const QString& threadName, QObject* parent) : QObject(parent)
{
    m_thread.setObjectName(threadName);
    m_thread.start();
}

BackgroundReport::~BackgroundReport()
{
    cancel();
    m_thread.quit();
    m_thread.wait();
}

void BackgroundReport::start(const QString& what, const Draw& draw, const std::function<void(int page)>& gate)
{
    if (isRunning())
        return;
    m_what = what;
    m_worker = new ReportWorker;
    m_worker->moveToThread(&m_thread);
    connect(&m_thread, &QThread::finished, m_worker, &QObject::deleteLater);
    connect(m_worker, &ReportWorker::pageStarted, this, &BackgroundReport::pageStarted);
    connect(m_worker, &ReportWorker::finished, this, [this](bool cancelled, const QString& failure) {
        m_worker->deleteLater();
        m_worker = nullptr;
        emit finished(cancelled, failure);
    });
    const ReportWorker::Job job = [draw, gate](const PageProgress& progress) {
        return draw([&](int page, int pageCount) {
            if (gate)
                gate(page);
            return progress(page, pageCount);
        });
    };
    QMetaObject::invokeMethod(m_worker, [worker = m_worker, job] { worker->run(job); }, Qt::QueuedConnection);
}

void BackgroundReport::cancel()
{
    if (m_worker != nullptr)
        m_worker->cancel();
}

QString BackgroundReport::pageText(int page, int pageCount) const
{
    return QStringLiteral("%1: стр. %2 из %3").arg(m_what).arg(page + 1).arg(pageCount);
}

BackgroundReport::Draw PrintingDraw(const std::shared_ptr<QPrinter>& printer,
                                    const std::function<bool(QPagedPaintDevice&, const PageProgress&)>& paint)
{
    return [printer, paint](const PageProgress& progress) {
        const bool printed = paint(*printer, [&](int page, int pageCount) {
            if (progress(page, pageCount))
                return true;
            printer->abort();
            return false;
        });
        return printed ? QString() : QStringLiteral("Не удалось напечатать отчет");
    };
}

void BackgroundReport::showPage(QProgressBar& bar, QLabel& label, int page, int pageCount) const
{
    bar.setRange(0, pageCount);
    bar.setValue(page);
    label.setText(pageText(page, pageCount));
}

bool BackgroundReport::showOutcome(QWidget& panel, QStatusBar& statusBar,
                                   const std::function<void(const QString&)>& reportFailure, bool cancelled,
                                   const QString& failure) const
{
    panel.hide();
    const bool written = !cancelled && failure.isEmpty();
    if (cancelled)
        statusBar.showMessage(m_what + QStringLiteral(": отменено"));
    else if (!written)
        reportFailure(failure);
    else
        statusBar.showMessage(m_what + QStringLiteral(": готово"));
    return written;
}
