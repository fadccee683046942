// Plays the warning clip through ALSA for real, with the default PCM pointed at a file, and
// opens the player with no device at all. Each test points ALSA_CONFIG_PATH at its own
// configuration before any ALSA call.
#include "audio/AlsaWaveOutDevice.h"
#include "audio/WavePlayers.h"
#include "tests/audio/AudioTestSupport.h"

#include <gtest/gtest.h>

#include <QElapsedTimer>
#include <QFile>
#include <QTemporaryDir>
#include <QThread>

#include <algorithm>
#include <chrono>
#include <cstdio>
#include <string>
#include <vector>

using namespace audiotest;

namespace {

const QByteArray SystemConfig = "/usr/share/alsa/alsa.conf";

// Writes an ALSA configuration and points the library at it.
class AlsaConfig {
public:
    explicit AlsaConfig(const QTemporaryDir& dir) : m_dir(dir) {}

    QString capturePath() const { return m_dir.filePath(QStringLiteral("captured.raw")); }

    void useFileBackedDefault(const QString& name)
    {
        use(name, QStringLiteral("pcm.!default { type file; slave.pcm \"null\"; file \"%1\"; format \"raw\" }\n")
                      .arg(capturePath())
                      .toUtf8(),
            true);
    }
    void useMissingCard(const QString& name)
    {
        use(name, "pcm.!default { type hw; card 7; device 0 }\n", true);
    }
    // Only an empty file: not even the default PCM is defined.
    void useEmpty(const QString& name) { use(name, {}, false); }

private:
    void use(const QString& name, const QByteArray& text, bool withSystemConfig)
    {
        const QString path = m_dir.filePath(name);
        QFile file(path);
        ASSERT_TRUE(file.open(QIODevice::WriteOnly | QIODevice::Truncate));
        file.write(text);
        file.close();
        const QByteArray value = withSystemConfig ? SystemConfig + ':' + path.toUtf8() : path.toUtf8();
        qputenv("ALSA_CONFIG_PATH", value);
    }

    const QTemporaryDir& m_dir;
};

class AlsaPlaybackTest : public ::testing::Test {
protected:
    AlsaPlaybackTest()
        : config(dir)
        , m_factory([this] {
              auto device = std::make_unique<AlsaWaveOutDevice>();
              lastDevice = device.get();
              return device;
          })
        , m_previousReporter(SetApplicationExceptionReporter(
              [this](const std::exception& failure) { reported.push_back(failure.what()); }))
    {
    }
    ~AlsaPlaybackTest() override { SetApplicationExceptionReporter(std::move(m_previousReporter)); }

    // Plays the clip to its end and returns the bytes that reached the capture file.
    QByteArray playToTheEnd(TAudioPlayer& player, std::chrono::steady_clock::time_point& started)
    {
        QFile::remove(config.capturePath());
        started = std::chrono::steady_clock::now();
        player.setActive(true);
        EXPECT_TRUE(waitUntil([&] { return !player.active(); }, 5000));
        QFile captured(config.capturePath());
        EXPECT_TRUE(captured.open(QIODevice::ReadOnly));
        return captured.readAll();
    }

    QTemporaryDir dir;
    AlsaConfig config;
    AlsaWaveOutDevice* lastDevice = nullptr;
    std::vector<std::string> reported; // what reached the application's failure reporter

private:
    ScopedWaveOutDeviceFactory m_factory;
    ApplicationExceptionReporter m_previousReporter;
};

TEST_F(AlsaPlaybackTest, TheWholeClipReachesTheDefaultPcmInOrder)
{
    ASSERT_TRUE(dir.isValid());
    config.useFileBackedDefault(QStringLiteral("file.conf"));
    TAudioPlayer player;
    player.readData(warningClip());
    int deactivations = 0;
    player.setOnDeactivate([&](TWaveAudioIO*) { ++deactivations; });

    std::chrono::steady_clock::time_point started;
    const QByteArray captured = playToTheEnd(player, started);
    EXPECT_EQ(captured.size(), 13150);
    EXPECT_TRUE(captured == warningClip().mid(44)) << "the captured bytes differ from the clip's samples";
    EXPECT_EQ(deactivations, 1);

    ASSERT_NE(lastDevice, nullptr);
    const auto firstWrite = lastDevice->firstWriteTime();
    ASSERT_TRUE(firstWrite.has_value());
    const auto latencyUs = std::chrono::duration_cast<std::chrono::microseconds>(*firstWrite - started).count();
    std::printf("Active := true to the first frames in ALSA: %.2f ms\n", static_cast<double>(latencyUs) / 1000.0);
    RecordProperty("first_write_latency_us", static_cast<int>(latencyUs));
    EXPECT_LT(latencyUs, 100'000); // loose bound for a loaded, sanitized build; the aim is 20 ms

    // And once more: it plays again from the beginning.
    EXPECT_TRUE(playToTheEnd(player, started) == warningClip().mid(44));
}

TEST_F(AlsaPlaybackTest, ClosingWhileStreamingStopsAtOnceAndLeavesThePcmUsable)
{
    config.useFileBackedDefault(QStringLiteral("file.conf"));
    TAudioPlayer player;
    player.readData(warningClip());
    player.setBufferLength(10);
    player.InternalPause(); // the device starts paused: the queued buffers stay queued
    QFile::remove(config.capturePath());
    player.setActive(true);
    ASSERT_TRUE(waitUntil([&] { return player.ActiveBufferCount() == 2; }, 2000));
    QElapsedTimer timer;
    timer.start();
    player.setActive(false);
    EXPECT_LT(timer.elapsed(), 1000);
    EXPECT_FALSE(player.active());
    EXPECT_EQ(player.ActiveBufferCount(), 0);
    QFile captured(config.capturePath());
    EXPECT_TRUE(!captured.open(QIODevice::ReadOnly) || captured.readAll().isEmpty());

    player.InternalResume();
    std::chrono::steady_clock::time_point started;
    EXPECT_TRUE(playToTheEnd(player, started) == warningClip().mid(44));
}

TEST_F(AlsaPlaybackTest, AnEmptyClipIsRefusedAtTheQuery)
{
    config.useFileBackedDefault(QStringLiteral("file.conf"));
    TAudioPlayer player;
    EXPECT_THROW(player.setActive(true), EWaveAudioSysError);
    EXPECT_EQ(player.LastError(), wrInvalidParameter);
    EXPECT_FALSE(player.active());
}

// The faults below depended on the timing of the device thread: each case runs many times.
constexpr int Repeats = 50;
constexpr qint64 RunBoundMs = 100;

// How many runs of a repeated case went wrong, and how long the longest took.
class RepeatFigures {
public:
    void add(qint64 elapsedMs, bool wrong)
    {
        ++m_runs;
        m_wrong += wrong ? 1 : 0;
        m_slow += elapsedMs > RunBoundMs ? 1 : 0;
        m_longestMs = std::max(m_longestMs, elapsedMs);
    }
    void print(const char* name) const
    {
        std::printf("%s: %d runs, %d wrong, %d over %lld ms, longest %lld ms\n", name, m_runs, m_wrong, m_slow,
                    static_cast<long long>(RunBoundMs), static_cast<long long>(m_longestMs));
    }
    int wrong() const { return m_wrong; }
    // Prints the figures under `name`; no run may have gone wrong or taken longer than the bound.
    void expectAllRightAndQuick(const char* name) const
    {
        print(name);
        EXPECT_EQ(m_wrong, 0);
        EXPECT_LE(m_longestMs, RunBoundMs);
    }

private:
    int m_runs = 0;
    int m_wrong = 0;
    int m_slow = 0;
    qint64 m_longestMs = 0;
};

using Events = std::vector<std::string>;

enum class Ending { Deactivate, Destroy, ChangeClip };

struct EndingRow {
    const char* name;
    Ending ending;
    Events events; // OnDeactivate does not fire while the player is being destroyed
};

// Ends the player's playback the way the row says and returns how long that took.
qint64 endPlayback(std::unique_ptr<TAudioPlayer>& player, Ending ending)
{
    QElapsedTimer timer;
    timer.start();
    switch (ending) {
    case Ending::Deactivate: player->setActive(false); break;
    case Ending::Destroy: player.reset(); break;
    case Ending::ChangeClip: player->readData(pcmClip(1000)); break;
    }
    return timer.elapsed();
}

std::unique_ptr<TAudioPlayer> watchedPlayer(Events& events)
{
    auto player = std::make_unique<TAudioPlayer>();
    player->readData(warningClip());
    player->setOnActivate([&events](TWaveAudioIO*) { events.push_back("activate"); });
    player->setOnDeactivate([&events](TWaveAudioIO*) { events.push_back("deactivate"); });
    return player;
}

// Runs the row's ending Repeats times, each on a fresh watched player that `start` brings to the
// moment of the ending. A run is wrong when anything reached the failure reporter (`reported`,
// cleared before each run), the events differ from the row's, or `leftWrong` finds fault with the
// player afterwards (null once destroyed). The first wrong run is told with its report.
template <typename Start, typename LeftWrong>
void repeatEnding(const EndingRow& row, std::vector<std::string>& reported, Start start, LeftWrong leftWrong)
{
    RepeatFigures figures;
    for (int run = 0; run < Repeats; ++run) {
        reported.clear();
        Events events;
        auto player = watchedPlayer(events);
        start(*player);
        if (::testing::Test::HasFatalFailure())
            return;
        const qint64 elapsed = endPlayback(player, row.ending);
        drainEvents();
        const bool wrong = !reported.empty() || events != row.events || leftWrong(player.get());
        if (wrong && figures.wrong() == 0)
            ADD_FAILURE() << "first wrong run: " << (reported.empty() ? "no report" : reported.front());
        figures.add(elapsed, wrong);
    }
    figures.expectAllRightAndQuick(row.name);
}

TEST_F(AlsaPlaybackTest, CloseRightAfterTheOpenReportsNoFalseError)
{
    config.useFileBackedDefault(QStringLiteral("file.conf"));
    const EndingRow rows[] = {
        {"Deactivate", Ending::Deactivate, {"activate", "deactivate"}},
        {"Destroy", Ending::Destroy, {"activate"}},
    };
    for (const auto& row : rows) {
        SCOPED_TRACE(row.name);
        repeatEnding(row, reported, [](TAudioPlayer& player) { player.setActive(true); },
                     [](TAudioPlayer* player) { return player && player->active(); });
    }
}

TEST_F(AlsaPlaybackTest, ResetWithEveryBufferAlreadyBackClosesAtOnceWithoutAReport)
{
    config.useFileBackedDefault(QStringLiteral("file.conf"));
    const EndingRow rows[] = {
        {"Deactivate", Ending::Deactivate, {"activate", "deactivate"}},
        {"Destroy", Ending::Destroy, {"activate"}},
        {"ChangeClip", Ending::ChangeClip, {"activate", "deactivate"}},
    };
    const auto bothBuffersBack = [this](TAudioPlayer& player) {
        player.setBufferLength(10);
        player.InternalPause(); // the first two buffers wait in the device
        player.setActive(true);
        ASSERT_TRUE(waitUntil([&] { return player.ActiveBufferCount() == 2; }, 2000));
        player.InternalResume();
        // The device plays both and reports them done; the reports stay unhandled.
        QElapsedTimer played;
        played.start();
        while (lastDevice->queuedCount() > 0 && played.elapsed() < 2000)
            QThread::msleep(1);
        ASSERT_EQ(lastDevice->queuedCount(), 0u);
        ASSERT_EQ(player.ActiveBufferCount(), 2);
    };
    for (const auto& row : rows) {
        SCOPED_TRACE(row.name);
        repeatEnding(row, reported, bothBuffersBack, [](TAudioPlayer* player) {
            return player && (player->active() || player->ActiveBufferCount() != 0);
        });
        if (HasFatalFailure())
            return;
    }
}

// Fills the component's own buffers with a counting pattern, `total` bytes in all.
class FillingSource : public TWaveAudioOut {
public:
    FillingSource(const WaveFormatEx& format, quint32 total) : m_format(format), m_total(total) {}

protected:
    const WaveFormatBlock* GetWaveFormat(bool& freeIt) override
    {
        freeIt = true;
        m_next = 0;
        return new WaveFormatBlock(m_format);
    }
    quint32 FillBuffer(char* buffer, quint32 size, quint32&) override
    {
        const quint32 count = std::min(size, m_total - m_next);
        for (quint32 i = 0; i < count; ++i)
            buffer[i] = static_cast<char>(m_next + i);
        m_next += count;
        return count;
    }

private:
    WaveFormatEx m_format;
    quint32 m_total;
    quint32 m_next = 0;
};

TEST_F(AlsaPlaybackTest, ZeroBufferSizeIsRefusedBeforeTheOpenInsteadOfCrashing)
{
    config.useFileBackedDefault(QStringLiteral("file.conf"));
    WaveFormatEx format;
    MakePcmFormat(format, ppMono16Bit44100Hz);
    format.avgBytesPerSec = 0;
    RepeatFigures figures;
    for (int run = 0; run < Repeats; ++run) {
        reported.clear();
        FillingSource source(format, 4000);
        QElapsedTimer timer;
        timer.start();
        bool refused = false;
        try {
            source.setActive(true);
        } catch (const EWaveAudioSysError& failure) {
            refused = failure.message().startsWith(StandardWaveErrorText(wrBadFormat));
        }
        const qint64 elapsed = timer.elapsed();
        drainEvents();
        const bool wrong = !refused || source.active() || source.LastError() != wrBadFormat || !reported.empty();
        figures.add(elapsed, wrong);
    }
    figures.expectAllRightAndQuick("ZeroBufferSize");

    // The same source with a usable format streams its bytes and ends.
    MakePcmFormat(format, ppMono16Bit44100Hz);
    QFile::remove(config.capturePath());
    FillingSource source(format, 4000);
    source.setActive(true);
    EXPECT_TRUE(waitUntil([&] { return !source.active(); }, 5000));
    EXPECT_TRUE(reported.empty());
    QFile captured(config.capturePath());
    ASSERT_TRUE(captured.open(QIODevice::ReadOnly));
    EXPECT_EQ(captured.readAll().size(), 4000);
}

struct NoDeviceRow {
    const char* name;
    void (AlsaConfig::*configure)(const QString&);
};

// Names the row in test listings instead of dumping its bytes.
void PrintTo(const NoDeviceRow& row, std::ostream* out)
{
    *out << row.name;
}

class AlsaNoDeviceTest : public AlsaPlaybackTest, public ::testing::WithParamInterface<NoDeviceRow> {};

TEST_P(AlsaNoDeviceTest, ActiveRaisesAReadableErrorAndALaterTryWorks)
{
    (config.*GetParam().configure)(QStringLiteral("broken.conf"));
    TAudioPlayer player;
    player.readData(warningClip());

    QElapsedTimer timer;
    timer.start();
    try {
        player.setActive(true);
        ADD_FAILURE() << "no exception";
    } catch (const EWaveAudioSysError& failure) {
        std::printf("Without a device: %s\n", failure.what());
        EXPECT_FALSE(failure.message().isEmpty());
        EXPECT_TRUE(failure.message().startsWith(QStringLiteral("No sound output device"))) << failure.what();
    }
    EXPECT_LT(timer.elapsed(), 2000);
    EXPECT_FALSE(player.active());
    EXPECT_EQ(player.LastError(), wrNoDriver);
    drainEvents();

    config.useFileBackedDefault(QStringLiteral("file.conf")); // a device appears
    std::chrono::steady_clock::time_point started;
    EXPECT_TRUE(playToTheEnd(player, started) == warningClip().mid(44));
}

INSTANTIATE_TEST_SUITE_P(Rows, AlsaNoDeviceTest,
    ::testing::Values(NoDeviceRow{"EmptyConfiguration", &AlsaConfig::useEmpty},
                      NoDeviceRow{"DefaultOnAMissingCard", &AlsaConfig::useMissingCard}),
    [](const auto& row) { return std::string(row.param.name); });

} // namespace
