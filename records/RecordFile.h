#pragma once

#include "core/EditRules.h"
#include "core/EntryFields.h"
#include "core/SubjectRecord.h"
#include "records/BufferedFileInput.h"
#include "records/InOutError.h"

#include <QByteArrayView>
#include <QList>
#include <QString>

#include <functional>
#include <optional>

// What one record file holds: the seven entry texts as shown and the sex choice.
struct SubjectTexts
{
    QString FullName;
    QString Systolic;
    QString Diastolic;
    QString Pulse;
    ::Sex Sex = ::Sex::Male;
    QString Weight;
    QString Height;
    QString Age;
};

// The text a subject's entry field shows.
QString& EntryText(SubjectTexts& texts, EntryField field);
const QString& EntryText(const SubjectTexts& texts, EntryField field);

// A new subject as a freshly reset window shows it: every field's reset text, М.
SubjectTexts NewSubjectTexts();

// Puts a slot read from a record file into `texts` as the window's fields would show it after Open
// (a numeric field shows "0" for what is not integer text); slot 5 is the sex.
void PutSlotAsShown(SubjectTexts& texts, int slot, const QString& text, Separators separators);

// The first line of every record file. A file is a record when its first line holds this text.
inline constexpr char kRecordHeader[] = "Vornale 5";

// True when the first line of `start` holds the header as the reader sees it (a CR is dropped,
// Ctrl+Z ends the line's text). `start` is the beginning of a file; unless `wholeFile`, a first
// line without its line end ran past it and is not a record's.
bool FirstLineHoldsRecordHeader(QByteArrayView start, bool wholeFile);

// Writes the nine lines (Windows-1251, CR LF) into a new file beside `path` and moves it into
// place only when all of it is on disk, so a failed save leaves the old file as it was.
// `allLinesWritten` runs once the new file is in place. A line break in a text is written as one
// space; a character the file cannot hold makes the save fail before anything is touched, and
// so does a target that exists but is not a regular file (a FIFO, a device). Throws EInOutError.
void WriteRecordFile(const QString& path, const SubjectTexts& texts, const std::function<void()>& allLinesWritten);

// The characters of `text` that WriteRecordFile would refuse, each once, in order of appearance.
QList<char32_t> CharactersRecordFilesCannotHold(const QString& text);

enum class ReadOutcome { Loaded, FormatError };

// Reads a record file slot by slot. After Loaded the file stays open until close() or destruction.
// Anything but a regular file is refused at once with "File access denied".
class RecordFileReader
{
public:
    explicit RecordFileReader(const QString& path);
    ~RecordFileReader();
    RecordFileReader(const RecordFileReader&) = delete;
    RecordFileReader& operator=(const RecordFileReader&) = delete;

    // Hands each slot (1..8, in order) to `receiver` as soon as it is read. Throws EInOutError;
    // the slots handed over before a failure stay handed over, and the file is closed.
    ReadOutcome read(const std::function<void(int slot, const QString& text)>& receiver);
    void close();
    bool isOpen() const { return m_input.has_value(); }

private:
    QString m_path;
    std::optional<BufferedFileInput> m_input;
};

// The sex slot's text: exactly "0" is Male, every other text Female.
Sex SexFromSlotText(const QString& text);

// True when `path` names an existing file (not a folder).
bool RecordFileExists(const QString& path);
