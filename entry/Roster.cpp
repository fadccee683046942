#include "entry/Roster.h"

#include "entry/StageFolder.h"

#include "core/Cp1251.h"
#include "core/PersonIdentity.h"

#include <QFile>
#include <QHash>
#include <QStringDecoder>

namespace {

QString Line(int number, const QString& text)
{
    return QStringLiteral("строка %1: %2").arg(number).arg(text);
}

// Spreadsheets write UTF-8 with or without a byte-order mark, or the Windows code page.
QString DecodeRoster(QByteArray bytes)
{
    if (bytes.startsWith("\xEF\xBB\xBF"))
        return QString::fromUtf8(bytes.sliced(3));
    QStringDecoder utf8(QStringDecoder::Utf8);
    const QString text = utf8(bytes);
    return utf8.hasError() ? DecodeCp1251(bytes) : text;
}

// Text, not a picture or an archive renamed: no NUL, and control characters other than tab and
// line ends are rare.
bool LooksBinary(const QByteArray& bytes)
{
    qsizetype controls = 0;
    for (const char byte : bytes) {
        if (byte == '\0')
            return true;
        if (quint8(byte) < 0x20 && byte != '\t' && byte != '\r' && byte != '\n')
            ++controls;
    }
    return controls * 100 > bytes.size();
}

// One line's fields, with the quoting spreadsheets use ("" inside quotes is a quote).
QStringList SplitFields(const QString& line, QChar separator)
{
    QStringList fields;
    QString field;
    bool quoted = false;
    for (qsizetype i = 0; i < line.size(); ++i) {
        const QChar c = line[i];
        if (quoted) {
            if (c == u'"' && i + 1 < line.size() && line[i + 1] == u'"') {
                field += c;
                ++i;
            } else if (c == u'"') {
                quoted = false;
            } else {
                field += c;
            }
        } else if (c == u'"') {
            quoted = true;
        } else if (c == separator) {
            fields << field;
            field.clear();
        } else {
            field += c;
        }
    }
    fields << field;
    return fields;
}

bool IsHeader(const QStringList& fields)
{
    const auto is = [](const QString& field, QStringView caption) {
        return field.trimmed().compare(caption, Qt::CaseInsensitive) == 0;
    };
    return is(fields[0], u"ФИО") || (fields.size() > 1 && is(fields[1], u"Пол"));
}

// Adds a row unless it is a person already taken.
class RosterBuilder
{
public:
    explicit RosterBuilder(Roster& roster) : m_roster(roster) {}

    void add(int lineNumber, const QString& rawName, Sex sex)
    {
        const QString name = EntryFieldText(EntryField::FullName, rawName.trimmed(), Separators{u',', QChar()});
        const PersonIdentity person = IdentityOf(name, sex);
        if (!person.isNamed()) {
            m_roster.problems << Line(lineNumber, QStringLiteral("нет ФИО, не взята"));
            return;
        }
        if (const auto seen = m_lines.constFind(person); seen != m_lines.cend()) {
            m_roster.problems << Line(lineNumber, QStringLiteral("«%1» уже есть (строка %2), не взята").arg(name).arg(*seen));
            return;
        }
        m_lines.insert(person, lineNumber);
        EntryRow row;
        row.text(EntryField::FullName) = name;
        row.sex = sex;
        m_roster.rows.append(row);
    }

private:
    Roster& m_roster;
    QHash<PersonIdentity, int> m_lines;
};

} // namespace

Roster ParseRosterCsv(const QByteArray& bytes)
{
    Roster roster;
    if (bytes.size() > kLargestRosterFile) {
        roster.problems << QStringLiteral("Файл слишком велик для списка класса (%1 байт), не прочитан").arg(bytes.size());
        return roster;
    }
    if (LooksBinary(bytes)) {
        roster.problems << QStringLiteral("Файл не текстовый (не CSV), не прочитан");
        return roster;
    }
    const QString text = DecodeRoster(bytes);
    if (text.trimmed().isEmpty()) {
        roster.problems << QStringLiteral("Файл пуст");
        return roster;
    }
    QStringList lines = text.split(u'\n');
    for (QString& line : lines) {
        if (line.endsWith(u'\r'))
            line.chop(1);
    }
    QChar separator = u',';
    for (const QString& line : std::as_const(lines)) {
        if (!line.trimmed().isEmpty()) {
            separator = line.contains(u';') ? u';' : u',';
            break;
        }
    }
    RosterBuilder builder(roster);
    bool firstLine = true;
    for (int i = 0; i < lines.size(); ++i) {
        const int number = i + 1;
        if (lines[i].trimmed().isEmpty())
            continue;
        const QStringList fields = SplitFields(lines[i], separator);
        const bool header = firstLine && IsHeader(fields);
        firstLine = false;
        if (header)
            continue;
        const QString name = fields[0].trimmed();
        const QString sexText = fields.size() > 1 ? fields[1].trimmed() : QString();
        const std::optional<Sex> sex = SexFromTyped(sexText);
        if (sexText.isEmpty() && !name.isEmpty())
            roster.problems << Line(number, QStringLiteral("«%1»: пол не указан, не взята").arg(name));
        else if (!sex && !name.isEmpty())
            roster.problems << Line(number, QStringLiteral("«%1»: пол «%2» — не М и не Ж, не взята").arg(name, sexText));
        else
            builder.add(number, name, sex.value_or(Sex::Male));
    }
    if (roster.rows.isEmpty() && roster.problems.isEmpty())
        roster.problems << QStringLiteral("В файле нет ни одной строки ФИО;Пол");
    return roster;
}

Roster ReadRosterCsv(const QString& path)
{
    QFile file(path);
    if (!file.open(QIODevice::ReadOnly)) {
        Roster roster;
        roster.problems << QStringLiteral("Не удалось открыть «%1»: %2").arg(path, file.errorString());
        return roster;
    }
    // Read one byte past the limit on the opened file: a file that grows after a check is still caught.
    return ParseRosterCsv(file.read(kLargestRosterFile + 1));
}

Roster RosterFromStageFolder(const QString& folder, Separators separators)
{
    const StageFolderContents contents = ReadStageFolder(folder, separators);
    Roster roster;
    for (const QString& unreadable : contents.unreadable)
        roster.problems << QStringLiteral("Не прочитан: %1").arg(unreadable);
    RosterBuilder builder(roster);
    int number = 0;
    for (const EntryRow& row : contents.rows)
        builder.add(++number, row.text(EntryField::FullName), row.sex.value_or(Sex::Male));
    if (contents.rows.isEmpty())
        roster.problems << QStringLiteral("В папке «%1» нет файлов записей").arg(folder);
    return roster;
}
