#include "entry/StageFolder.h"

#include "core/PersonIdentity.h"
#include "records/ReplacingFile.h"
#include "summary/RecordFileAssessment.h"
#include "summary/RecordFileScan.h"

#include <QCollator>
#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QHash>

#include <algorithm>
#include <cerrno>
#include <cstring>
#include <unistd.h>

namespace {

QString AccessFailureText(int error)
{
    switch (error) {
    case EROFS: return QStringLiteral("файловая система доступна только для чтения");
    case EACCES:
    case EPERM: return QStringLiteral("нет права записи");
    default: return QString::fromLocal8Bit(std::strerror(error));
    }
}

// The path made absolute and clean, and its nearest ancestor (itself included) that exists;
// `missing` gets the names below that ancestor.
QString NearestExisting(const QString& path, QStringList* missing = nullptr)
{
    QString existing = QDir::cleanPath(QFileInfo(path).absoluteFilePath());
    while (!QFileInfo::exists(existing) && existing != QDir::rootPath()) {
        if (missing != nullptr)
            missing->prepend(QFileInfo(existing).fileName());
        existing = QFileInfo(existing).absolutePath();
    }
    return existing;
}

bool IsRow(const SummaryRow& read)
{
    return read.outcome == RowOutcome::Assessed || read.outcome == RowOutcome::NotAcceptable;
}

} // namespace

std::optional<EntryRow> ReadStageFile(const QString& path, Separators separators)
{
    // What the main window's fields show after Open: the summary's reading is that.
    const SummaryRow read = AssessRecordFile(path, separators);
    return IsRow(read) ? std::optional(FromSubjectTexts(read.texts, path)) : std::nullopt;
}

StageFolderContents ReadStageFolder(const QString& folder, Separators separators)
{
    StageFolderContents contents;
    RecordFileList found = FindRecordFiles({folder});
    // A save's leftover is never a row, whoever reads the folder.
    found.files.removeIf([](const QString& path) { return IsReplacementTemporaryName(QFileInfo(path).fileName()); });
    // The order a file manager shows them in, so the table matches what the nurse sees.
    QCollator collator;
    collator.setNumericMode(true);
    std::sort(found.files.begin(), found.files.end(), collator);
    contents.rows.reserve(found.files.size());
    QHash<PersonIdentity, QStringList> filesOfPerson;
    for (const QString& path : std::as_const(found.files)) {
        const SummaryRow read = AssessRecordFile(path, separators);
        if (!IsRow(read)) {
            contents.unreadable.append(QStringLiteral("%1: %2").arg(path, OutcomeText(read)));
            continue;
        }
        contents.rows.append(FromSubjectTexts(read.texts, path));
        if (const PersonIdentity person = IdentityOf(read.texts.FullName, read.texts.Sex); person.isNamed())
            filesOfPerson[person].append(path);
    }
    for (const QString& path : std::as_const(found.files)) {
        // Listed once, in file order, at the person's first file.
        for (auto it = filesOfPerson.begin(); it != filesOfPerson.end(); ++it) {
            if (it->size() > 1 && it->first() == path)
                contents.samePersonFiles.append(*it);
        }
    }
    for (const SkippedPath& skipped : std::as_const(found.skipped))
        contents.unreadable.append(QStringLiteral("%1: %2").arg(skipped.path, skipped.reason));
    return contents;
}

int ClearSaveLeftovers(const QString& folder)
{
    int cleared = 0;
    const QDir dir(folder);
    for (const QFileInfo& entry : dir.entryInfoList(QDir::Files | QDir::Hidden | QDir::System | QDir::NoSymLinks)) {
        if (IsReplacementTemporaryName(entry.fileName()) && QFile::remove(entry.filePath()))
            ++cleared;
    }
    return cleared;
}

QString StageFolderKey(const QString& folder)
{
    QStringList rest;
    const QString existing = NearestExisting(folder, &rest);
    QString key = QFileInfo(existing).canonicalFilePath();
    if (key.isEmpty())
        key = existing;
    for (const QString& part : std::as_const(rest))
        key = QDir(key).filePath(part);
    return key;
}

StageFolderProblem CheckStageFolder(const QString& folder)
{
    const QString shown = QDir::toNativeSeparators(folder);
    QStringList missing;
    const QString existing = NearestExisting(folder, &missing);
    if (!QFileInfo(existing).isDir()) {
        return {StageFolderProblem::NotAFolder,
                missing.isEmpty()
                    ? QStringLiteral("«%1» — это файл, а не папка этапа").arg(shown)
                    : QStringLiteral("папку «%1» нельзя создать: «%2» — это файл")
                          .arg(shown, QDir::toNativeSeparators(existing))};
    }
    if (::access(QFile::encodeName(existing).constData(), W_OK | X_OK) != 0) {
        const QString reason = AccessFailureText(errno);
        return {StageFolderProblem::NotWritable,
                missing.isEmpty()
                    ? QStringLiteral("в папку «%1» нельзя сохранять: %2").arg(shown, reason)
                    : QStringLiteral("папку «%1» нельзя создать в «%2»: %3")
                          .arg(shown, QDir::toNativeSeparators(existing), reason)};
    }
    return {};
}
