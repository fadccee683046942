#pragma once

// The output device of the program: ALSA's default PCM. A device thread feeds the queued
// buffers to the PCM and posts the notifications; it touches nothing but its own queue and the
// PCM, and it never calls into a component.

#include "audio/WaveOutDevice.h"

#include <atomic>
#include <chrono>
#include <condition_variable>
#include <deque>
#include <mutex>
#include <optional>
#include <thread>

typedef struct _snd_pcm snd_pcm_t;

class AlsaWaveOutDevice : public WaveOutDevice {
public:
    AlsaWaveOutDevice() = default;
    ~AlsaWaveOutDevice() override;
    AlsaWaveOutDevice(const AlsaWaveOutDevice&) = delete;
    AlsaWaveOutDevice& operator=(const AlsaWaveOutDevice&) = delete;

    quint32 deviceCount() override;
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
    QString errorText(WaveResult code) override;

    // When the first frames of the current (or last) open reached ALSA; for latency checks.
    std::optional<std::chrono::steady_clock::time_point> firstWriteTime() const;
    // Headers written and not yet reported done.
    std::size_t queuedCount() const;

private:
    struct PcmSetup {
        snd_pcm_t* pcm = nullptr;
        quint32 frameBytes = 0;
        quint32 chunkFrames = 0;
    };
    WaveResult openPcm(quint32 deviceId, const WaveFormatEx* format, bool configure, PcmSetup& setup);
    WaveResult fail(WaveResult code, const QString& detail);
    void joinFinishedThread();
    void run();
    // Hands one chunk of the front header to ALSA; reports the header done after its last.
    void feed(std::unique_lock<std::mutex>& lock);
    // Reports every queued header done; the caller holds the lock.
    void returnAll();

    WaveResult m_lastFailure = wrNoError;
    QString m_lastDetail;

    PcmSetup m_setup;
    WaveNotificationTarget* m_target = nullptr;
    std::thread m_thread;

    mutable std::mutex m_mutex;
    std::condition_variable m_wake;
    bool m_open = false;           // the handle is valid for calls
    bool m_resetRequested = false;
    bool m_closeRequested = false;
    bool m_abandonRequested = false;
    bool m_paused = false;
    std::deque<WaveHeader*> m_queue;
    quint32 m_frontOffset = 0;
    quint32 m_frontPasses = 0;

    quint64 m_framesWritten = 0; // device thread only
    std::atomic<quint64> m_framesPlayed{0};
    std::atomic<qint64> m_firstWriteNs{-1};
};
