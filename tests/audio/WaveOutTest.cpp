// The life cycle of the wave-out component (TWaveAudioIO and TWaveAudioOut) on the simulated
// device.
#include "audio/WaveOut.h"
#include "core/ApplicationErrors.h"
#include "tests/audio/AudioTestSupport.h"

#include <gtest/gtest.h>

#include <QElapsedTimer>

#include <algorithm>
#include <cstdlib>
#include <cstring>
#include <memory>

using namespace audiotest;
using Call = SimulatedWaveOutDevice::Call;

namespace {

WaveFormatEx cdMono16()
{
    WaveFormatEx format;
    MakePcmFormat(format, ppMono16Bit44100Hz);
    return format;
}

// Streams `total` bytes of a counting pattern through buffers that the component allocates.
// The format block is handed over for the component to delete.
class PatternSource : public TWaveAudioOut {
public:
    explicit PatternSource(quint32 total, std::optional<WaveFormatEx> format = cdMono16())
        : m_format(format), m_total(total)
    {
    }

    QByteArray expected() const
    {
        QByteArray bytes(static_cast<int>(m_total), '\0');
        for (quint32 i = 0; i < m_total; ++i)
            bytes[static_cast<int>(i)] = static_cast<char>(i * 13);
        return bytes;
    }
    using TWaveAudioIO::CalcBufferSize;

protected:
    const WaveFormatBlock* GetWaveFormat(bool& freeIt) override
    {
        m_next = 0;
        freeIt = true;
        return m_format ? new WaveFormatBlock(*m_format) : nullptr;
    }

    quint32 FillBuffer(char* buffer, quint32 size, quint32&) override
    {
        const quint32 count = std::min(size, m_total - m_next);
        for (quint32 i = 0; i < count; ++i)
            buffer[i] = static_cast<char>((m_next + i) * 13);
        m_next += count;
        return count;
    }

private:
    std::optional<WaveFormatEx> m_format;
    quint32 m_total;
    quint32 m_next = 0;
};

// Activates `source`, whose open must fail with `code`: with OnError assigned the failure goes
// there once (`errors` counts its calls), without it the text for `code` is raised. The caller
// says which it assigned, so that an OnError the component lost is not taken for none.
void expectFailedActivation(TWaveAudioOut& source, bool onErrorAssigned, const int& errors, WaveResult code)
{
    if (onErrorAssigned) {
        EXPECT_NO_THROW(source.setActive(true));
        EXPECT_EQ(errors, 1);
    } else {
        try {
            source.setActive(true);
            ADD_FAILURE() << "no exception";
        } catch (const EWaveAudioSysError& failure) {
            EXPECT_EQ(failure.message(), StandardWaveErrorText(code));
        }
    }
}

// How a test ends a component's playback: by request or by destroying it.
enum class Ending { Deactivate, Destroy };

class WaveOutTest : public SimulatedDeviceTest {
protected:
    // Records the events of `component` as they fire.
    void watch(TWaveAudioIO& component)
    {
        component.setOnActivate([this](TWaveAudioIO*) { events.push_back("activate"); });
        component.setOnDeactivate([this](TWaveAudioIO*) { events.push_back("deactivate"); });
        component.setOnPause([this](TWaveAudioIO*) { events.push_back("pause"); });
        component.setOnResume([this](TWaveAudioIO*) { events.push_back("resume"); });
    }

    // A source for the next row of a table, watched, with the events and reports of the rows
    // before it forgotten.
    std::unique_ptr<PatternSource> freshWatchedSource()
    {
        events.clear();
        reported.clear();
        auto source = std::make_unique<PatternSource>(1'000'000);
        watch(*source);
        return source;
    }

    // Ends the playback of `source` the way `ending` says, which must not wait for the device, and
    // returns what the device had seen once everything settled. A destroyed source is left null.
    DeviceSummary endWithoutWaiting(std::unique_ptr<PatternSource>& source, Ending ending)
    {
        QElapsedTimer timer;
        timer.start();
        if (ending == Ending::Deactivate) {
            source->setActive(false);
            EXPECT_FALSE(source->active());
            EXPECT_EQ(source->ActiveBufferCount(), 0);
        } else {
            source.reset();
        }
        EXPECT_LT(timer.elapsed(), 100);
        if (source)
            settle(device());
        drainEvents();
        return source ? summarise(device()) : devices.lastDestroyed();
    }

    std::vector<quint32> writtenLengths()
    {
        std::vector<quint32> lengths;
        for (const auto& buffer : device().written())
            lengths.push_back(buffer.length);
        return lengths;
    }

    std::vector<std::string> events;
};

using Events = std::vector<std::string>;

// The tests of the open-stream-close life cycle, run with a device that reports its close from
// inside close() and with one that reports it later from its own thread.
class WaveOutLifeCycleTest : public WaveOutTest, public ::testing::WithParamInterface<CloseReportRow> {
protected:
    void SetUp() override
    {
        WaveOutTest::SetUp();
        devices.setCloseReport(GetParam().mode);
    }
};

INSTANTIATE_TEST_SUITE_P(Rows, WaveOutLifeCycleTest, ::testing::ValuesIn(CloseReportRows), closeReportRowName);

TEST_F(WaveOutTest, ConstructionDefaults)
{
    PatternSource source(0);
    EXPECT_EQ(source.deviceID(), WaveMapper);
    EXPECT_EQ(source.bufferLength(), 1000);
    EXPECT_EQ(source.bufferCount(), 2);
    EXPECT_EQ(source.volume(), 75);
    EXPECT_EQ(source.pitch(), 1.0);
    EXPECT_EQ(source.playbackRate(), 1.0);
    EXPECT_EQ(source.options(), TWaveAudioOut::TWaveOutOptions());
    EXPECT_TRUE(source.allocatesBuffers());
    EXPECT_FALSE(source.active());
    EXPECT_FALSE(source.paused());
    EXPECT_EQ(source.LastError(), 0u);
    EXPECT_FALSE(source.onError());
}

TEST_F(WaveOutTest, BufferLengthBelowTenReadsTen)
{
    PatternSource source(0);
    for (quint16 value : {quint16(5), quint16(0), quint16(10)}) {
        source.setBufferLength(value);
        EXPECT_EQ(source.bufferLength(), 10) << value;
    }
    source.setBufferLength(11);
    EXPECT_EQ(source.bufferLength(), 11);
}

TEST_P(WaveOutLifeCycleTest, StreamsRefillsDrainsAndCloses)
{
    PatternSource source(200'000);
    watch(source);
    source.setActive(true);
    EXPECT_TRUE(source.active());
    EXPECT_TRUE(device().written().empty()); // buffers are queued from the event loop only
    settle(device());
    EXPECT_EQ(source.CalcBufferSize(), 88200u);
    EXPECT_EQ(writtenLengths(), (std::vector<quint32>{88200, 88200}));
    EXPECT_EQ(source.ActiveBufferCount(), 2);

    device().completeBuffers(1);
    settle(device());
    EXPECT_EQ(writtenLengths(), (std::vector<quint32>{88200, 88200, 23600}));
    device().completeBuffers(1);
    settle(device()); // the source is exhausted: the drain starts
    EXPECT_EQ(source.ActiveBufferCount(), 1);
    EXPECT_TRUE(source.active());
    source.setActive(true); // open and draining: nothing happens
    source.setActive(false); // a drain ends by itself
    EXPECT_EQ(device().callCount(Call::Reset), 0);

    device().completeBuffers(1);
    settle(device());
    EXPECT_FALSE(source.active());
    EXPECT_FALSE(device().isOpen());
    EXPECT_EQ(source.ActiveBufferCount(), 0);
    EXPECT_EQ(device().playedBytes(), source.expected());
    EXPECT_EQ(events, (Events{"activate", "deactivate"}));
    EXPECT_EQ(device().callCount(Call::Open), 1);
    EXPECT_EQ(device().callCount(Call::Prepare), 3);
    EXPECT_EQ(device().callCount(Call::Unprepare), 3);
}

TEST_P(WaveOutLifeCycleTest, BufferCountZeroOpensAndQueuesNothing)
{
    PatternSource source(1000);
    source.setBufferCount(0);
    source.setActive(true);
    settle(device());
    EXPECT_TRUE(source.active());
    EXPECT_TRUE(device().written().empty());
    source.setActive(false);
    EXPECT_FALSE(source.active());
    EXPECT_EQ(device().callCount(Call::Close), 1);
}

TEST_P(WaveOutLifeCycleTest, PauseBeforeOpenStartsPausedAndResumes)
{
    PatternSource source(1000);
    watch(source);
    EXPECT_TRUE(source.InternalPause());
    EXPECT_TRUE(source.paused());
    EXPECT_FALSE(source.InternalPause()); // already paused
    EXPECT_EQ(device().callCount(Call::Pause), 0);

    source.setActive(true);
    settle(device());
    EXPECT_TRUE(device().isPaused());
    EXPECT_TRUE(source.paused());
    EXPECT_TRUE(source.InternalResume());
    EXPECT_FALSE(device().isPaused());
    EXPECT_FALSE(source.paused());
    EXPECT_EQ(events, (Events{"pause", "activate", "resume"}));
}

TEST_F(WaveOutTest, FailedPauseAtOpenClearsPaused)
{
    PatternSource source(1000);
    std::vector<quint32> errors;
    source.setOnError([&](TWaveAudioIO* sender) { errors.push_back(static_cast<TWaveAudioOut*>(sender)->LastError()); });
    source.InternalPause();
    devices.last().failCall(Call::Pause, wrNotSupported);
    source.setActive(true);
    drainEvents();
    EXPECT_FALSE(source.paused());
    EXPECT_EQ(errors, (std::vector<quint32>{wrNotSupported}));
}

TEST_P(WaveOutLifeCycleTest, CloseBeforeTheOpenNotificationHandlesBothInsideTheClose)
{
    PatternSource source(1000);
    watch(source);
    source.setActive(true);
    source.setActive(false);
    EXPECT_EQ(events, (Events{"activate", "deactivate"}));
    EXPECT_FALSE(source.active());
    settle(device()); // the fill requests posted meanwhile find the device closed
    EXPECT_TRUE(device().written().empty());
    EXPECT_EQ(device().callCount(Call::Prepare), 0);
    EXPECT_EQ(source.ActiveBufferCount(), 0);
    EXPECT_TRUE(reported.empty());
}

TEST_P(WaveOutLifeCycleTest, CloseWhileStreamingReturnsOnceTheDeviceHasClosed)
{
    PatternSource source(1'000'000);
    watch(source);
    source.setActive(true);
    settle(device());
    ASSERT_EQ(source.ActiveBufferCount(), 2);
    source.setActive(false);
    EXPECT_FALSE(source.active());
    EXPECT_FALSE(device().isOpen());
    EXPECT_EQ(source.ActiveBufferCount(), 0);
    EXPECT_EQ(device().callCount(Call::Reset), 1);
    EXPECT_EQ(events, (Events{"activate", "deactivate"}));
    EXPECT_TRUE(device().playedBytes().isEmpty());

    source.setActive(true); // plays again from the start
    settle(device());
    device().completeBuffers(1);
    EXPECT_EQ(device().playedBytes(), source.expected().left(88200));
}

struct OpenFailureRow {
    const char* name;
    Call failing;
    WaveResult code;
    bool onErrorAssigned;
};

// Names the row in test listings instead of dumping its bytes.
void PrintTo(const OpenFailureRow& row, std::ostream* out)
{
    *out << row.name;
}

class OpenFailureTest : public WaveOutTest, public ::testing::WithParamInterface<OpenFailureRow> {};

TEST_P(OpenFailureTest, GoesToOnErrorOrRaisesTheDeviceText)
{
    const auto& row = GetParam();
    PatternSource source(1000);
    int errors = 0;
    if (row.onErrorAssigned)
        source.setOnError([&](TWaveAudioIO* sender) {
            EXPECT_EQ(sender, &source);
            ++errors;
        });
    device().failCall(row.failing, row.code);

    expectFailedActivation(source, row.onErrorAssigned, errors, row.code);
    EXPECT_FALSE(source.active());
    EXPECT_EQ(source.LastError(), row.code);
    drainEvents();
    EXPECT_TRUE(device().written().empty());
    EXPECT_EQ(device().callCount(Call::Open), row.failing == Call::Query ? 0 : 1);
}

INSTANTIATE_TEST_SUITE_P(Rows, OpenFailureTest,
    ::testing::Values(OpenFailureRow{"QueryRaises", Call::Query, wrBadFormat, false},
                      OpenFailureRow{"QueryToOnError", Call::Query, wrNoDriver, true},
                      OpenFailureRow{"OpenRaises", Call::Open, wrAllocated, false},
                      OpenFailureRow{"OpenToOnError", Call::Open, wrAllocated, true},
                      OpenFailureRow{"UnknownCodeRaisesEmptyText", Call::Query, 999, false}),
    [](const auto& row) { return std::string(row.param.name); });

TEST_F(WaveOutTest, NoFormatFailsAtTheQuery)
{
    PatternSource source(1000, std::nullopt);
    EXPECT_THROW(source.setActive(true), EWaveAudioSysError);
    EXPECT_EQ(source.LastError(), wrInvalidParameter);
    EXPECT_FALSE(source.active());
}

TEST_P(WaveOutLifeCycleTest, FailedWriteEndsPlaybackInsteadOfLeavingABufferNobodyReturns)
{
    PatternSource source(1'000'000);
    watch(source);
    device().failCall(Call::Write, wrError);
    source.setActive(true);
    settle(device());
    // The failure arose inside notification handling: reported, not raised.
    ASSERT_EQ(reported.size(), 1u);
    EXPECT_EQ(reported.front(), StandardWaveErrorText(wrError).toStdString());
    EXPECT_FALSE(source.active());
    EXPECT_EQ(source.ActiveBufferCount(), 0);
    EXPECT_EQ(device().callCount(Call::Unprepare), 1); // the header prepared for it is undone
    EXPECT_EQ(device().callCount(Call::Close), 1);
    EXPECT_EQ(events, (Events{"activate", "deactivate"}));
}

TEST_P(WaveOutLifeCycleTest, FailedCloseAfterTheDrainIsReported)
{
    PatternSource source(100);
    device().setAutoComplete(true);
    device().failCall(Call::Close, wrError);
    source.setCloseTimeoutMs(100);
    source.setActive(true);
    settle(device());
    EXPECT_EQ(reported.size(), 1u);
    EXPECT_TRUE(source.active()); // the device never closed; destruction still closes it
    device().clearFailure(Call::Close);
}

TEST_F(WaveOutTest, MisuseRaisesInvalidOperation)
{
    PatternSource source(1000);
    EXPECT_NO_THROW(source.setActive(false));
    try {
        source.InternalClose();
        ADD_FAILURE();
    } catch (const EWaveAudioInvalidOperation& failure) {
        EXPECT_STREQ(failure.what(), "Device is aleardy close");
    }
    source.setActive(true);
    try {
        source.InternalOpen();
        ADD_FAILURE();
    } catch (const EWaveAudioInvalidOperation& failure) {
        EXPECT_STREQ(failure.what(), "Device is aleardy open");
    }
    EXPECT_EQ(device().callCount(Call::Open), 1);
}

TEST_P(WaveOutLifeCycleTest, DeviceThatNeverReportsItsCloseIsAbandonedAfterTheBound)
{
    PatternSource source(1'000'000);
    watch(source);
    source.setCloseTimeoutMs(150);
    source.setActive(true);
    settle(device());
    device().setHoldNotifications(true);
    QElapsedTimer timer;
    timer.start();
    source.setActive(false);
    EXPECT_LT(timer.elapsed(), 1000);
    EXPECT_GE(timer.elapsed(), 150);
    EXPECT_FALSE(source.active());
    EXPECT_FALSE(device().isOpen());
    EXPECT_EQ(source.ActiveBufferCount(), 0);
    EXPECT_EQ(events, (Events{"activate", "deactivate"}));
}

TEST_P(WaveOutLifeCycleTest, LoweringBufferCountRetiresSurplusBuffers)
{
    PatternSource source(1'000'000);
    source.setActive(true);
    settle(device());
    ASSERT_EQ(source.ActiveBufferCount(), 2);
    source.setBufferCount(1);
    device().completeBuffers(1);
    settle(device());
    EXPECT_EQ(source.ActiveBufferCount(), 1);
    EXPECT_EQ(device().written().size(), 2u); // not refilled
    source.setActive(false);
    EXPECT_FALSE(source.active());
    EXPECT_EQ(source.ActiveBufferCount(), 0);
}

TEST_F(WaveOutTest, RaisingBufferCountWhileOpenTopsTheQueueUp)
{
    PatternSource source(1'000'000);
    source.setActive(true);
    drainEvents();
    source.setBufferCount(4);
    drainEvents();
    EXPECT_EQ(source.ActiveBufferCount(), 4);
    source.setBufferLength(100); // new length for buffers filled from now on
    device().completeBuffers(1);
    drainEvents();
    EXPECT_EQ(device().written().back().length, 8820u);
}

TEST_P(WaveOutLifeCycleTest, PitchAndRateReadOneWhileOpenOnADeviceWithoutSupport)
{
    devices.configure([](SimulatedWaveOutDevice& d) {
        WaveOutCaps caps;
        caps.support = WaveOutCaps::Volume;
        d.setCapabilities(caps);
    });
    PatternSource source(1000);
    source.setPitch(2.0);
    source.setPlaybackRate(0.5);
    source.setOptions(TWaveAudioOut::woSetPitch | TWaveAudioOut::woSetPlaybackRate);
    source.setActive(true);
    settle(device());
    EXPECT_EQ(source.pitch(), 1.0);
    EXPECT_EQ(source.playbackRate(), 1.0);
    EXPECT_EQ(device().callCount(Call::SetPitch), 0);
    device().completeBuffers();
    settle(device());
    ASSERT_FALSE(source.active());
    EXPECT_EQ(source.pitch(), 2.0);
    EXPECT_EQ(source.playbackRate(), 0.5);
}

TEST_F(WaveOutTest, OptionsApplySettingsToTheDevice)
{
    PatternSource source(1000);
    source.setVolume(50);
    source.setPitch(1.5);
    source.setActive(true);
    drainEvents();
    EXPECT_EQ(device().callCount(Call::SetVolume), 0); // not in Options
    EXPECT_EQ(source.volume(), 100);                  // read from the device

    source.setOptions(TWaveAudioOut::woSetVolume | TWaveAudioOut::woSetPitch);
    EXPECT_EQ(device().volumeValue(), 0x8000u);
    EXPECT_EQ(source.volume(), 50);
    EXPECT_EQ(device().pitchValue(), 0x00018000u);
    EXPECT_EQ(source.pitch(), 1.5);

    source.setVolume(20);
    EXPECT_EQ(device().volumeValue(), MulDiv(20, 0xFFFF, 100));
    source.setOptions({}); // a member taken out does not reset the device
    EXPECT_EQ(device().volumeValue(), MulDiv(20, 0xFFFF, 100));
    device().failCall(Call::SetVolume, wrError);
    source.setOptions(TWaveAudioOut::woSetVolume); // failures of settings are ignored
    EXPECT_EQ(source.LastError(), 0u);
}

struct StoredSettingsRow {
    const char* name;
    TWaveAudioOut::TWaveOutOptions options;
    quint16 volume;
    double pitch;
    double rate;
    quint32 support; // the device's support bits
    quint32 deviceVolume, devicePitch, deviceRate; // what the device holds once open
};

TEST_F(WaveOutTest, SettingsStoredBeforeTheOpenAreAppliedAtTheOpen)
{
    using O = TWaveAudioOut;
    const quint32 all = WaveOutCaps::Volume | WaveOutCaps::LrVolume | WaveOutCaps::Pitch | WaveOutCaps::PlaybackRate;
    const quint32 untouched = 0xFFFFFFFF, one = 0x00010000; // the device's own values
    const StoredSettingsRow rows[] = {
        {"NoOptionsSendNothing", {}, 40, 1.5, 0.5, all, untouched, one, one},
        {"VolumeOnly", O::woSetVolume, 40, 1.5, 0.5, all, 26214, one, one},
        {"PitchOnly", O::woSetPitch, 40, 1.5, 0.5, all, untouched, 0x00018000, one},
        {"RateOnly", O::woSetPlaybackRate, 40, 1.5, 0.5, all, untouched, one, 0x00008000},
        {"AllThree", O::woSetVolume | O::woSetPitch | O::woSetPlaybackRate, 40, 1.5, 0.5, all, 26214, 0x00018000, 0x00008000},
        {"DefaultValuesAreSentToo", O::woSetVolume | O::woSetPitch | O::woSetPlaybackRate, 75, 1.0, 1.0, all, 49151, one, one},
        {"FullVolumeInTheLowWordOnly", O::woSetVolume, 100, 1.0, 1.0, all, 0x0000FFFF, one, one},
        {"ZeroVolume", O::woSetVolume, 0, 1.0, 1.0, all, 0, one, one},
        {"PitchWithFraction", O::woSetPitch, 75, 2.25, 1.0, all, untouched, 0x00024000, one},
        {"VolumeWithoutSupportSkipped", O::woSetVolume | O::woSetPitch, 40, 1.5, 0.5, WaveOutCaps::Pitch, untouched, 0x00018000, one},
        {"RateWithoutSupportSkipped", O::woSetPlaybackRate | O::woSetVolume, 40, 1.5, 0.5, WaveOutCaps::Volume, 26214, one, one},
    };
    for (const auto& row : rows) {
        SCOPED_TRACE(row.name);
        devices.configure([&](SimulatedWaveOutDevice& d) {
            WaveOutCaps caps;
            caps.support = row.support;
            d.setCapabilities(caps);
        });
        PatternSource source(1'000'000);
        source.setOptions(row.options);
        source.setVolume(row.volume);
        source.setPitch(row.pitch);
        source.setPlaybackRate(row.rate);
        EXPECT_TRUE(device().calls().empty()); // stored only while closed
        source.setActive(true);
        drainEvents();
        EXPECT_EQ(device().volumeValue(), row.deviceVolume);
        EXPECT_EQ(device().pitchValue(), row.devicePitch);
        EXPECT_EQ(device().playbackRateValue(), row.deviceRate);
        // Applied before the first buffer is prepared, so the first sound already has them.
        const auto& calls = device().calls();
        const auto firstPrepare = std::find(calls.begin(), calls.end(), Call::Prepare);
        for (const Call setter : {Call::SetVolume, Call::SetPitch, Call::SetPlaybackRate})
            EXPECT_LE(std::count(firstPrepare, calls.end(), setter), 0) << static_cast<int>(setter);
        source.setActive(false);
        // The stored values outlive the close.
        EXPECT_EQ(source.volume(), row.volume);
        EXPECT_EQ(source.pitch(), row.pitch);
        EXPECT_EQ(source.playbackRate(), row.rate);
    }
}

TEST_F(WaveOutTest, PositionIsConvertedToMilliseconds)
{
    PatternSource source(1'000'000);
    EXPECT_EQ(source.GetPosition(), 0u);
    source.setActive(true);
    drainEvents();
    const struct {
        const char* name;
        MmTime time;
        quint32 ms;
    } rows[] = {
        {"Milliseconds", {MmTime::Milliseconds, 1234, {}}, 1234},
        {"Samples", {MmTime::Samples, 22050, {}}, 500},
        {"SamplesRounded", {MmTime::Samples, 1, {}}, 0},
        {"Bytes", {MmTime::Bytes, 88200 * 3, {}}, 3000},
        {"Smpte", {MmTime::Smpte, 0, {1, 2, 3, 20, 30}}, 3'723'000},
        {"OtherType", {16, 77, {}}, 0},
    };
    for (const auto& row : rows) {
        device().setPosition(row.time);
        EXPECT_EQ(source.GetPosition(), row.ms) << row.name;
    }
}

TEST_F(WaveOutTest, DeviceQueriesReadTheCapabilities)
{
    devices.configure([](SimulatedWaveOutDevice& d) {
        WaveOutCaps caps;
        caps.productName = QStringLiteral("Test output");
        caps.formats = 0b1000'0000'0101;
        caps.support = WaveOutCaps::Volume | WaveOutCaps::Sync | WaveOutCaps::SampleAccurate;
        d.setCapabilities(caps);
        d.setDeviceCount(3);
    });
    PatternSource source(0);
    EXPECT_EQ(source.GetDeviceName(), "Test output");
    EXPECT_EQ(source.GetDeviceCount(), 3u);
    EXPECT_EQ(source.GetDeviceFormats(),
              (PcmPresets{ppMono8Bit8000Hz, ppStereo8Bit8000Hz, ppMono16Bit8000Hz, ppStereo16Bit8000Hz,
                          ppMono8Bit11025Hz, ppMono16Bit11025Hz, ppStereo16Bit44100Hz}));
    EXPECT_EQ(source.GetDeviceSupports(), TWaveAudioIO::supVolume | TWaveAudioIO::supPosition);
    EXPECT_TRUE(source.IsPcmFormatSupported(ppMono16Bit44100Hz));
    EXPECT_FALSE(source.IsPcmFormatSupported(ppNone));

    device().failCall(Call::Capabilities, wrBadDeviceId);
    EXPECT_EQ(source.GetDeviceName(), QString());
    EXPECT_TRUE(source.GetDeviceFormats().empty());
    EXPECT_EQ(source.GetDeviceSupports(), TWaveAudioIO::DeviceSupports());
    EXPECT_EQ(source.LastError(), 0u); // queries do not go through the error path
}

TEST_P(WaveOutLifeCycleTest, WriteQueuesCallerDataAndFreesWhatItWasGiven)
{
    PatternSource source(0);
    source.setBufferCount(0);
    source.setActive(true);
    settle(device());
    char* owned = static_cast<char*>(std::malloc(64));
    std::memset(owned, 7, 64);
    EXPECT_TRUE(source.Write(owned, 64, true, 3));
    ASSERT_EQ(device().written().size(), 1u);
    EXPECT_EQ(device().written()[0].data, owned);
    EXPECT_EQ(device().written()[0].loops, 3u);
    EXPECT_TRUE(device().written()[0].flags & WaveHeader::BeginLoop);

    device().failCall(Call::Write, wrError);
    char notOwned[16] = {};
    EXPECT_FALSE(source.Write(notOwned, sizeof notOwned, false, 0)); // raised inside: goes no further
    EXPECT_EQ(source.ActiveBufferCount(), 1);
    device().clearFailure(Call::Write);

    source.setActive(false); // returns the owned block to the component, which frees it
    EXPECT_EQ(source.ActiveBufferCount(), 0);
}

TEST_P(WaveOutLifeCycleTest, LevelFollowsEachQueuedBufferAndEndsAtZero)
{
    PatternSource source(100);
    std::vector<int> levels;
    source.setOnLevel([&](TWaveAudioIO*, int level) { levels.push_back(level); });
    source.setActive(true);
    settle(device());
    device().completeBuffers();
    settle(device());
    const QByteArray data = source.expected();
    EXPECT_EQ(levels, (std::vector<int>{PeakLevel(data.constData(), 100, 16), 0}));
}

struct QuickCloseRow {
    const char* name;
    Ending ending;
    bool pausedBeforeTheOpen;
    Events events; // OnDeactivate does not fire while the component is being destroyed
};

TEST_P(WaveOutLifeCycleTest, CloseRightAfterTheOpenReportsNoFalseError)
{
    const QuickCloseRow rows[] = {
        {"Deactivate", Ending::Deactivate, false, {"activate", "deactivate"}},
        {"Destroy", Ending::Destroy, false, {"activate"}},
        {"PausedThenDeactivate", Ending::Deactivate, true, {"pause", "activate", "deactivate"}},
        {"PausedThenDestroy", Ending::Destroy, true, {"pause", "activate"}},
    };
    for (const auto& row : rows) {
        SCOPED_TRACE(row.name);
        auto source = freshWatchedSource();
        if (row.pausedBeforeTheOpen)
            source->InternalPause();
        source->setActive(true);
        const DeviceSummary seen = endWithoutWaiting(source, row.ending);
        EXPECT_TRUE(reported.empty()) << (reported.empty() ? "" : reported.front());
        EXPECT_FALSE(seen.open);
        EXPECT_EQ(seen.prepares, 0);
        EXPECT_EQ(seen.pauses, 0); // the device was closed before its open report was handled
        EXPECT_EQ(seen.written, 0u);
        EXPECT_EQ(events, row.events);
    }
}

struct EveryBufferBackRow {
    const char* name;
    Ending ending;
};

TEST_P(WaveOutLifeCycleTest, ResetWithEveryBufferAlreadyBackClosesAtOnceWithoutAReport)
{
    const EveryBufferBackRow rows[] = {
        {"Deactivate", Ending::Deactivate},
        {"Destroy", Ending::Destroy},
    };
    for (const auto& row : rows) {
        SCOPED_TRACE(row.name);
        auto source = freshWatchedSource();
        source->setBufferLength(10);
        source->setActive(true);
        settle(device());
        ASSERT_EQ(source->ActiveBufferCount(), 2);
        device().completeBuffers(); // both come back; their reports wait unhandled
        const DeviceSummary seen = endWithoutWaiting(source, row.ending);
        EXPECT_TRUE(reported.empty()) << (reported.empty() ? "" : reported.front());
        EXPECT_FALSE(seen.open);
        EXPECT_EQ(seen.resets, 1);
        EXPECT_EQ(seen.written, 2u); // nothing refilled after the reset
        EXPECT_EQ(events, (row.ending == Ending::Destroy ? Events{"activate"} : Events{"activate", "deactivate"}));
    }
}

struct ZeroBufferRow {
    const char* name;
    quint32 avgBytesPerSec;
    quint16 blockAlign;
    quint16 bufferLength;
    bool onErrorAssigned;
};

TEST_P(WaveOutLifeCycleTest, ZeroBufferSizeIsRefusedBeforeTheOpenInsteadOfCrashing)
{
    const ZeroBufferRow rows[] = {
        {"NoBytesPerSecondRaises", 0, 2, 1000, false},
        {"NoBytesPerSecondToOnError", 0, 2, 1000, true},
        {"NoBytesPerSecondNoBlockAlign", 0, 0, 1000, false},
        {"TooFewBytesForTheShortestBuffer", 40, 0, 10, false},
    };
    for (const auto& row : rows) {
        SCOPED_TRACE(row.name);
        WaveFormatEx format = cdMono16();
        format.avgBytesPerSec = row.avgBytesPerSec;
        format.blockAlign = row.blockAlign;
        PatternSource source(1000, format);
        source.setBufferLength(row.bufferLength);
        int errors = 0;
        if (row.onErrorAssigned)
            source.setOnError([&](TWaveAudioIO*) { ++errors; });
        expectFailedActivation(source, row.onErrorAssigned, errors, wrBadFormat);
        EXPECT_EQ(source.LastError(), wrBadFormat);
        EXPECT_FALSE(source.active());
        EXPECT_EQ(device().callCount(Call::Open), 0);
        settle(device());
        EXPECT_TRUE(device().written().empty());
    }
    EXPECT_TRUE(reported.empty());
}

TEST_P(WaveOutLifeCycleTest, BufferSizeFallingToZeroWhileOpenEndsPlaybackInsteadOfCrashing)
{
    WaveFormatEx format = cdMono16();
    format.samplesPerSec = 40; // 40 bytes a second: 0.4 bytes in the shortest buffer
    format.avgBytesPerSec = 40;
    format.blockAlign = 0;
    PatternSource source(1'000'000, format);
    watch(source);
    source.setActive(true);
    settle(device());
    ASSERT_EQ(writtenLengths(), (std::vector<quint32>{40, 40}));
    source.setBufferLength(10);
    device().completeBuffers(1);
    settle(device()); // no buffer can be filled: the drain starts
    EXPECT_EQ(source.ActiveBufferCount(), 1);
    device().completeBuffers();
    settle(device());
    EXPECT_FALSE(source.active());
    EXPECT_EQ(source.ActiveBufferCount(), 0);
    EXPECT_EQ(writtenLengths(), (std::vector<quint32>{40, 40}));
    EXPECT_EQ(events, (Events{"activate", "deactivate"}));
    EXPECT_TRUE(reported.empty());
}

} // namespace
