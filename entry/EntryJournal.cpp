#include "entry/EntryJournal.h"

#include "records/PrivateFolder.h"

#include "core/PersonIdentity.h"
#include "entry/StageFolder.h"
#include "records/InOutError.h"
#include "records/ReplacingFile.h"

#include <QCryptographicHash>
#include <QDateTime>
#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QJsonArray>
#include <QJsonDocument>
#include <QJsonObject>
#include <QLockFile>
#include <QStandardPaths>

#include <algorithm>
#include <sys/stat.h>

namespace {

constexpr QFile::Permissions kPrivateFile = QFile::ReadOwner | QFile::WriteOwner;

QString JournalPath(const QString& folderKey, const QString& journalFolder)
{
    const QByteArray hash = QCryptographicHash::hash(folderKey.toUtf8(), QCryptographicHash::Sha1);
    return QDir(journalFolder).filePath(QString::fromLatin1(hash.toHex()) + QStringLiteral(".json"));
}

QJsonObject RowToJson(const EntryRow& row)
{
    QJsonArray texts;
    for (const QString& text : row.texts)
        texts.append(text);
    QJsonObject object{{QStringLiteral("texts"), texts}, {QStringLiteral("file"), row.filePath}};
    if (row.sex)
        object.insert(QStringLiteral("sex"), SexText(*row.sex));
    return object;
}

std::optional<EntryRow> RowFromJson(const QJsonValue& value)
{
    const QJsonObject object = value.toObject();
    const QJsonArray texts = object.value(QStringLiteral("texts")).toArray();
    const QJsonValue sex = object.value(QStringLiteral("sex"));
    if (!value.isObject() || texts.size() != qsizetype(kEntryFieldCount)
        || !std::all_of(texts.begin(), texts.end(),
                        [](const QJsonValue& text) { return text.isString() && text.toString().isValidUtf16(); })
        || !(sex.isUndefined() || SexFromTyped(sex.toString()))
        || !object.value(QStringLiteral("file")).toString().isValidUtf16())
        return std::nullopt;
    EntryRow row;
    for (std::size_t i = 0; i < kEntryFieldCount; ++i)
        row.texts[i] = texts[qsizetype(i)].toString();
    row.sex = SexFromTyped(sex.toString());
    row.filePath = object.value(QStringLiteral("file")).toString();
    // A row is never sent back into what a cut-off save left behind.
    if (IsReplacementTemporaryName(QFileInfo(row.filePath).fileName()))
        row.filePath.clear();
    row.dirty = true;
    return row;
}

// `path` renamed beside itself as "<name>.<why>-<when>.json"; empty when it could not move.
QString RenameAside(const QString& path, const QString& why)
{
    QString base = path;
    base.chop(QStringLiteral(".json").size());
    const QString when = QDateTime::currentDateTimeUtc().toString(QStringLiteral("yyyyMMdd'T'HHmmss"));
    for (int n = 1; n < 100; ++n) {
        const QString aside = n == 1 ? QStringLiteral("%1.%2-%3.json").arg(base, why, when)
                                     : QStringLiteral("%1.%2-%3-%4.json").arg(base, why, when).arg(n);
        if (QFile::exists(aside))
            continue;
        return QFile::rename(path, aside) ? aside : QString();
    }
    return {};
}

} // namespace

EntryRows ParseEntryJournal(const QByteArray& bytes, const QString& stageFolderKey, bool& readable)
{
    readable = false;
    QJsonParseError error{};
    const QJsonDocument document = QJsonDocument::fromJson(bytes, &error);
    const QJsonObject journal = document.object();
    const QJsonValue rows = journal.value(QStringLiteral("rows"));
    // A hash collision or a hand-made file is not this folder's journal.
    if (error.error != QJsonParseError::NoError || !document.isObject() || !rows.isArray()
        || journal.value(QStringLiteral("folder")).toString() != stageFolderKey)
        return {};
    EntryRows read;
    for (const QJsonValue value : rows.toArray()) {
        const std::optional<EntryRow> row = RowFromJson(value);
        if (!row)
            return {};
        read.append(*row);
    }
    readable = true;
    return read;
}

EntryJournal::EntryJournal(const QString& stageFolder)
    : EntryJournal(stageFolder, QStandardPaths::writableLocation(QStandardPaths::AppLocalDataLocation)
                                    + QStringLiteral("/entry-journals"))
{
}

EntryJournal::EntryJournal(const QString& stageFolder, const QString& journalFolder)
    : m_stageFolder(StageFolderKey(stageFolder)), m_path(JournalPath(m_stageFolder, journalFolder))
{
}

QString EntryJournal::write(const EntryRows& rows) const
{
    QJsonArray unsaved;
    for (const EntryRow& row : rows) {
        if (IsUnsaved(row))
            unsaved.append(RowToJson(row));
    }
    if (unsaved.isEmpty()) {
        clear();
        return {};
    }
    const QJsonObject journal{{QStringLiteral("folder"), m_stageFolder}, {QStringLiteral("rows"), unsaved}};
    try {
        if (!KeepOwnFolderPrivate(QFileInfo(m_path).absolutePath()))
            throw InOutErrorFromErrno(errno);
        // Made private before anything is in it; the replacement keeps its permissions.
        if (QFile created(m_path); !created.exists())
            created.open(QIODevice::WriteOnly | QIODevice::NewOnly, kPrivateFile);
        ReplacingFile file(m_path);
        file.write(QJsonDocument(journal).toJson(QJsonDocument::Compact));
        file.commit();
        QFile::setPermissions(m_path, kPrivateFile);
    } catch (const EInOutError& error) {
        return QStringLiteral("Не удалось сохранить несохранённые строки в журнал «%1»: %2").arg(m_path, error.message());
    }
    return {};
}

EntryJournal::Contents EntryJournal::read() const
{
    QFile file(m_path);
    if (!file.exists())
        return {};
    Contents contents;
    bool readable = false;
    if (file.open(QIODevice::ReadOnly)) {
        const QByteArray bytes = file.readAll();
        if (bytes.isEmpty())
            return {}; // made, not yet written
        contents.rows = ParseEntryJournal(bytes, m_stageFolder, readable);
    }
    if (readable)
        return contents;
    const QString aside = RenameAside(m_path, QStringLiteral("unreadable"));
    contents.problem = aside.isEmpty()
        ? QStringLiteral("Журнал несохранённых строк «%1» не прочитан и оставлен как есть.").arg(m_path)
        : QStringLiteral("Журнал несохранённых строк не прочитан; он сохранён как «%1».").arg(aside);
    return contents;
}

void EntryJournal::clear() const
{
    QFile::remove(m_path);
}

QString EntryJournal::setAside() const
{
    return QFile::exists(m_path) ? RenameAside(m_path, QStringLiteral("set-aside")) : QString();
}

std::unique_ptr<QLockFile> EntryJournal::lock(QString& refusal) const
{
    refusal.clear();
    const QString folder = QDir::toNativeSeparators(m_stageFolder);
    if (!KeepOwnFolderPrivate(QFileInfo(m_path).absolutePath())) {
        refusal = QStringLiteral("Не удалось создать папку журналов «%1».").arg(QFileInfo(m_path).absolutePath());
        return nullptr;
    }
    auto lock = std::make_unique<QLockFile>(m_path + QStringLiteral(".lock"));
    // Held as long as the window is open; only a lock whose program is gone is stale.
    lock->setStaleLockTime(0);
    if (lock->tryLock(0))
        return lock;
    qint64 pid = 0;
    QString host;
    QString application;
    if (lock->error() == QLockFile::LockFailedError && lock->getLockInfo(&pid, &host, &application))
        refusal = QStringLiteral("Папка этапа «%1» уже открыта для ввода в другой программе (процесс %2). "
                                 "Продолжайте ввод в том окне или закройте его.")
                      .arg(folder)
                      .arg(pid);
    else
        refusal = QStringLiteral("Не удалось занять журнал папки этапа «%1» (%2).").arg(folder, m_path + ".lock");
    return nullptr;
}

EntryRows EntryJournal::Merge(EntryRows folderRows, const EntryRows& journalRows)
{
    for (const EntryRow& row : journalRows) {
        const auto same = std::find_if(folderRows.begin(), folderRows.end(), [&](const EntryRow& r) {
            return !row.filePath.isEmpty() && r.filePath == row.filePath;
        });
        if (same != folderRows.end())
            *same = row;
        else
            folderRows.append(row);
    }
    return folderRows;
}

EntryRows EntryJournal::StillUnsaved(const EntryRows& journalRows, const EntryRows& folderRows)
{
    const auto person = [](const EntryRow& row) { return IdentityOf(row.text(EntryField::FullName), *row.sex); };
    const auto sameValues = [](const EntryRow& a, const EntryRow& b) {
        for (const EntryFieldDefinition& definition : EntryFieldDefinitions()) {
            if (definition.field != EntryField::FullName && a.text(definition.field) != b.text(definition.field))
                return false;
        }
        return true;
    };
    EntryRows offered;
    for (const EntryRow& row : journalRows) {
        if (IsEmptyRow(row))
            continue;
        const bool saved = row.sex && person(row).isNamed()
            && std::any_of(folderRows.begin(), folderRows.end(), [&](const EntryRow& file) {
                   return file.sex && person(file) == person(row) && sameValues(file, row);
               });
        if (!saved)
            offered.append(row);
    }
    return offered;
}
