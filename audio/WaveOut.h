#pragma once

// TWaveAudioOut: plays PCM through an output device. A subclass supplies the format and the
// data (GetWaveFormat, and FillBuffer or GetData); buffers are queued, refilled and released
// as the device reports them done, on the thread that created the component.

#include "audio/WaveIO.h"

class TWaveAudioOut : public TWaveAudioIO {
    Q_OBJECT
    Q_PROPERTY(quint16 Volume READ volume WRITE setVolume)
    Q_PROPERTY(double Pitch READ pitch WRITE setPitch)
    Q_PROPERTY(double PlaybackRate READ playbackRate WRITE setPlaybackRate)
    Q_PROPERTY(TWaveOutOptions Options READ options WRITE setOptions)

public:
    enum TWaveOutOption {
        woSetVolume = 0x1,
        woSetPitch = 0x2,
        woSetPlaybackRate = 0x4,
    };
    Q_DECLARE_FLAGS(TWaveOutOptions, TWaveOutOption)
    Q_FLAG(TWaveOutOptions)

    static constexpr quint16 DefaultVolume = 75;

    // Takes its device from the process-wide default factory.
    explicit TWaveAudioOut(QObject* owner = nullptr);
    ~TWaveAudioOut() override;

    // Percent; read from the device while it is open and supports volume.
    quint16 volume();
    void setVolume(quint16 percent);
    double pitch();
    void setPitch(double value);
    double playbackRate();
    void setPlaybackRate(double value);
    TWaveOutOptions options() const { return m_options; }
    void setOptions(TWaveOutOptions value);
    // The stored values, whatever the device reports.
    quint16 storedVolume() const { return m_volume; }
    double storedPitch() const { return m_pitch; }
    double storedPlaybackRate() const { return m_playbackRate; }

    bool allocatesBuffers() const { return m_allocatesBuffers; }
    void setAllocatesBuffers(bool value) { m_allocatesBuffers = value; }

    bool InternalOpen() override;
    bool InternalClose() override;
    bool InternalPause() override;
    bool InternalResume() override;

    quint32 GetPosition() override;
    quint32 GetDeviceCount() override;
    QString GetDeviceName() override;
    PcmPresets GetDeviceFormats() override;
    bool IsFormatSupported(const WaveFormatEx& format) override;
    DeviceSupports GetDeviceSupports();

    // Queues caller data as one buffer. With freeIt the buffer (from std::malloc) goes to the
    // component, which frees it with the header.
    virtual bool Write(char* buffer, quint32 size, bool freeIt, quint32 loops);

protected:
    void WomOpen() override;
    void WomClose() override;
    void WomDone(WaveHeader* header) override;

    bool GetActive() override { return m_handleHeld; }
    bool GetPaused() override { return m_paused; }
    QString GetErrorText(WaveResult code) override;
    WaveResult CheckDevice() override;
    void RequestBuffers() override;

    virtual bool WriteBuffer(WaveHeader& header);
    // Data source, used when the component allocates the buffers: fill up to size bytes.
    virtual quint32 FillBuffer(char* buffer, quint32 size, quint32& loops);
    // Data source, used otherwise: the next stretch of the subclass's own data. freeIt comes in
    // true; left true, the header takes the block (from std::malloc) over.
    virtual quint32 GetData(char*& buffer, quint32& loops, bool& freeIt);

    void ApplyOptions();
    // Leaves no buffer queued and the device closed, whatever state it is in (a drain
    // included). Never raises; failures go to the application's reporter.
    void Halt();
    // For destructors: events stop firing, then Halt.
    void shutdown();

private:
    void refill(WaveHeader*& header, bool& queued);
    void retireUnqueued(WaveHeader*& header, bool queued);
    void releaseReturned(WaveHeader*& header);
    // Closes and remembers it, so that a fill request handled before the close report does
    // not close a second time.
    WaveResult closeDevice();
    bool waitForClose();
    void abandonDevice();
    bool readCaps(WaveOutCaps& caps);

    std::unique_ptr<WaveOutDevice> m_device;
    bool m_handleHeld = false;
    bool m_closeIssued = false;
    bool m_paused = false;
    quint16 m_volume = DefaultVolume;
    double m_pitch = 1.0;
    double m_playbackRate = 1.0;
    TWaveOutOptions m_options;
    bool m_allocatesBuffers = true;
};

Q_DECLARE_OPERATORS_FOR_FLAGS(TWaveAudioOut::TWaveOutOptions)
