#pragma once

// An output device that lives in the process, for tests: it plays a buffer only when told to
// (or at once, in auto-complete mode), can fail any call with any code, can hold its
// notifications back, and reports whatever capabilities and position it is given. Its close
// report comes either from inside close() or, like a device with its own thread, a little later
// from another thread.

#include "audio/WaveOutDevice.h"

#include <QByteArray>

#include <atomic>
#include <chrono>
#include <deque>
#include <map>
#include <thread>
#include <vector>

class SimulatedWaveOutDevice : public WaveOutDevice {
public:
    enum class Call {
        Capabilities, Query, Open, Prepare, Unprepare, Write, Reset, Close, Pause, Restart,
        Position, Volume, SetVolume, Pitch, SetPitch, PlaybackRate, SetPlaybackRate,
    };
    struct WrittenBuffer {
        const char* data;
        quint32 length;
        quint32 flags;
        quint32 loops;
    };

    enum class CloseReport { AtOnce, Later };

    SimulatedWaveOutDevice();
    ~SimulatedWaveOutDevice() override;
    SimulatedWaveOutDevice(const SimulatedWaveOutDevice&) = delete;
    SimulatedWaveOutDevice& operator=(const SimulatedWaveOutDevice&) = delete;

    // Script.
    void failCall(Call call, WaveResult code) { m_failures[call] = code; }
    void clearFailure(Call call) { m_failures.erase(call); }
    void setHoldNotifications(bool hold) { m_hold = hold; }
    void releaseNotifications();
    void setAutoComplete(bool autoComplete) { m_autoComplete = autoComplete; }
    // Plays the oldest `count` queued buffers (all of them for -1) and reports each done.
    void completeBuffers(int count = -1);
    void setCapabilities(const WaveOutCaps& caps) { m_caps = caps; }
    void setDeviceCount(quint32 count) { m_deviceCount = count; }
    void setPosition(const MmTime& time) { m_position = time; }
    // Later: close() returns first, and the close report is posted from another thread after
    // `delay`, so that whatever the component posts meanwhile comes before it.
    void setCloseReport(CloseReport mode, std::chrono::milliseconds delay = std::chrono::milliseconds(15))
    {
        m_closeReport = mode;
        m_closeDelay = delay;
    }

    // Observation.
    bool isOpen() const { return m_open; }
    bool isPaused() const { return m_paused; }
    const std::vector<Call>& calls() const { return m_calls; }
    int callCount(Call call) const;
    const std::vector<WrittenBuffer>& written() const { return m_written; }
    const QByteArray& playedBytes() const { return m_played; }
    qsizetype queuedCount() const { return static_cast<qsizetype>(m_queue.size()); }
    qsizetype heldCount() const { return static_cast<qsizetype>(m_held.size()); }
    const WaveFormatEx& openedFormat() const { return m_format; }
    // A close report that close() has promised but not yet posted.
    bool closeReportPending() const { return m_closeReportPending; }
    quint32 volumeValue() const { return m_volume; }
    quint32 pitchValue() const { return m_pitch; }
    quint32 playbackRateValue() const { return m_rate; }

    quint32 deviceCount() override { return m_deviceCount; }
    WaveResult capabilities(quint32 deviceId, WaveOutCaps& caps) override;
    WaveResult query(quint32 deviceId, const WaveFormatEx* format) override;
    WaveResult open(quint32 deviceId, const WaveFormatEx* format, WaveNotificationTarget* target) override;
    WaveResult prepare(WaveHeader& header) override;
    WaveResult unprepare(WaveHeader& header) override;
    WaveResult write(WaveHeader& header) override;
    WaveResult reset() override;
    WaveResult close() override;
    void abandon() override;
    WaveResult pause() override;
    WaveResult restart() override;
    WaveResult position(MmTime& time) override;
    WaveResult volume(quint32& value) override;
    WaveResult setVolume(quint32 value) override;
    WaveResult pitch(quint32& value) override;
    WaveResult setPitch(quint32 value) override;
    WaveResult playbackRate(quint32& value) override;
    WaveResult setPlaybackRate(quint32 value) override;
    QString errorText(WaveResult code) override { return StandardWaveErrorText(code); }

private:
    // Logs the call and answers the scripted failure, if any.
    WaveResult enter(Call call);
    WaveResult enterOpen(Call call);
    void notify(WaveMessage message, WaveHeader* header = nullptr);
    void finish(WaveHeader& header);
    void reportCloseLater();
    void joinCloseReporter();

    std::map<Call, WaveResult> m_failures;
    std::vector<Call> m_calls;
    bool m_hold = false;
    bool m_autoComplete = false;
    std::vector<WaveNotification> m_held;
    WaveOutCaps m_caps;
    quint32 m_deviceCount = 1;
    MmTime m_position;
    CloseReport m_closeReport = CloseReport::AtOnce;
    std::chrono::milliseconds m_closeDelay{15};
    std::thread m_closeReporter;
    std::atomic<bool> m_closeReportPending{false};

    bool m_open = false;
    bool m_paused = false;
    WaveFormatEx m_format;
    WaveNotificationTarget* m_target = nullptr;
    std::deque<WaveHeader*> m_queue;
    std::vector<WrittenBuffer> m_written;
    QByteArray m_played;
    quint32 m_volume = 0xFFFFFFFF;
    quint32 m_pitch = 0x00010000;
    quint32 m_rate = 0x00010000;
};
