#include "audio/WaveOut.h"

#include "core/ApplicationErrors.h"

#include <QThread>

#include <optional>

namespace {

// Runs a non-throwing `action` when the scope ends, also when an exception passes.
template <typename Action>
class Finally {
public:
    explicit Finally(Action action) : m_action(std::move(action)) {}
    ~Finally() { m_action(); }
    Finally(const Finally&) = delete;
    Finally& operator=(const Finally&) = delete;

private:
    Action m_action;
};

} // namespace

TWaveAudioOut::TWaveAudioOut(QObject* owner)
    : TWaveAudioIO(owner)
    , m_device(CreateWaveOutDevice())
{
}

TWaveAudioOut::~TWaveAudioOut()
{
    shutdown();
}

void TWaveAudioOut::shutdown()
{
    beginDestruction();
    Halt();
}

quint16 TWaveAudioOut::volume()
{
    if (m_handleHeld && GetDeviceSupports().testFlag(supVolume)) {
        quint32 value = 0;
        if (m_device->volume(value) == wrNoError)
            return static_cast<quint16>(MulDiv(value & 0xFFFF, 100, 0xFFFF));
    }
    return m_volume;
}

void TWaveAudioOut::setVolume(quint16 percent)
{
    if (percent == m_volume)
        return;
    m_volume = percent;
    if (m_handleHeld && m_options.testFlag(woSetVolume) && GetDeviceSupports().testFlag(supVolume))
        m_device->setVolume(MulDiv(m_volume, 0xFFFF, 100));
}

double TWaveAudioOut::pitch()
{
    if (!m_handleHeld)
        return m_pitch;
    quint32 value = 0;
    if (GetDeviceSupports().testFlag(supPitch) && m_device->pitch(value) == wrNoError)
        return FromFixed16(value);
    return 1.0;
}

void TWaveAudioOut::setPitch(double value)
{
    if (value == m_pitch)
        return;
    m_pitch = value;
    if (m_handleHeld && m_options.testFlag(woSetPitch) && GetDeviceSupports().testFlag(supPitch))
        m_device->setPitch(ToFixed16(m_pitch));
}

double TWaveAudioOut::playbackRate()
{
    if (!m_handleHeld)
        return m_playbackRate;
    quint32 value = 0;
    if (GetDeviceSupports().testFlag(supPlaybackRate) && m_device->playbackRate(value) == wrNoError)
        return FromFixed16(value);
    return 1.0;
}

void TWaveAudioOut::setPlaybackRate(double value)
{
    if (value == m_playbackRate)
        return;
    m_playbackRate = value;
    if (m_handleHeld && m_options.testFlag(woSetPlaybackRate) && GetDeviceSupports().testFlag(supPlaybackRate))
        m_device->setPlaybackRate(ToFixed16(m_playbackRate));
}

void TWaveAudioOut::setOptions(TWaveOutOptions value)
{
    if (value == m_options)
        return;
    m_options = value;
    if (m_handleHeld)
        ApplyOptions();
}

void TWaveAudioOut::ApplyOptions()
{
    // Device failures of these settings are ignored.
    const DeviceSupports supports = GetDeviceSupports();
    if (m_options.testFlag(woSetVolume) && supports.testFlag(supVolume))
        m_device->setVolume(MulDiv(m_volume, 0xFFFF, 100));
    if (m_options.testFlag(woSetPitch) && supports.testFlag(supPitch))
        m_device->setPitch(ToFixed16(m_pitch));
    if (m_options.testFlag(woSetPlaybackRate) && supports.testFlag(supPlaybackRate))
        m_device->setPlaybackRate(ToFixed16(m_playbackRate));
}

bool TWaveAudioOut::InternalOpen()
{
    if (m_handleHeld) {
        if (closing())
            return false;
        throw EWaveAudioInvalidOperation(DeviceAlreadyOpenMessage);
    }
    bool freeIt = true;
    const WaveFormatBlock* block = GetWaveFormat(freeIt);
    const std::unique_ptr<const WaveFormatBlock> owned(freeIt ? block : nullptr);

    std::optional<WaveFormatEx> format;
    if (block)
        format = block->format();
    const WaveFormatEx* requested = format ? &*format : nullptr;
    // Buffers this component allocates are sized from the format; one that yields no bytes
    // would leave nothing to fill.
    if (format && m_allocatesBuffers && BufferSizeFor(*format) == 0)
        return Success(wrBadFormat);
    if (!Success(m_device->query(deviceID(), requested)))
        return false;
    if (format)
        setOpenFormat(*format);
    const WaveResult result = m_device->open(deviceID(), requested, notificationTarget());
    m_handleHeld = result == wrNoError;
    m_closeIssued = false;
    return Success(result);
}

bool TWaveAudioOut::InternalClose()
{
    if (closing())
        return false; // a drain ends by itself
    if (!m_handleHeld)
        throw EWaveAudioInvalidOperation(DeviceAlreadyClosedMessage);
    setClosing(true);
    const Finally clearClosing([this] { setClosing(false); });
    const bool result = ActiveBufferCount() == 0 ? Success(closeDevice()) : Success(m_device->reset());
    QThread::yieldCurrentThread();
    if (result)
        waitForClose();
    return result;
}

void TWaveAudioOut::Halt()
{
    if (!m_handleHeld)
        return;
    setClosing(true);
    // Results are ignored: this must end in a closed device whatever happened before.
    if (ActiveBufferCount() > 0)
        m_device->reset();
    else if (!m_closeIssued)
        closeDevice();
    QThread::yieldCurrentThread();
    try {
        waitForClose();
    } catch (const std::exception& failure) {
        ReportApplicationException(failure);
        if (m_handleHeld)
            abandonDevice();
    }
    setClosing(false);
}

bool TWaveAudioOut::waitForClose()
{
    if (Wait())
        return true;
    abandonDevice();
    return false;
}

WaveResult TWaveAudioOut::closeDevice()
{
    const WaveResult result = m_device->close();
    m_closeIssued = result == wrNoError;
    return result;
}

void TWaveAudioOut::abandonDevice()
{
    m_device->abandon();
    m_closeIssued = false;
    discardNotifications();
    releaseAllBuffers();
    m_handleHeld = false;
    DoDeactivate();
}

bool TWaveAudioOut::InternalPause()
{
    if (m_paused)
        return false;
    if (m_handleHeld && !Success(m_device->pause()))
        return false;
    m_paused = true;
    DoPause();
    return true;
}

bool TWaveAudioOut::InternalResume()
{
    if (!m_paused)
        return false;
    if (m_handleHeld && !Success(m_device->restart()))
        return false;
    m_paused = false;
    DoResume();
    return true;
}

void TWaveAudioOut::WomOpen()
{
    // A close by request that came before this report (a device with its own thread reports the
    // open late): the device is closed or closing already, so nothing is set up or requested.
    if (closing() || m_closeIssued) {
        DoActivate();
        return;
    }
    setClosing(false);
    ApplyOptions();
    if (m_paused)
        m_paused = Success(m_device->pause());
    RequestBuffers();
    DoActivate();
}

void TWaveAudioOut::WomClose()
{
    m_handleHeld = false;
    m_closeIssued = false;
    DoDeactivate();
}

void TWaveAudioOut::RequestBuffers()
{
    for (int i = ActiveBufferCount(); i < bufferCount(); ++i) {
        if (!m_handleHeld || closing())
            break;
        postFillRequest();
    }
}

void TWaveAudioOut::WomDone(WaveHeader* header)
{
    bool queued = false;
    try {
        refill(header, queued);
    } catch (...) {
        try {
            retireUnqueued(header, queued);
            releaseReturned(header);
        } catch (const std::exception& failure) {
            ReportApplicationException(failure);
        }
        throw;
    }
    retireUnqueued(header, queued);
    releaseReturned(header);
}

void TWaveAudioOut::retireUnqueued(WaveHeader*& header, bool queued)
{
    // A buffer whose refill failed would stay in the list with nobody to return it, and no
    // close could ever complete: release it, and end playback when it was the last.
    if (!header || queued || closing())
        return;
    ReallocateBuffer(header, 0, nullptr);
    if (ActiveBufferCount() == 0)
        setClosing(true);
}

void TWaveAudioOut::releaseReturned(WaveHeader*& header)
{
    // A buffer that is not refilled goes, and the last one out closes the device.
    if (closing() && header) {
        if (header->flags & WaveHeader::Prepared)
            m_device->unprepare(*header);
        ReallocateBuffer(header, 0, nullptr);
    }
    if (closing() && ActiveBufferCount() == 0 && m_handleHeld && !m_closeIssued)
        Success(closeDevice());
}

void TWaveAudioOut::refill(WaveHeader*& header, bool& queued)
{
    if (header)
        Success(m_device->unprepare(*header));
    if (closing() || !m_handleHeld)
        return;
    if (ActiveBufferCount() > bufferCount()) {
        // A surplus buffer after BufferCount was lowered: retire it, so that a close still
        // finds every buffer returned.
        ReallocateBuffer(header, 0, nullptr);
        return;
    }

    quint32 bytes = 0;
    quint32 loops = 0;
    if (m_allocatesBuffers) {
        // A size of 0 releases the header: then there is nothing to fill and the data has ended.
        if (ReallocateBuffer(header, CalcBufferSize(), nullptr) && header) {
            bytes = FillBuffer(header->data, header->bufferLength, loops);
            if (bytes < header->bufferLength)
                ReallocateBuffer(header, bytes, nullptr);
        }
    } else {
        char* block = nullptr;
        bool freeIt = true;
        bytes = GetData(block, loops, freeIt);
        if (!block)
            bytes = 0;
        ReallocateBuffer(header, bytes, block);
        if (header && freeIt)
            header->user = identity();
    }
    setClosing(closing() || bytes == 0);
    if (!closing() && header) {
        if (loops != 0) {
            header->flags = WaveHeader::BeginLoop;
            header->loops = loops;
        }
        queued = WriteBuffer(*header);
    }
}

bool TWaveAudioOut::WriteBuffer(WaveHeader& header)
{
    const bool wasPrepared = header.flags & WaveHeader::Prepared;
    if (!wasPrepared && !Success(m_device->prepare(header)))
        return false;
    const auto undoPrepare = [&] {
        if (!wasPrepared)
            m_device->unprepare(header);
    };
    try {
        DoBuffer(header.data, header.bufferLength);
        DoLevel(header.data, header.bufferLength);
        if (Success(m_device->write(header)))
            return true;
    } catch (...) {
        undoPrepare();
        throw;
    }
    undoPrepare();
    return false;
}

bool TWaveAudioOut::Write(char* buffer, quint32 size, bool freeIt, quint32 loops)
{
    if (!buffer || size == 0)
        return false;
    WaveHeader* header = nullptr;
    if (!ReallocateBuffer(header, size, buffer))
        return false;
    if (freeIt)
        header->user = identity();
    if (loops != 0) {
        header->flags = WaveHeader::BeginLoop;
        header->loops = loops;
    }
    bool written = false;
    try {
        written = WriteBuffer(*header);
    } catch (...) {
        written = false;
    }
    if (!written)
        ReallocateBuffer(header, 0, nullptr);
    return written;
}

quint32 TWaveAudioOut::FillBuffer(char*, quint32, quint32&)
{
    return 0;
}

quint32 TWaveAudioOut::GetData(char*&, quint32&, bool&)
{
    return 0;
}

quint32 TWaveAudioOut::GetPosition()
{
    if (!m_handleHeld)
        return 0;
    MmTime time;
    time.type = MmTime::Milliseconds;
    if (!Success(m_device->position(time)))
        return 0;
    return MmTimeToMs(time);
}

quint32 TWaveAudioOut::GetDeviceCount()
{
    return m_device->deviceCount();
}

bool TWaveAudioOut::readCaps(WaveOutCaps& caps)
{
    return m_device->capabilities(deviceID(), caps) == wrNoError;
}

QString TWaveAudioOut::GetDeviceName()
{
    WaveOutCaps caps;
    return readCaps(caps) ? caps.productName : QString();
}

WaveResult TWaveAudioOut::CheckDevice()
{
    WaveOutCaps caps;
    return m_device->capabilities(deviceID(), caps);
}

TWaveAudioIO::DeviceSupports TWaveAudioOut::GetDeviceSupports()
{
    WaveOutCaps caps;
    if (!readCaps(caps))
        return {};
    DeviceSupports supports;
    supports.setFlag(supAsync, !(caps.support & WaveOutCaps::Sync));
    supports.setFlag(supVolume, caps.support & WaveOutCaps::Volume);
    supports.setFlag(supStereoVolume, (caps.support & WaveOutCaps::Volume) && (caps.support & WaveOutCaps::LrVolume));
    supports.setFlag(supPitch, caps.support & WaveOutCaps::Pitch);
    supports.setFlag(supPlaybackRate, caps.support & WaveOutCaps::PlaybackRate);
    supports.setFlag(supPosition, caps.support & WaveOutCaps::SampleAccurate);
    return supports;
}

PcmPresets TWaveAudioOut::GetDeviceFormats()
{
    WaveOutCaps caps;
    if (!readCaps(caps))
        return {};
    PcmPresets presets{ppMono8Bit8000Hz, ppStereo8Bit8000Hz, ppMono16Bit8000Hz, ppStereo16Bit8000Hz};
    for (int bit = 0; bit < 12; ++bit) {
        if (caps.formats & (1u << bit))
            presets.insert(static_cast<PcmPreset>(5 + bit));
    }
    return presets;
}

bool TWaveAudioOut::IsFormatSupported(const WaveFormatEx& format)
{
    return m_device->query(deviceID(), &format) == wrNoError;
}

QString TWaveAudioOut::GetErrorText(WaveResult code)
{
    return m_device->errorText(code);
}
