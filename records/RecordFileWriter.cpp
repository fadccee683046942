#include "records/RecordFile.h"

#include "core/Cp1251.h"
#include "records/ReplacingFile.h"

#include <cerrno>

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

// Refuses a character the file cannot give back: one outside the code page, or Ctrl+Z, which
// the reader takes for the end of the file.
void checkStorable(const QString& line, const char* slotName)
{
    for (qsizetype i = 0; i < line.size(); ++i) {
        const QChar c = line[i];
        char32_t codePoint = c.unicode();
        if (c.isHighSurrogate() && i + 1 < line.size() && line[i + 1].isLowSurrogate())
            codePoint = QChar::surrogateToUcs4(c, line[i + 1]);
        if (codePoint == 0x1A || codePoint > 0xFFFF || !IsCp1251Representable(c)) {
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
