#include "records/RecordFile.h"

#include "core/Cp1251.h"
#include "records/ReplacingFile.h"

#include <QFileInfo>

#include <algorithm>
#include <cerrno>
#include <map>
#include <memory>

namespace {

constexpr char LineEnd[] = "\r\n";

// A text must fit on one line: each CR LF, lone CR or lone LF becomes one space.
QString onOneLine(const QString& text)
{
    QString line = text;
    line.replace(QLatin1String("\r\n"), QLatin1String(" "));
    line.replace(u'\r', u' ');
    line.replace(u'\n', u' ');
    return line;
}

// A character the file cannot give back: one outside the code page, or Ctrl+Z, which the
// reader takes for the end of the file.
bool IsStorable(char32_t codePoint)
{
    return codePoint != 0x1A && codePoint <= 0xFFFF && IsCp1251Representable(QChar(char16_t(codePoint)));
}

char32_t CodePointAt(const QString& text, qsizetype i)
{
    const QChar c = text[i];
    if (c.isHighSurrogate() && i + 1 < text.size() && text[i + 1].isLowSurrogate())
        return QChar::surrogateToUcs4(c, text[i + 1]);
    return c.unicode();
}

void checkStorable(const QString& line, const char* slotName)
{
    for (qsizetype i = 0; i < line.size(); ++i) {
        const char32_t codePoint = CodePointAt(line, i);
        if (!IsStorable(codePoint)) {
            const QString shown = QStringLiteral("U+%1").arg(quint32(codePoint), 4, 16, QLatin1Char('0')).toUpper();
            throw EInOutError(EILSEQ, QStringLiteral("Cannot save: the %1 holds the character %2, which a record file cannot store")
                                          .arg(QLatin1String(slotName), shown));
        }
    }
}

QByteArray encodedLine(const QString& text, const char* slotName)
{
    const QString line = onOneLine(text);
    checkStorable(line, slotName);
    return EncodeCp1251(line) + LineEnd;
}

QByteArray recordFileContent(const SubjectTexts& t)
{
    QByteArray content = QByteArray(kRecordHeader) + LineEnd;
    content += encodedLine(t.FullName, "full name");
    content += encodedLine(t.Systolic, "systolic pressure");
    content += encodedLine(t.Diastolic, "diastolic pressure");
    content += encodedLine(t.Pulse, "pulse");
    content += QByteArray(t.Sex == Sex::Male ? "0" : "1") + LineEnd;
    content += encodedLine(t.Weight, "weight");
    content += encodedLine(t.Height, "height");
    content += encodedLine(t.Age, "age");
    return content;
}

} // namespace

void WriteRecordFile(const QString& path, const SubjectTexts& texts, const std::function<void()>& allLinesWritten)
{
    // Everything that can be refused is refused before the folder is touched.
    const QByteArray content = recordFileContent(texts);
    ReplacingFile file(path);
    file.write(content);
    file.commit();
    if (allLinesWritten)
        allLinesWritten();
}

namespace {

void writeBatch(const std::vector<RecordFileToWrite>& files, std::size_t from, std::size_t to,
                std::vector<std::optional<EInOutError>>& failures)
{
    std::vector<std::unique_ptr<ReplacingFile>> written(to - from);
    for (std::size_t i = from; i < to; ++i) {
        try {
            const QByteArray content = recordFileContent(files[i].texts);
            auto file = std::make_unique<ReplacingFile>(files[i].path);
            file->write(content);
            file->finish();
            written[i - from] = std::move(file);
        } catch (const EInOutError& error) {
            failures[i] = error;
        }
    }
    // One file per folder stands for it: its folder's file system is flushed, its renames synced.
    std::map<QString, QString> folders;
    for (std::size_t i = from; i < to; ++i) {
        if (written[i - from])
            folders.emplace(QFileInfo(files[i].path).absolutePath(), files[i].path);
    }
    // Every new file is complete on disk before any of them replaces an old one.
    try {
        for (const auto& [folder, path] : folders)
            SyncFileSystemOf(folder);
    } catch (const EInOutError& error) {
        for (std::size_t i = from; i < to; ++i) {
            if (written[i - from])
                failures[i] = error;
        }
        return; // the destructors remove the new files
    }
    for (std::size_t i = from; i < to; ++i) {
        if (!written[i - from])
            continue;
        try {
            written[i - from]->moveIntoPlace();
        } catch (const EInOutError& error) {
            failures[i] = error;
        }
    }
    for (const auto& [folder, path] : folders)
        SyncFolderOf(path);
}

} // namespace

std::vector<std::optional<EInOutError>> WriteRecordFiles(const std::vector<RecordFileToWrite>& files)
{
    std::vector<std::optional<EInOutError>> failures(files.size());
    // A finished file may hold an open descriptor until it is in place; a class at once could
    // exceed the limit, so a few hundred at a time share one flush.
    const std::size_t batch = std::size_t(ReplacingFilesOpenAtOnce());
    for (std::size_t from = 0; from < files.size(); from += batch)
        writeBatch(files, from, std::min(files.size(), from + batch), failures);
    return failures;
}

QList<char32_t> CharactersRecordFilesCannotHold(const QString& text)
{
    const QString line = onOneLine(text);
    QList<char32_t> refused;
    for (qsizetype i = 0; i < line.size(); ++i) {
        const char32_t codePoint = CodePointAt(line, i);
        if (codePoint > 0xFFFF)
            ++i;
        if (!IsStorable(codePoint) && !refused.contains(codePoint))
            refused.append(codePoint);
    }
    return refused;
}
