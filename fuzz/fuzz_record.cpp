// Arbitrary bytes as a record file: the reader's line rules, then a save of what was read and a
// second read, which must hand back the same texts.
#include "fuzz/FuzzInput.h"
#include "records/RecordFile.h"

#include <QFile>
#include <QString>
#include <QTemporaryDir>
#include <array>
#include <cstdio>
#include <cstdlib>

namespace {

struct ReadResult
{
    ReadOutcome outcome = ReadOutcome::FormatError;
    std::array<std::optional<QString>, 9> texts; // index = slot number
};

ReadResult readBack(const QString& path)
{
    ReadResult result;
    RecordFileReader reader(path);
    int last = 0;
    result.outcome = reader.read([&](int slot, const QString& text) {
        FUZZ_CHECK(slot == last + 1 && slot <= 8); // in order, none skipped before the end
        FUZZ_CHECK(!text.contains(u'\n') && !text.contains(u'\r'));
        last = slot;
        result.texts[std::size_t(slot)] = text;
    });
    FUZZ_CHECK(result.outcome == ReadOutcome::Loaded || last == 0);
    reader.close();
    return result;
}

const QTemporaryDir& folder()
{
    static const QTemporaryDir dir;
    return dir;
}

} // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size)
{
    const QString original = folder().filePath(QStringLiteral("input.vnl"));
    {
        QFile file(original);
        FUZZ_CHECK(file.open(QIODevice::WriteOnly | QIODevice::Truncate));
        file.write(reinterpret_cast<const char*>(data), qint64(size));
    }
    const ReadResult first = readBack(original);
    if (first.outcome != ReadOutcome::Loaded)
        return 0;

    SubjectTexts texts;
    QString* fields[] = {nullptr, &texts.FullName, &texts.Systolic, &texts.Diastolic, &texts.Pulse,
                         nullptr, &texts.Weight, &texts.Height, &texts.Age};
    for (std::size_t slot = 1; slot <= 8; ++slot) {
        if (!first.texts[slot])
            continue;
        if (slot == 5)
            texts.Sex = SexFromSlotText(*first.texts[slot]);
        else
            *fields[slot] = *first.texts[slot];
    }

    const QString copy = folder().filePath(QStringLiteral("copy.vnl"));
    bool signalled = false;
    try {
        WriteRecordFile(copy, texts, [&signalled] { signalled = true; });
    } catch (const EInOutError&) {
        // A text the file cannot hold is refused; nothing may have been signalled.
        FUZZ_CHECK(!signalled);
        return 0;
    }
    FUZZ_CHECK(signalled);

    const ReadResult second = readBack(copy);
    FUZZ_CHECK(second.outcome == ReadOutcome::Loaded);
    for (std::size_t slot = 1; slot <= 8; ++slot) {
        FUZZ_CHECK(second.texts[slot].has_value()); // a written file always has nine lines
        if (slot == 5)
            FUZZ_CHECK(SexFromSlotText(*second.texts[slot]) == texts.Sex);
        else
            FUZZ_CHECK(*second.texts[slot] == *fields[slot]);
    }
    return 0;
}
