#include "summary/RecordFileAssessment.h"

#include "core/Calculation.h"
#include "core/EntryFields.h"

#include <QFile>

#include <sys/stat.h>

#include <cerrno>

namespace {

SummaryRow Failed(const QString& path, RowOutcome outcome, const QString& reason)
{
    SummaryRow row;
    row.path = path;
    row.outcome = outcome;
    row.reason = reason;
    return row;
}

QString ReadErrorReason(const QString& message)
{
    return QStringLiteral("Ошибка чтения: %1").arg(message);
}

} // namespace

SummaryRow AssessRecordFile(const QString& path, Separators separators)
{
    // Looked at before opening: a pipe or device must never be opened, a huge file never read.
    struct stat info {};
    if (::stat(QFile::encodeName(path).constData(), &info) != 0)
        return Failed(path, RowOutcome::ReadError, ReadErrorReason(InOutErrorFromErrno(errno).message()));
    if (S_ISDIR(info.st_mode))
        return Failed(path, RowOutcome::ReadError, ReadErrorReason(InOutErrorFromErrno(EISDIR).message()));
    if (!S_ISREG(info.st_mode))
        return Failed(path, RowOutcome::ReadError, QStringLiteral("Не обычный файл (канал или устройство)"));
    if (info.st_size > kLargestRecordFile)
        return Failed(path, RowOutcome::FormatError,
                      QStringLiteral("Неверный формат файла: слишком велик (%1 байт)").arg(qint64(info.st_size)));

    SummaryRow row;
    row.path = path;
    row.texts = NewSubjectTexts();
    try {
        RecordFileReader reader(path);
        const ReadOutcome outcome =
            reader.read([&](int slot, const QString& text) { PutSlotAsShown(row.texts, slot, text, separators); });
        if (outcome == ReadOutcome::FormatError)
            return Failed(path, RowOutcome::FormatError, QStringLiteral("Неверный формат файла"));
    } catch (const EInOutError& error) {
        return Failed(path, RowOutcome::ReadError, ReadErrorReason(error.message()));
    }

    const SubjectTexts& t = row.texts;
    const std::optional<AssessmentResult> result =
        CalculateFromEntryTexts(t.Systolic, t.Diastolic, t.Pulse, t.Sex, t.Weight, t.Height, t.Age);
    if (!result) {
        row.outcome = RowOutcome::NotAcceptable;
        return row;
    }
    row.outcome = RowOutcome::Assessed;
    row.result = *result;
    row.adaptationIndexShown = AdaptationIndexText(result->AdaptationIndex, separators);
    return row;
}
