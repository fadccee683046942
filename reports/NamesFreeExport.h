#pragma once

#include <QDateTime>
#include <QString>

#include <functional>

class QIODevice;
#include <vector>

// A hand-over without names: each person is known by a code ("Л0001"), the codes are dealt in a
// new random order for every export, the key (code to name) goes only to a file of its own when
// asked for, and every export, named or coded, is recorded in the user's export log.

// The codes of one export: persons 0..count-1 get "Л0001"… in a random order of their own, so
// neither the names' order nor the order rows are printed in tells a code.
class PersonCodes
{
public:
    PersonCodes() = default;
    // Draws a fresh order from the system's random source.
    explicit PersonCodes(std::size_t count);

    std::size_t size() const { return m_numbers.size(); }
    // The code of person `person`; its number (from 0) orders the coded rows.
    QString code(std::size_t person) const;
    std::size_t number(std::size_t person) const { return m_numbers[person]; }

private:
    std::vector<std::size_t> m_numbers; // person -> number, a permutation
};

// "Л0001": the code numbered `number` (from 0) of `count`; at least four digits.
QString PersonCodeText(std::size_t number, std::size_t count);

// The label of a stage the user did not label, by its place (from 1) in the comparison.
QString NamesFreeStageLabel(std::size_t place);

// The key, code and name a line in the codes' order, written into `out`.
QString WriteCodeKey(QIODevice& out, const PersonCodes& codes, const std::function<QString(std::size_t person)>& nameOf);
// A key placed among other outputs of one run: a regular file is narrowed to its owner once it is in place.
void KeepPrivate(const QString& path);

// Writes the key, code and name a line in the codes' order, to a file of its own readable by its
// owner only (0600), replacing `path` only once complete. Empty text on success, else the reason.
QString WriteCodeKey(const QString& path, const PersonCodes& codes,
                     const std::function<QString(std::size_t person)>& nameOf);

// One line of the export log: when, what was written, with names or codes, for how many persons.
// Never a name or a path.
struct ExportRecord
{
    QString what; // "сравнение, CSV"
    bool coded = false;
    qsizetype persons = 0;
    QDateTime when = QDateTime::currentDateTime();
};

// The log's folder in the user's data folder.
QString ExportLogFolder();
// Appends `record` to the log in `folder` (made 0700; the log 0600). Empty text on success.
QString RecordExport(const ExportRecord& record, const QString& folder = ExportLogFolder());
// The log's file in `folder`.
QString ExportLogPath(const QString& folder = ExportLogFolder());
