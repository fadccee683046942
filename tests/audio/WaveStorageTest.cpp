#include "audio/WaveStorage.h"
#include "tests/audio/AudioTestSupport.h"

#include <gtest/gtest.h>

#include <cstring>

using namespace audiotest;

namespace {

// Counts the clip's notifications.
struct ChangeCounter {
    int changes = 0;
    int beforeChanges = 0;

    void attach(TWave& wave)
    {
        wave.setOnChange([this, &wave](TWave* sender) {
            EXPECT_EQ(sender, &wave);
            ++changes;
        });
        wave.setOnBeforeChange([this](TWave*) { ++beforeChanges; });
    }
};

void loadBytes(TMemoryStream& stream, const QByteArray& bytes)
{
    TMemoryStream source;
    source.write(bytes.constData(), bytes.size());
    stream.loadFromStream(source);
}

TEST(TMemoryStream, ReadsWritesSeeksAndResizes)
{
    TMemoryStream stream;
    EXPECT_EQ(stream.write("abcdef", 6), 6);
    EXPECT_EQ(stream.size(), 6);
    EXPECT_EQ(stream.position(), 6);
    EXPECT_EQ(stream.seek(-2, TStream::Origin::End), 4);
    char buffer[8] = {};
    EXPECT_EQ(stream.read(buffer, 8), 2);
    EXPECT_STREQ(buffer, "ef");
    EXPECT_EQ(stream.read(buffer, 8), 0);

    stream.setPosition(10); // past the end: a write fills the gap
    stream.write("z", 1);
    EXPECT_EQ(stream.size(), 11);

    stream.setSize(3);
    EXPECT_EQ(stream.position(), 3);
    EXPECT_EQ(QByteArray(stream.memory(), 3), "abc");

    TMemoryStream copy;
    stream.saveToStream(copy);
    EXPECT_EQ(QByteArray(copy.memory(), static_cast<int>(copy.size())), "abc");

    stream.clear();
    EXPECT_EQ(stream.size(), 0);
    EXPECT_EQ(stream.memory(), nullptr);
}

TEST(TWave, StartsCleanInvalidAndEmpty)
{
    TWave wave;
    EXPECT_FALSE(wave.Dirty());
    EXPECT_FALSE(wave.Valid());
    EXPECT_FALSE(wave.Validate());
    EXPECT_EQ(wave.DataSize(), 0u);
    EXPECT_EQ(wave.DataOffset(), 0);
    EXPECT_EQ(wave.WaveFormat(), nullptr);
    EXPECT_EQ(wave.Data(), nullptr);
    EXPECT_EQ(wave.memory(), nullptr);
}

// Each row: an operation on a clean clip (just validated), and whether it is a change.
struct OperationRow {
    const char* name;
    std::function<void(TWave&)> operation;
    bool isChange;
};

TEST(TWave, FiresOnChangeOnceForTheFirstChangeOnly)
{
    const OperationRow rows[] = {
        {"Read", [](TWave& w) { char b[4]; w.read(b, 4); }, false},
        {"Seek", [](TWave& w) { w.seek(3, TStream::Origin::Beginning); }, false},
        {"Save", [](TWave& w) { TMemoryStream out; w.saveToStream(out); }, false},
        {"Overwrite", [](TWave& w) { w.setPosition(50); w.write("\1\2", 2); }, true},
        {"Append", [](TWave& w) { w.seek(0, TStream::Origin::End); w.write("\1\2", 2); }, true},
        {"SetSizeSame", [](TWave& w) { w.setSize(w.size()); }, true},
        {"SetSizeSmaller", [](TWave& w) { w.setSize(10); }, true},
        {"Clear", [](TWave& w) { w.clear(); }, true},
        {"Load", [](TWave& w) { loadBytes(w, pcmClip(8)); }, true},
    };
    for (const auto& row : rows) {
        SCOPED_TRACE(row.name);
        TWave wave;
        loadBytes(wave, pcmClip(100));
        ASSERT_TRUE(wave.Validate());
        ChangeCounter counter;
        counter.attach(wave);

        row.operation(wave);
        EXPECT_EQ(counter.changes, row.isChange ? 1 : 0);
        EXPECT_EQ(wave.Dirty(), row.isChange);
        EXPECT_EQ(counter.beforeChanges > 0, row.isChange);

        row.operation(wave); // again, while dirty: no further OnChange
        EXPECT_EQ(counter.changes, row.isChange ? 1 : 0);
    }
}

TEST(TWave, LoadingFromAnotherStreamFiresOnceAndValidateParsesOnce)
{
    TWave wave;
    ChangeCounter counter;
    counter.attach(wave);
    loadBytes(wave, pcmClip(100));
    EXPECT_EQ(counter.changes, 1);
    wave.write("x", 1);
    EXPECT_EQ(counter.changes, 1);

    loadBytes(wave, pcmClip(100));
    ASSERT_TRUE(wave.Validate());
    EXPECT_FALSE(wave.Dirty());
    // Breaking the bytes behind the clip's back shows the answer is cached, not re-parsed.
    std::memcpy(wave.memory(), "JUNK", 4);
    EXPECT_TRUE(wave.Validate());
    EXPECT_EQ(wave.DataOffset(), 44);
    EXPECT_EQ(wave.DataSize(), 100u);
    EXPECT_EQ(wave.Data(), wave.memory() + 44);
    EXPECT_EQ(wave.position(), 0);
}

TEST(TWave, FailedParseIsNotRepeatedUntilTheNextChange)
{
    TWave wave;
    QByteArray broken = pcmClip(20);
    broken[0] = 'X';
    loadBytes(wave, broken);
    EXPECT_FALSE(wave.Validate());
    EXPECT_FALSE(wave.Dirty());
    std::memcpy(wave.memory(), "RIFF", 4); // repaired behind its back: still the cached answer
    EXPECT_FALSE(wave.Validate());
    wave.setPosition(0);
    wave.write("RIFF", 4); // a real change parses again
    EXPECT_TRUE(wave.Validate());
}

TEST(TWave, BeforeChangeSeesTheMemoryStillInPlace)
{
    TWave wave;
    loadBytes(wave, pcmClip(100));
    ASSERT_TRUE(wave.Validate());
    const char* before = wave.memory();
    const qint64 sizeBefore = wave.size();
    QByteArray seen;
    wave.setOnBeforeChange([&](TWave* sender) {
        if (seen.isEmpty())
            seen = QByteArray(sender->memory(), static_cast<int>(sender->size()));
        EXPECT_EQ(sender->memory(), before);
    });
    wave.clear();
    EXPECT_EQ(seen.size(), sizeBefore);
    EXPECT_EQ(seen.left(4), "RIFF");
}

TEST(TWave, OversizedDataChunkIsClippedToTheBytesPresent)
{
    TWave wave;
    loadBytes(wave, riff("WAVE", chunk("fmt ", pcmFormatBody()) + chunk("data", sampleBytes(30), 1'000'000)));
    ASSERT_TRUE(wave.Validate());
    EXPECT_EQ(wave.DataSize(), 30u);
    EXPECT_EQ(wave.DataOffset() + wave.DataSize(), wave.size());
}

} // namespace
