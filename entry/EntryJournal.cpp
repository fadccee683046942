#include "entry/EntryJournal.h"

#include "records/ReplacingFile.h"

#include <QCryptographicHash>
#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QJsonArray>
#include <QJsonDocument>
#include <QJsonObject>
#include <QStandardPaths>

#include <algorithm>

namespace {

// The key of a folder: its canonical path, or the cleaned absolute one before it exists.
QString FolderKey(const QString& folder)
{
    const QFileInfo info(folder);
    const QString canonical = info.canonicalFilePath();
    return canonical.isEmpty() ? QDir::cleanPath(info.absoluteFilePath()) : canonical;
}

QString JournalPath(const QString& stageFolder, const QString& journalFolder)
{
    const QByteArray hash = QCryptographicHash::hash(FolderKey(stageFolder).toUtf8(), QCryptographicHash::Sha1);
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

std::optional<EntryRow> RowFromJson(const QJsonObject& object)
{
    const QJsonArray texts = object.value(QStringLiteral("texts")).toArray();
    if (texts.size() != qsizetype(kEntryFieldCount))
        return std::nullopt;
    EntryRow row;
    for (std::size_t i = 0; i < kEntryFieldCount; ++i)
        row.texts[i] = texts[qsizetype(i)].toString();
    row.sex = SexFromTyped(object.value(QStringLiteral("sex")).toString());
    row.filePath = object.value(QStringLiteral("file")).toString();
    row.dirty = true;
    return row;
}

} // namespace

EntryJournal::EntryJournal(const QString& stageFolder)
    : EntryJournal(stageFolder, QStandardPaths::writableLocation(QStandardPaths::AppLocalDataLocation)
                                    + QStringLiteral("/entry-journals"))
{
}

EntryJournal::EntryJournal(const QString& stageFolder, const QString& journalFolder)
    : m_stageFolder(FolderKey(stageFolder)), m_path(JournalPath(stageFolder, journalFolder))
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
        QDir().mkpath(QFileInfo(m_path).absolutePath());
        ReplacingFile file(m_path);
        file.write(QJsonDocument(journal).toJson(QJsonDocument::Compact));
        file.commit();
    } catch (const EInOutError& error) {
        return QStringLiteral("Не удалось сохранить несохранённые строки в журнал «%1»: %2").arg(m_path, error.message());
    }
    return {};
}

EntryRows EntryJournal::read() const
{
    QFile file(m_path);
    if (!file.open(QIODevice::ReadOnly))
        return {};
    const QJsonObject journal = QJsonDocument::fromJson(file.readAll()).object();
    // A hash collision or a hand-made file: only this folder's rows are offered.
    if (journal.value(QStringLiteral("folder")).toString() != m_stageFolder)
        return {};
    EntryRows rows;
    for (const QJsonValue value : journal.value(QStringLiteral("rows")).toArray()) {
        if (const std::optional<EntryRow> row = RowFromJson(value.toObject()))
            rows.append(*row);
    }
    return rows;
}

void EntryJournal::clear() const
{
    QFile::remove(m_path);
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
