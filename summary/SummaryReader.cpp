#include "summary/SummaryReader.h"

#include "summary/RecordFileAssessment.h"
#include "summary/RecordFileScan.h"

#include <QElapsedTimer>

void RegisterSummaryTypes()
{
    qRegisterMetaType<SummaryRows>("SummaryRows");
    qRegisterMetaType<QList<SkippedPath>>("QList<SkippedPath>");
}

void SummaryReader::read(const QStringList& paths, Separators separators)
{
    const RecordFileList list = FindRecordFiles(paths, &m_cancel);
    if (!list.skipped.isEmpty())
        emit pathsSkipped(list.skipped);
    emit filesFound(int(list.files.size()));

    // The first batch is small so the first rows show at once; later ones are sent every
    // 100 ms so the window is not flooded with signals.
    SummaryRows batch;
    QElapsedTimer sinceSent;
    sinceSent.start();
    bool first = true;
    for (const QString& path : list.files) {
        if (m_cancel.load(std::memory_order_relaxed))
            break;
        batch.append(AssessRecordFile(path, separators));
        if ((first && batch.size() >= 50) || sinceSent.elapsed() >= 100) {
            emit rowsReady(batch);
            batch.clear();
            sinceSent.restart();
            first = false;
            if (m_batchGate)
                m_batchGate();
        }
    }
    if (!batch.isEmpty())
        emit rowsReady(batch);
    emit finished(m_cancel.load());
}
