#pragma once

// The output device as the sound components see it: a handful of calls answered with result
// codes, and three notifications (opened, buffer done, closed) that the device posts to the
// component's notification target. A device never calls into a component directly.

#include "audio/WaveUtils.h"

#include <functional>
#include <memory>

using WaveResult = quint32;

// Result codes the components and devices share.
enum : WaveResult {
    wrNoError = 0,
    wrError = 1,
    wrBadDeviceId = 2,
    wrNotEnabled = 3,
    wrAllocated = 4,
    wrInvalidHandle = 5,
    wrNoDriver = 6,
    wrNoMem = 7,
    wrNotSupported = 8,
    wrInvalidParameter = 11,
    wrBadFormat = 32,
    wrStillPlaying = 33,
    wrUnprepared = 34,
};

inline constexpr quint32 WaveMapper = 0xFFFFFFFF;

// One buffer handed to the device. The component owns the header; the device reads `data`
// from write() until it reports the header done.
struct WaveHeader {
    enum Flag : quint32 { Done = 0x1, Prepared = 0x2, BeginLoop = 0x4, EndLoop = 0x8, InQueue = 0x10 };

    char* data = nullptr;
    quint32 bufferLength = 0;
    quint32 bytesRecorded = 0;
    quintptr user = 0;
    quint32 flags = 0;
    quint32 loops = 0;
    quintptr reserved[2] = {0, 0};
};

// A position as the device reports it; the device may answer in another unit than asked.
struct MmTime {
    enum Type : quint32 { Milliseconds = 1, Samples = 2, Bytes = 4, Smpte = 8 };
    struct SmpteTime {
        quint8 hour = 0, minute = 0, second = 0, frame = 0, fps = 0;
    };

    quint32 type = Milliseconds;
    quint32 value = 0; // milliseconds, samples or bytes
    SmpteTime smpte;
};

struct WaveOutCaps {
    // Support bits.
    enum : quint32 { Pitch = 0x1, PlaybackRate = 0x2, Volume = 0x4, LrVolume = 0x8, Sync = 0x10, SampleAccurate = 0x20 };

    QString productName;
    quint32 formats = 0; // bit k: the standard 11 025 / 22 050 / 44 100 Hz format k, preset 5 + k
    quint16 channels = 0;
    quint32 support = 0;
};

enum class WaveMessage : quint32 {
    WomOpen = 0x3BB,
    WomClose = 0x3BC,
    WomDone = 0x3BD,
    WimOpen = 0x3BE,
    WimClose = 0x3BF,
    WimData = 0x3C0,
};

struct WaveNotification {
    WaveMessage message;
    WaveHeader* header = nullptr;
};

// Where a device posts its notifications. post() may be called from any thread and must only
// queue: the owning thread acts on it later.
class WaveNotificationTarget {
public:
    virtual void post(const WaveNotification& notification) = 0;

protected:
    ~WaveNotificationTarget() = default;
};

// One output device handle and the calls made on it. After close() has been answered with
// WomClose, the same object may be opened again.
class WaveOutDevice {
public:
    virtual ~WaveOutDevice() = default;

    virtual quint32 deviceCount() = 0;
    virtual WaveResult capabilities(quint32 deviceId, WaveOutCaps& caps) = 0;
    // 0 exactly when the device can play the format; nothing is opened. No format is refused.
    virtual WaveResult query(quint32 deviceId, const WaveFormatEx* format) = 0;
    // Opens and later posts WomOpen to `target`.
    virtual WaveResult open(quint32 deviceId, const WaveFormatEx* format, WaveNotificationTarget* target) = 0;

    virtual WaveResult prepare(WaveHeader& header) = 0;
    virtual WaveResult unprepare(WaveHeader& header) = 0;
    // Queues a prepared header; it comes back as WomDone.
    virtual WaveResult write(WaveHeader& header) = 0;
    // Stops at once and returns every queued header as WomDone, in order.
    virtual WaveResult reset() = 0;
    // Succeeds only with nothing queued; WomClose follows.
    virtual WaveResult close() = 0;
    // Last resort for a device that never reports its close: stops without notifying and
    // forgets every header; the device is closed when this returns.
    virtual void abandon() = 0;

    virtual WaveResult pause() = 0;
    virtual WaveResult restart() = 0;
    virtual WaveResult position(MmTime& time) = 0;

    virtual WaveResult volume(quint32& value) = 0;
    virtual WaveResult setVolume(quint32 value) = 0;
    virtual WaveResult pitch(quint32& value) = 0;
    virtual WaveResult setPitch(quint32 value) = 0;
    virtual WaveResult playbackRate(quint32& value) = 0;
    virtual WaveResult setPlaybackRate(quint32 value) = 0;

    // A readable text for a result code, or an empty text for an unknown one.
    virtual QString errorText(WaveResult code) = 0;
};

// The texts for the shared result codes; devices add their own detail.
QString StandardWaveErrorText(WaveResult code);

using WaveOutDeviceFactory = std::function<std::unique_ptr<WaveOutDevice>()>;

// Installs the factory that new components take their device from and returns the previous
// one. An empty factory restores the default, the ALSA device.
WaveOutDeviceFactory SetDefaultWaveOutDeviceFactory(WaveOutDeviceFactory factory);
std::unique_ptr<WaveOutDevice> CreateWaveOutDevice();

// Installs a factory for one scope.
class ScopedWaveOutDeviceFactory {
public:
    explicit ScopedWaveOutDeviceFactory(WaveOutDeviceFactory factory)
        : m_previous(SetDefaultWaveOutDeviceFactory(std::move(factory))) {}
    ~ScopedWaveOutDeviceFactory() { SetDefaultWaveOutDeviceFactory(std::move(m_previous)); }
    ScopedWaveOutDeviceFactory(const ScopedWaveOutDeviceFactory&) = delete;
    ScopedWaveOutDeviceFactory& operator=(const ScopedWaveOutDeviceFactory&) = delete;

private:
    WaveOutDeviceFactory m_previous;
};
