#include "audio/WavePlayers.h"
#include "core/ApplicationErrors.h"
#include "tests/audio/AudioTestSupport.h"

#include <gtest/gtest.h>

#include <QElapsedTimer>

using namespace audiotest;
using Call = SimulatedWaveOutDevice::Call;

namespace {

// What a device saw of the clip at the moment it was destroyed.
struct DeviceAutopsy {
    bool destroyed = false;
    bool openAtDestruction = false;
    qsizetype queuedAtDestruction = 0;
};

// A simulated device that reads every queued buffer whenever it is reset or destroyed, so that
// the sanitizer catches a buffer pointing into memory that has moved or gone.
class ReadingDevice : public SimulatedWaveOutDevice {
public:
    explicit ReadingDevice(DeviceAutopsy* autopsy) : m_autopsy(autopsy) {}
    ~ReadingDevice() override
    {
        touchQueued();
        m_autopsy->destroyed = true;
        m_autopsy->openAtDestruction = isOpen();
        m_autopsy->queuedAtDestruction = queuedCount();
    }
    WaveResult write(WaveHeader& header) override
    {
        const WaveResult result = SimulatedWaveOutDevice::write(header);
        if (result == wrNoError)
            m_queued.push_back(&header);
        return result;
    }
    WaveResult reset() override
    {
        touchQueued();
        m_queued.clear();
        return SimulatedWaveOutDevice::reset();
    }
private:
    void touchQueued()
    {
        if (queuedCount() == 0)
            return;
        for (WaveHeader* header : m_queued)
            m_checksum += QByteArray(header->data, static_cast<int>(header->bufferLength)).count('\0');
    }

    DeviceAutopsy* m_autopsy;
    std::vector<WaveHeader*> m_queued;
    qsizetype m_checksum = 0;
};

class WavePlayersTest : public SimulatedDeviceTest {
protected:
    std::unique_ptr<TAudioPlayer> playerWithClip(const QByteArray& clip = warningClip())
    {
        auto player = std::make_unique<TAudioPlayer>();
        player->readData(clip);
        return player;
    }
};

// The player's life cycle with a device that reports its close from inside close() and with one
// that reports it later from its own thread.
class WavePlayersLifeCycleTest : public WavePlayersTest, public ::testing::WithParamInterface<CloseReportRow> {
protected:
    void SetUp() override
    {
        WavePlayersTest::SetUp();
        devices.setCloseReport(GetParam().mode);
    }

    std::unique_ptr<WaveOutDevice> readingDevice(DeviceAutopsy* autopsy)
    {
        auto device = std::make_unique<ReadingDevice>(autopsy);
        device->setCloseReport(GetParam().mode);
        return device;
    }
};

INSTANTIATE_TEST_SUITE_P(Rows, WavePlayersLifeCycleTest, ::testing::ValuesIn(CloseReportRows), closeReportRowName);

TEST_F(WavePlayersTest, TheStoredClipIsValidAfterReadingTheLayout)
{
    auto player = playerWithClip();
    TWave& wave = *player->wave();
    ASSERT_TRUE(wave.Validate());
    EXPECT_EQ(wave.DataOffset(), 44);
    EXPECT_EQ(wave.DataSize(), 13150u);
    WaveFormatEx expected;
    MakePcmFormat(expected, ppMono16Bit44100Hz);
    EXPECT_EQ(wave.WaveFormat()->format(), expected);
    EXPECT_FALSE(player->allocatesBuffers());
}

TEST_P(WavePlayersLifeCycleTest, PlaysTheWholeClipAsOneBufferStraightFromItsMemory)
{
    auto player = playerWithClip();
    int deactivations = 0;
    player->setOnDeactivate([&](TWaveAudioIO*) { ++deactivations; });
    player->setActive(true);
    EXPECT_EQ(player->playPosition(), 44u);
    EXPECT_EQ(player->playEnd(), 13194u);
    settle(device());

    ASSERT_EQ(device().written().size(), 1u);
    const auto& buffer = device().written()[0];
    EXPECT_EQ(buffer.length, 13150u);
    // No copy: the device reads the clip's own memory.
    EXPECT_EQ(buffer.data, player->wave()->memory() + 44);
    EXPECT_EQ(player->ActiveBufferCount(), 1); // the second fill request found no data: draining
    EXPECT_TRUE(player->active());

    device().completeBuffers();
    settle(device());
    EXPECT_FALSE(player->active());
    EXPECT_FALSE(device().isOpen());
    EXPECT_EQ(deactivations, 1);
    EXPECT_EQ(device().playedBytes(), warningClip().mid(44));
    EXPECT_EQ(device().callCount(Call::Reset), 0);

    player->setActive(true); // again from the beginning
    settle(device());
    device().completeBuffers();
    settle(device());
    EXPECT_EQ(device().playedBytes(), warningClip().mid(44).repeated(2));
}

TEST_P(WavePlayersLifeCycleTest, ActiveTwiceInQuickSuccessionPlaysOnce)
{
    auto player = playerWithClip();
    player->setActive(true);
    player->setActive(true);
    settle(device());
    player->setActive(true); // while draining
    device().completeBuffers();
    settle(device());
    EXPECT_EQ(device().callCount(Call::Open), 1);
    EXPECT_EQ(device().playedBytes().size(), 13150);
}

TEST_P(WavePlayersLifeCycleTest, ShortBuffersCoverTheClipInOrder)
{
    auto player = playerWithClip();
    player->setBufferLength(100);
    device().setAutoComplete(true);
    player->setActive(true);
    settle(device());
    std::vector<quint32> lengths;
    const char* expectedAddress = player->wave()->memory() + 44;
    for (const auto& buffer : device().written()) {
        lengths.push_back(buffer.length);
        EXPECT_EQ(buffer.data, expectedAddress);
        expectedAddress += buffer.length;
    }
    EXPECT_EQ(lengths, (std::vector<quint32>{8820, 4330}));
    EXPECT_FALSE(player->active());
    EXPECT_EQ(device().playedBytes(), warningClip().mid(44));
}

TEST_P(WavePlayersLifeCycleTest, GetDataOnAnExhaustedClipReturnsNothing)
{
    // A clip with a data chunk of 0 bytes: the first fill request drains at once.
    auto player = playerWithClip(pcmClip(0));
    player->setActive(true);
    settle(device());
    EXPECT_TRUE(device().written().empty());
    EXPECT_FALSE(player->active());
}

TEST_F(WavePlayersTest, WaveSetterRules)
{
    auto player = playerWithClip();
    TWave* own = player->wave();
    player->setWave(own);
    EXPECT_EQ(player->wave()->size(), 13194);

    TMemoryStream other;
    const QByteArray small = pcmClip(10);
    other.write(small.constData(), small.size()); // left at its end: read from the start anyway
    player->setWave(&other);
    EXPECT_EQ(player->wave(), own);
    EXPECT_EQ(player->writeData(), small);

    player->setWave(nullptr);
    EXPECT_EQ(player->wave()->size(), 0);
    EXPECT_THROW(player->setActive(true), EWaveAudioSysError);
    EXPECT_FALSE(player->active());
}

TEST_P(WavePlayersLifeCycleTest, ChangingTheClipWhilePlayingStopsTheDeviceBeforeTheMemoryMoves)
{
    DeviceAutopsy autopsy;
    ScopedWaveOutDeviceFactory reading([&] { return readingDevice(&autopsy); });
    auto player = playerWithClip();
    int deactivations = 0;
    player->setOnDeactivate([&](TWaveAudioIO*) { ++deactivations; });
    player->setActive(true);
    drainEvents(); // draining: the one buffer points into the clip
    ASSERT_EQ(player->ActiveBufferCount(), 1);

    player->readData(pcmClip(100'000)); // grows: the memory moves
    EXPECT_FALSE(player->active());
    EXPECT_EQ(player->ActiveBufferCount(), 0);
    EXPECT_EQ(deactivations, 1);

    player->setActive(true); // the new clip plays
    drainEvents();
    player->setActive(false);
    player.reset();
    EXPECT_TRUE(autopsy.destroyed);
    EXPECT_FALSE(autopsy.openAtDestruction);
}

struct DestructionRow {
    const char* name;
    int drainEventsFirst; // 0: before the open report; 1: streaming or draining
    quint16 bufferLength;
};

TEST_P(WavePlayersLifeCycleTest, DestroyingWhileSoundingLeavesNothingQueuedAndTheDeviceClosed)
{
    const DestructionRow rows[] = {
        {"BeforeTheOpenReport", 0, 1000},
        {"Draining", 1, 1000},
        {"Streaming", 1, 10},
    };
    for (const auto& row : rows) {
        SCOPED_TRACE(row.name);
        DeviceAutopsy autopsy;
        ScopedWaveOutDeviceFactory reading([&] { return readingDevice(&autopsy); });
        auto player = playerWithClip();
        player->setBufferLength(row.bufferLength);
        int deactivations = 0;
        player->setOnDeactivate([&](TWaveAudioIO*) { ++deactivations; });
        player->setActive(true);
        if (row.drainEventsFirst)
            drainEvents();
        player.reset();
        EXPECT_TRUE(autopsy.destroyed);
        EXPECT_FALSE(autopsy.openAtDestruction);
        EXPECT_EQ(autopsy.queuedAtDestruction, 0);
        EXPECT_EQ(deactivations, 0); // OnDeactivate does not fire during destruction
        drainEvents(); // nothing left behind for the event loop
    }
    EXPECT_TRUE(reported.empty());
}

enum class Ending { Deactivate, ChangeClip, Destroy };

struct StopRow {
    const char* name;
    Ending ending;
    bool everyBufferBack; // false: right after the open, before its report was handled
    std::vector<std::string> events; // OnDeactivate does not fire while the player is being destroyed
};

TEST_P(WavePlayersLifeCycleTest, StoppingRightAfterTheOpenOrWithEveryBufferBackReportsNothing)
{
    const StopRow rows[] = {
        {"DeactivateRightAfterTheOpen", Ending::Deactivate, false, {"activate", "deactivate"}},
        {"ChangeClipRightAfterTheOpen", Ending::ChangeClip, false, {"activate", "deactivate"}},
        {"DestroyRightAfterTheOpen", Ending::Destroy, false, {"activate"}},
        {"DeactivateWithEveryBufferBack", Ending::Deactivate, true, {"activate", "deactivate"}},
        {"ChangeClipWithEveryBufferBack", Ending::ChangeClip, true, {"activate", "deactivate"}},
        {"DestroyWithEveryBufferBack", Ending::Destroy, true, {"activate"}},
    };
    for (const auto& row : rows) {
        SCOPED_TRACE(row.name);
        reported.clear();
        std::vector<std::string> events;
        auto player = playerWithClip();
        player->setBufferLength(10);
        player->setOnActivate([&](TWaveAudioIO*) { events.push_back("activate"); });
        player->setOnDeactivate([&](TWaveAudioIO*) { events.push_back("deactivate"); });
        player->setActive(true);
        if (row.everyBufferBack) {
            settle(device());
            ASSERT_EQ(player->ActiveBufferCount(), 2);
            device().completeBuffers(); // their reports wait unhandled
        }
        QElapsedTimer timer;
        timer.start();
        switch (row.ending) {
        case Ending::Deactivate: player->setActive(false); break;
        case Ending::ChangeClip: player->readData(pcmClip(1000)); break;
        case Ending::Destroy: player.reset(); break;
        }
        EXPECT_LT(timer.elapsed(), 100);
        if (player) {
            EXPECT_FALSE(player->active());
            EXPECT_EQ(player->ActiveBufferCount(), 0);
            settle(device());
        }
        drainEvents();
        const DeviceSummary seen = player ? summarise(device()) : devices.lastDestroyed();
        EXPECT_TRUE(reported.empty()) << (reported.empty() ? "" : reported.front());
        EXPECT_FALSE(seen.open);
        EXPECT_EQ(seen.written, row.everyBufferBack ? 2u : 0u); // nothing queued after the stop began
        EXPECT_EQ(events, row.events);
    }
}

TEST_F(WavePlayersTest, StoredLayoutWritesOnlyWhatDiffersFromTheDefaults)
{
    TAudioPlayer empty;
    EXPECT_TRUE(empty.storedProperties().isEmpty());

    auto player = playerWithClip();
    EXPECT_EQ(player->storedProperties(), (StoredProperties{{"Data", warningClip()}}));

    player->setOptions(TWaveAudioOut::woSetVolume);
    player->setVolume(40);
    player->setPitch(1.25);
    player->setPlaybackRate(0.5);
    player->setBufferLength(200);
    player->setBufferCount(3);
    const StoredProperties stored = player->storedProperties();
    const QStringList names = [&] {
        QStringList list;
        for (const auto& property : stored)
            list << property.name;
        return list;
    }();
    EXPECT_EQ(names, (QStringList{"Options", "Volume", "Pitch", "PlaybackRate", "BufferLength", "BufferCount", "Data"}));

    TAudioPlayer copy;
    copy.loadStoredProperties(stored);
    EXPECT_EQ(copy.storedProperties(), stored);
    EXPECT_EQ(copy.volume(), 40);
    EXPECT_EQ(copy.bufferCount(), 3);
}

TEST_F(WavePlayersTest, BadStoredLayoutIsRefusedWithoutApplyingAnything)
{
    TAudioPlayer player;
    const StoredProperties rows[] = {
        {{"BufferCount", 5}, {"Colour", 1}},
        {{"BufferCount", 5}, {"Volume", QVariant()}},
        {{"BufferCount", 5}, {"Pitch", QStringLiteral("fast")}},
    };
    for (const auto& layout : rows) {
        EXPECT_THROW(player.loadStoredProperties(layout), std::invalid_argument);
        EXPECT_EQ(player.bufferCount(), 2);
    }
}

TEST_P(WavePlayersLifeCycleTest, ReadingDataReplacesTheClipAndStopsPlayback)
{
    auto player = playerWithClip();
    player->setBufferLength(10);
    player->setActive(true);
    settle(device());
    ASSERT_TRUE(player->active());
    player->loadStoredProperties({{"Data", pcmClip(20)}});
    EXPECT_FALSE(player->active());
    EXPECT_EQ(player->wave()->DataSize(), 20u);
}

} // namespace
