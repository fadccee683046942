#include "entry/StageSaver.h"

#include "entry/RecordFileName.h"

#include <QDir>
#include <QFileInfo>
#include <QHash>
#include <QSet>
#include <QStringList>

#include <algorithm>
#include <cerrno>

namespace {

QString CharacterShown(char32_t codePoint)
{
    const QString code = QStringLiteral("U+%1").arg(quint32(codePoint), 4, 16, QLatin1Char('0')).toUpper();
    if (codePoint < 0x20)
        return code;
    return QStringLiteral("«%1» (%2)").arg(QString::fromUcs4(&codePoint, 1), code);
}

// The same person: the name as the fields hold it, blanks and case aside, and the sex.
bool SamePerson(const SubjectTexts& a, const SubjectTexts& b)
{
    return a.Sex == b.Sex && a.FullName.simplified().compare(b.FullName.simplified(), Qt::CaseInsensitive) == 0;
}

// What an existing file holds, as the main window would show it after Open; none when it is not
// a record a reader can load.
std::optional<SubjectTexts> ReadExisting(const QString& path)
{
    SubjectTexts texts = NewSubjectTexts();
    try {
        RecordFileReader reader(path);
        // The name and sex are compared, which no separator changes.
        const Separators separators{u',', QChar()};
        if (reader.read([&](int slot, const QString& text) { PutSlotAsShown(texts, slot, text, separators); })
            != ReadOutcome::Loaded)
            return std::nullopt;
    } catch (const EInOutError&) {
        return std::nullopt;
    }
    return texts;
}

QString MissingText(const EntryRow& row)
{
    QStringList missing;
    if (row.text(EntryField::FullName).trimmed().isEmpty())
        missing << EntryFieldCaption(EntryField::FullName);
    if (!row.sex)
        missing << QStringLiteral("Пол");
    for (const EntryFieldDefinition& definition : EntryFieldDefinitions()) {
        if (definition.field != EntryField::FullName && row.text(definition.field).isEmpty())
            missing << EntryFieldCaption(definition.field);
    }
    return QStringLiteral("Не заполнено: %1").arg(missing.join(QStringLiteral(", ")));
}

QString FileNameOf(const QString& path)
{
    return QFileInfo(path).fileName();
}

// "Иванов И.vnl" → "Иванов И (2).vnl", the first number nothing takes.
QString FreePathBeside(const QString& path, const QSet<QString>& taken)
{
    const QFileInfo info(path);
    const QString suffix = QLatin1String(kRecordFileSuffix);
    QString base = info.fileName();
    if (base.endsWith(suffix))
        base.chop(suffix.size());
    for (int n = 2;; ++n) {
        const QString candidate = info.dir().filePath(QStringLiteral("%1 (%2)%3").arg(base).arg(n).arg(suffix));
        if (!taken.contains(candidate.toCaseFolded()) && !QFileInfo::exists(candidate))
            return candidate;
    }
}

QString SaveFailureText(const QString& path, const EInOutError& error)
{
    QString reason;
    switch (error.errorCode()) {
    case 5: reason = QStringLiteral("нет права записи в папку или файл (только для чтения)"); break;
    case ENOSPC:
    case EDQUOT: reason = QStringLiteral("на диске нет места"); break;
    case EILSEQ: reason = QStringLiteral("в тексте есть символы, которые нельзя сохранить"); break;
    default: reason = error.message(); break;
    }
    return QStringLiteral("Не удалось сохранить «%1»: %2. Строка осталась в таблице.").arg(path, reason);
}

} // namespace

QString UnstorableNameMessage(const QString& fullName)
{
    const QList<char32_t> refused = CharactersRecordFilesCannotHold(fullName);
    if (refused.isEmpty())
        return {};
    QStringList shown;
    for (const char32_t codePoint : refused)
        shown << CharacterShown(codePoint);
    return QStringLiteral("В ФИО есть символы, которые файл записи (Windows-1251) не может хранить: %1. "
                          "Исправьте ФИО, строка не сохраняется.")
        .arg(shown.join(QStringLiteral(", ")));
}

StageSaver::StageSaver(QString folder) : m_folder(std::move(folder)) {}

std::vector<RowSaveOutcome> StageSaver::plan(const EntryRows& rows) const
{
    std::vector<RowSaveOutcome> outcomes(rows.size());
    const QDir folder(m_folder);
    // Every row that is or would be in a file claims its path; the row loaded from it owns it.
    // Names differing only in case are one file on the memory sticks the folders travel on.
    QHash<QString, QList<int>> claims;
    for (int i = 0; i < rows.size(); ++i) {
        const EntryRow& row = rows[i];
        RowSaveOutcome& outcome = outcomes[i];
        outcome.row = i;
        if (IsEmptyRow(row))
            continue;
        outcome.path = row.filePath.isEmpty()
            ? folder.filePath(RecordFileNameFor(row.text(EntryField::FullName)))
            : row.filePath;
        claims[outcome.path.toCaseFolded()].append(i);
    }
    QSet<QString> taken;
    for (const RowSaveOutcome& outcome : outcomes)
        taken.insert(outcome.path.toCaseFolded());

    for (int i = 0; i < rows.size(); ++i) {
        const EntryRow& row = rows[i];
        RowSaveOutcome& outcome = outcomes[i];
        if (IsEmptyRow(row) || !row.dirty)
            continue;
        if (!IsCompleteRow(row)) {
            outcome.message = MissingText(row);
            continue;
        }
        if (const QString unstorable = UnstorableNameMessage(row.text(EntryField::FullName)); !unstorable.isEmpty()) {
            outcome.kind = RowSaveOutcome::Refused;
            outcome.message = unstorable;
            continue;
        }
        // The row loaded from the file keeps it; else the first row claiming a name gets it.
        const QList<int>& claimants = claims[outcome.path.toCaseFolded()];
        const auto ownerAt = std::find_if(claimants.begin(), claimants.end(),
                                          [&](int c) { return rows[c].filePath == outcome.path; });
        const int keeper = ownerAt != claimants.end() ? *ownerAt : claimants.front();
        if (keeper != i) {
            outcome.kind = RowSaveOutcome::NameClash;
            outcome.freePath = FreePathBeside(outcome.path, taken);
            taken.insert(outcome.freePath.toCaseFolded());
            outcome.message = QStringLiteral("Файл «%1» получает строка %2 с тем же именем")
                                  .arg(FileNameOf(outcome.path))
                                  .arg(keeper + 1);
            continue;
        }
        if (row.filePath != outcome.path && QFileInfo::exists(outcome.path)) {
            const std::optional<SubjectTexts> existing = ReadExisting(outcome.path);
            if (!existing || !SamePerson(*existing, ToSubjectTexts(row))) {
                outcome.kind = RowSaveOutcome::OtherPersonFile;
                outcome.freePath = FreePathBeside(outcome.path, taken);
                taken.insert(outcome.freePath.toCaseFolded());
                outcome.message = existing
                    ? QStringLiteral("Файл «%1» уже хранит запись другого человека: %2, %3")
                          .arg(FileNameOf(outcome.path), existing->FullName, SexText(existing->Sex))
                    : QStringLiteral("Файл «%1» уже есть и не является записью обследуемого")
                          .arg(FileNameOf(outcome.path));
                continue;
            }
        }
        outcome.kind = RowSaveOutcome::Saved;
    }
    return outcomes;
}

std::vector<RowSaveOutcome> StageSaver::save(const EntryRows& rows, const std::map<int, QString>& confirmedPaths) const
{
    std::vector<RowSaveOutcome> outcomes = plan(rows);
    for (const auto& [row, path] : confirmedPaths) {
        if (row < 0 || row >= int(outcomes.size()))
            continue;
        RowSaveOutcome& outcome = outcomes[row];
        if (outcome.kind == RowSaveOutcome::NameClash || outcome.kind == RowSaveOutcome::OtherPersonFile
            || outcome.kind == RowSaveOutcome::Saved) {
            outcome.kind = RowSaveOutcome::Saved;
            outcome.path = path;
            outcome.message.clear();
        }
    }
    bool folderReady = false;
    for (RowSaveOutcome& outcome : outcomes) {
        if (outcome.kind != RowSaveOutcome::Saved)
            continue;
        if (!folderReady && !QDir().mkpath(m_folder)) {
            outcome.kind = RowSaveOutcome::Failed;
            outcome.message = QStringLiteral("Не удалось создать папку «%1». Строка осталась в таблице.").arg(m_folder);
            continue;
        }
        folderReady = true;
        try {
            WriteRecordFile(outcome.path, ToSubjectTexts(rows[outcome.row]), nullptr);
        } catch (const EInOutError& error) {
            outcome.kind = RowSaveOutcome::Failed;
            outcome.message = SaveFailureText(outcome.path, error);
        }
    }
    return outcomes;
}
