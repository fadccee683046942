#include "entry/StageSaver.h"

#include "records/PrivateFolder.h"

#include "entry/RecordFileName.h"
#include "entry/StageFolder.h"

#include "core/PersonIdentity.h"

#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QHash>
#include <QSet>
#include <QStringList>

#include <algorithm>
#include <cerrno>
#include <sys/stat.h>

namespace {

QString CharacterShown(char32_t codePoint)
{
    const QString code = QStringLiteral("U+%1").arg(quint32(codePoint), 4, 16, QLatin1Char('0')).toUpper();
    if (codePoint < 0x20)
        return code;
    return QStringLiteral("«%1» (%2)").arg(QString::fromUcs4(&codePoint, 1), code);
}

PersonIdentity IdentityOfRow(const EntryRow& row)
{
    return IdentityOf(row.text(EntryField::FullName), row.sex.value_or(Sex::Male));
}

// Written by this save when nothing is in the way.
bool IsToBeWritten(const EntryRow& row)
{
    return row.dirty && IsCompleteRow(row) && UnstorableNameMessage(row.text(EntryField::FullName)).isEmpty();
}

// Which record files of the stage hold each person, as the summary would find them.
QHash<PersonIdentity, EntryRows> FilesByPerson(const QString& folder)
{
    QHash<PersonIdentity, EntryRows> files;
    if (!QFileInfo(folder).isDir())
        return files;
    // The name and sex are compared, which no separator changes.
    for (const EntryRow& file : ReadStageFolder(folder, Separators{u',', QChar()}).rows)
        files[IdentityOfRow(file)].append(file);
    return files;
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

std::map<int, QString> ConfirmedPaths(const std::vector<RowSaveOutcome>& plan, ClashAnswer answer)
{
    std::map<int, QString> confirmed;
    for (const RowSaveOutcome& outcome : plan) {
        const bool fileInTheWay =
            outcome.kind == RowSaveOutcome::OtherPersonFile || outcome.kind == RowSaveOutcome::SamePersonFile;
        if (answer == ClashAnswer::Overwrite && fileInTheWay)
            confirmed[outcome.row] = outcome.path;
        else if (answer != ClashAnswer::Skip && !outcome.freePath.isEmpty())
            confirmed[outcome.row] = outcome.freePath;
    }
    return confirmed;
}

StageSaver::StageSaver(QString folder) : m_folder(std::move(folder)) {}

std::vector<RowSaveOutcome> StageSaver::plan(const EntryRows& rows) const
{
    std::vector<RowSaveOutcome> outcomes(rows.size());
    const QDir folder(m_folder);
    // Every row that is in a file or is written now claims its path and its person; the row loaded
    // from a file owns both, else the first row. Names differing only in case are one file on the
    // memory sticks the folders travel on.
    QHash<QString, QList<int>> claims;
    QHash<PersonIdentity, int> personRows;
    for (int i = 0; i < rows.size(); ++i) {
        const EntryRow& row = rows[i];
        RowSaveOutcome& outcome = outcomes[i];
        outcome.row = i;
        if (IsEmptyRow(row))
            continue;
        outcome.path = row.filePath.isEmpty()
            ? folder.filePath(RecordFileNameFor(row.text(EntryField::FullName)))
            : row.filePath;
        if (!row.filePath.isEmpty() || IsToBeWritten(row))
            claims[outcome.path.toCaseFolded()].append(i);
        if (!row.filePath.isEmpty() && row.sex)
            personRows.insert(IdentityOfRow(row), i);
    }
    for (int i = 0; i < rows.size(); ++i) {
        if (rows[i].filePath.isEmpty() && IsToBeWritten(rows[i]) && !personRows.contains(IdentityOfRow(rows[i])))
            personRows.insert(IdentityOfRow(rows[i]), i);
    }
    QSet<QString> taken;
    for (auto claim = claims.cbegin(); claim != claims.cend(); ++claim)
        taken.insert(claim.key());
    const QHash<PersonIdentity, EntryRows> personFiles = FilesByPerson(m_folder);

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
        const PersonIdentity person = IdentityOfRow(row);
        if (const int first = personRows.value(person, i); row.filePath.isEmpty() && first != i) {
            outcome.kind = RowSaveOutcome::NameClash;
            outcome.message = QStringLiteral("Тот же человек уже есть в таблице (строка %1): второй файл не создаётся").arg(first + 1);
            continue;
        }
        if (row.filePath.isEmpty()) {
            // The person's own file under this very spelling is saved over, as the main window
            // would; under another spelling or name it is pointed out, and a second file never made.
            const EntryRows& own = personFiles.value(person);
            const auto here = std::find_if(own.begin(), own.end(), [&](const EntryRow& file) {
                return file.filePath == outcome.path && file.text(EntryField::FullName) == row.text(EntryField::FullName);
            });
            if (here == own.end() && !own.isEmpty()) {
                outcome.kind = RowSaveOutcome::SamePersonFile;
                outcome.path = own.front().filePath;
                outcome.message = QStringLiteral("У этого человека уже есть файл «%1» (%2, %3)")
                                      .arg(FileNameOf(outcome.path), own.front().text(EntryField::FullName),
                                           SexText(*own.front().sex));
                continue;
            }
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
            if (!existing || IdentityOf(existing->FullName, existing->Sex) != person) {
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
        const bool asked = outcome.kind == RowSaveOutcome::NameClash || outcome.kind == RowSaveOutcome::OtherPersonFile
            || outcome.kind == RowSaveOutcome::SamePersonFile;
        if (asked && !path.isEmpty() && (path == outcome.path || path == outcome.freePath)) {
            outcome.kind = RowSaveOutcome::Saved;
            outcome.path = path;
            outcome.message.clear();
        }
    }
    std::vector<RecordFileToWrite> files;
    std::vector<RowSaveOutcome*> writing;
    QHash<QString, int> writers;
    for (RowSaveOutcome& outcome : outcomes) {
        if (outcome.kind != RowSaveOutcome::Saved)
            continue;
        // Two rows into one file would leave one of them lost while both read as saved.
        if (const auto first = writers.constFind(outcome.path.toCaseFolded()); first != writers.cend()) {
            outcome.kind = RowSaveOutcome::NameClash;
            outcome.message = QStringLiteral("Файл «%1» получает строка %2").arg(FileNameOf(outcome.path)).arg(*first + 1);
            continue;
        }
        writers.insert(outcome.path.toCaseFolded(), outcome.row);
        files.push_back({outcome.path, ToSubjectTexts(rows[outcome.row])});
        writing.push_back(&outcome);
    }
    if (files.empty())
        return outcomes;
    if (!MakePrivateFolders(m_folder)) {
        for (RowSaveOutcome* outcome : writing) {
            outcome->kind = RowSaveOutcome::Failed;
            outcome->message = QStringLiteral("Не удалось создать папку «%1». Строка осталась в таблице.").arg(m_folder);
        }
        return outcomes;
    }
    // One flush to disk for the whole table: a file each would take seconds for a class.
    const std::vector<std::optional<EInOutError>> failures = WriteRecordFiles(files);
    for (std::size_t i = 0; i < writing.size(); ++i) {
        if (failures[i]) {
            writing[i]->kind = RowSaveOutcome::Failed;
            writing[i]->message = SaveFailureText(writing[i]->path, *failures[i]);
        }
    }
    return outcomes;
}
