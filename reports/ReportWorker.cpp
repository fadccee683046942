#include "reports/ReportWorker.h"

void ReportWorker::run(const Job& job)
{
    const QString failure = job([this](int page, int pageCount) {
        if (m_cancel.load())
            return false;
        emit pageStarted(page, pageCount);
        return true;
    });
    emit finished(m_cancel.load(), failure);
}
