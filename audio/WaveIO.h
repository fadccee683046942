#pragma once

// TWaveAudioIO: the device-independent half of a sound component. It owns the life cycle
// (open, stream buffers, drain, close), the hidden notification window through which the device
// reports, the buffers in flight, the events and the error path.

#include "audio/WaveNotificationWindow.h"
#include "audio/WaveOutDevice.h"
#include "audio/WaveUtils.h"

#include <QObject>

#include <functional>
#include <memory>
#include <vector>

class TWaveAudioIO;
using TWaveAudioEvent = std::function<void(TWaveAudioIO* sender)>;
using TWaveAudioLevelEvent = std::function<void(TWaveAudioIO* sender, int level)>;
using TWaveAudioBufferEvent = std::function<void(TWaveAudioIO* sender, const void* buffer, quint32 size)>;

class TWaveAudioIO : public QObject {
    Q_OBJECT
    Q_PROPERTY(quint32 DeviceID READ deviceID WRITE setDeviceID)
    Q_PROPERTY(quint16 BufferLength READ bufferLength WRITE setBufferLength)
    Q_PROPERTY(quint16 BufferCount READ bufferCount WRITE setBufferCount)
    Q_PROPERTY(bool Active READ active WRITE setActive STORED false)
    Q_PROPERTY(bool Paused READ paused STORED false)

public:
    enum DeviceSupport {
        supVolume = 0x1,
        supStereoVolume = 0x2,
        supPitch = 0x4,
        supPlaybackRate = 0x8,
        supPosition = 0x10,
        supAsync = 0x20,
    };
    Q_DECLARE_FLAGS(DeviceSupports, DeviceSupport)
    Q_FLAG(DeviceSupports)

    static constexpr quint16 DefaultBufferLength = 1000;
    static constexpr quint16 MinimumBufferLength = 10;
    static constexpr quint16 DefaultBufferCount = 2;
    // How long a close waits for the device to report it before abandoning the device.
    static constexpr int DefaultCloseTimeoutMs = 2000;

    explicit TWaveAudioIO(QObject* owner = nullptr);
    ~TWaveAudioIO() override;

    bool active() { return GetActive(); }
    // True opens (returns at once; sound starts from the event loop), false closes.
    void setActive(bool value);
    bool paused() { return GetPaused(); }

    quint32 deviceID() const { return m_deviceId; }
    void setDeviceID(quint32 id) { m_deviceId = id; }
    quint16 bufferLength() const { return m_bufferLength; }
    void setBufferLength(quint16 milliseconds);
    quint16 bufferCount() const { return m_bufferCount; }
    void setBufferCount(quint16 count);
    int closeTimeoutMs() const { return m_closeTimeoutMs; }
    void setCloseTimeoutMs(int milliseconds) { m_closeTimeoutMs = milliseconds; }

    quint32 LastError() const { return m_lastError; }
    QString LastErrorText() { return GetErrorText(m_lastError); }
    int ActiveBufferCount() const { return static_cast<int>(m_buffers.size()); }
    const WaveFormatEx& openFormat() const { return m_openFormat; }

    const TWaveAudioEvent& onActivate() const { return m_onActivate; }
    void setOnActivate(TWaveAudioEvent handler) { m_onActivate = std::move(handler); }
    const TWaveAudioEvent& onDeactivate() const { return m_onDeactivate; }
    void setOnDeactivate(TWaveAudioEvent handler) { m_onDeactivate = std::move(handler); }
    const TWaveAudioEvent& onPause() const { return m_onPause; }
    void setOnPause(TWaveAudioEvent handler) { m_onPause = std::move(handler); }
    const TWaveAudioEvent& onResume() const { return m_onResume; }
    void setOnResume(TWaveAudioEvent handler) { m_onResume = std::move(handler); }
    // Assigned: a failed device call is reported here and nothing is raised.
    const TWaveAudioEvent& onError() const { return m_onError; }
    void setOnError(TWaveAudioEvent handler) { m_onError = std::move(handler); }
    const TWaveAudioLevelEvent& onLevel() const { return m_onLevel; }
    void setOnLevel(TWaveAudioLevelEvent handler) { m_onLevel = std::move(handler); }
    const TWaveAudioBufferEvent& onBuffer() const { return m_onBuffer; }
    void setOnBuffer(TWaveAudioBufferEvent handler) { m_onBuffer = std::move(handler); }

    virtual bool InternalOpen() = 0;
    virtual bool InternalClose() = 0;
    virtual bool InternalPause() = 0;
    virtual bool InternalResume() = 0;

    virtual quint32 GetPosition() = 0;
    virtual quint32 GetDeviceCount() = 0;
    virtual QString GetDeviceName() = 0;
    virtual PcmPresets GetDeviceFormats() = 0;
    virtual bool IsFormatSupported(const WaveFormatEx& format) = 0;
    bool IsPcmFormatSupported(int preset);

protected:
    // Hands one device notification to its handler; a failure inside a handler goes to the
    // application's reporter and the event loop goes on.
    virtual void WndProc(const WaveNotification& notification);
    virtual void WimOpen() {}
    virtual void WimClose() {}
    virtual void WimData(WaveHeader*) {}
    virtual void WomOpen() {}
    virtual void WomClose() {}
    virtual void WomDone(WaveHeader*) {}

    virtual bool GetActive() = 0;
    virtual bool GetPaused() = 0;
    virtual QString GetErrorText(WaveResult code) = 0;
    // Data source: the format for the next open, or none. freeIt comes in true; left true, the
    // component deletes the block (allocated with new) once the open is done.
    virtual const WaveFormatBlock* GetWaveFormat(bool& freeIt) = 0;
    virtual WaveResult CheckDevice() = 0;
    virtual void RequestBuffers() = 0;

    virtual void DoActivate();
    virtual void DoDeactivate();
    virtual void DoPause();
    virtual void DoResume();
    virtual void DoError();
    virtual void DoLevel(const void* buffer, quint32 size);
    virtual void DoBuffer(const void* buffer, quint32 size);

    // Stores the code; a failure goes to OnError or raises EWaveAudioSysError.
    bool Success(WaveResult code);
    quint32 CalcBufferSize() const { return BufferSizeFor(m_openFormat); }
    // Bytes in one buffer of BufferLength milliseconds of `format`, in whole sample blocks.
    quint32 BufferSizeFor(const WaveFormatEx& format) const;
    quint32 MmTimeToMs(const MmTime& time) const;
    // Size 0 releases the header (and its block, if it owns one). Otherwise the header is
    // allocated if needed and given either an own block of `size` bytes (external none) or
    // the external block, which it does not own.
    bool ReallocateBuffer(WaveHeader*& header, quint32 size, char* external);
    void releaseAllBuffers();
    // Handles only this component's notifications until the device has closed; false when the
    // device stayed open past the close timeout.
    bool Wait();
    void postFillRequest();
    void discardNotifications();

    bool closing() const { return m_closing; }
    void setClosing(bool closing) { m_closing = closing; }
    bool destroying() const { return m_destroying; }
    void beginDestruction() { m_destroying = true; }
    void setOpenFormat(const WaveFormatEx& format);
    quintptr identity() const { return reinterpret_cast<quintptr>(this); }
    WaveNotificationTarget* notificationTarget() const { return m_window.get(); }

private:
    quint32 m_deviceId = WaveMapper;
    WaveResult m_lastError = wrNoError;
    quint16 m_bufferLength = DefaultBufferLength;
    quint16 m_bufferCount = DefaultBufferCount;
    bool m_closing = false;
    bool m_destroying = false;
    int m_closeTimeoutMs = DefaultCloseTimeoutMs;
    std::unique_ptr<WaveNotificationWindow> m_window;
    std::vector<WaveHeader*> m_buffers;
    WaveFormatEx m_openFormat;

    TWaveAudioEvent m_onActivate;
    TWaveAudioEvent m_onDeactivate;
    TWaveAudioEvent m_onPause;
    TWaveAudioEvent m_onResume;
    TWaveAudioEvent m_onError;
    TWaveAudioLevelEvent m_onLevel;
    TWaveAudioBufferEvent m_onBuffer;
};

Q_DECLARE_OPERATORS_FOR_FLAGS(TWaveAudioIO::DeviceSupports)

// a * b / c rounded to nearest (halves away from zero), 0 for c = 0.
quint32 MulDiv(quint64 a, quint64 b, quint64 c);
