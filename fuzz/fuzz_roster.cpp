// Arbitrary bytes as a roster CSV: every line is taken once or reported, never both, never lost.
#include "core/PersonIdentity.h"
#include "entry/Roster.h"
#include "fuzz/FuzzInput.h"

#include <QRegularExpression>
#include <QSet>

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size)
{
    const QByteArray bytes(reinterpret_cast<const char*>(data), qsizetype(size));
    const Roster roster = ParseRosterCsv(bytes);
    // Every taken row is a named person with a sex, once, and nothing typed yet.
    QSet<PersonIdentity> persons;
    for (const EntryRow& row : roster.rows) {
        FUZZ_CHECK(row.sex.has_value() && !row.dirty && row.filePath.isEmpty());
        const PersonIdentity person = IdentityOf(row.text(EntryField::FullName), *row.sex);
        FUZZ_CHECK(person.isNamed());
        FUZZ_CHECK(!persons.contains(person));
        persons.insert(person);
        for (const EntryFieldDefinition& definition : EntryFieldDefinitions())
            FUZZ_CHECK(definition.field == EntryField::FullName || row.text(definition.field).isEmpty());
    }
    // Each line gives at most one row or one problem, and a problem names a line that is there.
    const qsizetype lines = bytes.count('\n') + 1;
    FUZZ_CHECK(roster.rows.size() + roster.problems.size() <= lines + 1);
    FUZZ_CHECK(!roster.rows.isEmpty() || !roster.problems.isEmpty());
    static const QRegularExpression lineNumber(QStringLiteral("^строка (\\d+): "));
    for (const QString& problem : roster.problems) {
        const QRegularExpressionMatch match = lineNumber.match(problem);
        FUZZ_CHECK(!match.hasMatch() || (match.captured(1).toLongLong() >= 1 && match.captured(1).toLongLong() <= lines));
    }
    FUZZ_CHECK(size <= std::size_t(kLargestRosterFile) || roster.rows.isEmpty());
    return 0;
}
