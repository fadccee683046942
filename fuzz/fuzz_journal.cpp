// Arbitrary bytes as the journal of unsaved rows: the reader takes a whole journal or nothing,
// never sends a row into a save's leftover, and what it takes is written and read back the same.
#include "entry/EntryJournal.h"
#include "fuzz/FuzzInput.h"
#include "records/ReplacingFile.h"

#include <QFileInfo>
#include <QTemporaryDir>

namespace {

// The key of "/stage" while no such folder exists, which the corpus journals name.
const QString kStage = QStringLiteral("/stage");

const QTemporaryDir& folder()
{
    static const QTemporaryDir dir;
    return dir;
}

} // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size)
{
    bool readable = false;
    const EntryRows rows = ParseEntryJournal(QByteArray(reinterpret_cast<const char*>(data), qsizetype(size)), kStage, readable);
    FUZZ_CHECK(readable || rows.isEmpty());
    for (const EntryRow& row : rows) {
        FUZZ_CHECK(row.dirty);
        FUZZ_CHECK(!IsReplacementTemporaryName(QFileInfo(row.filePath).fileName()));
    }
    if (!readable)
        return 0;

    const EntryJournal journal(kStage, folder().path());
    FUZZ_CHECK(journal.write(rows).isEmpty());
    const EntryJournal::Contents back = journal.read();
    FUZZ_CHECK(back.problem.isEmpty());
    qsizetype at = 0;
    for (const EntryRow& row : rows) {
        if (!IsUnsaved(row))
            continue; // a new row typed into and cleared again is not kept
        FUZZ_CHECK(at < back.rows.size());
        const EntryRow& again = back.rows[at++];
        FUZZ_CHECK(again.texts == row.texts && again.sex == row.sex && again.filePath == row.filePath);
    }
    FUZZ_CHECK(at == back.rows.size());
    journal.clear();
    return 0;
}
