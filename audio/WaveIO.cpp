#include "audio/WaveIO.h"

#include "core/ApplicationErrors.h"

#include <QDeadlineTimer>

#include <algorithm>
#include <cstdlib>

quint32 MulDiv(quint64 a, quint64 b, quint64 c)
{
    if (c == 0)
        return 0;
    return static_cast<quint32>((a * b + c / 2) / c);
}

TWaveAudioIO::TWaveAudioIO(QObject* owner)
    : QObject(owner)
    , m_window(std::make_unique<WaveNotificationWindow>(
          [this](const WaveNotification& notification) { WndProc(notification); }))
{
}

TWaveAudioIO::~TWaveAudioIO()
{
    // The subclass that owns the device has closed it already; queued notifications go with
    // the window.
    m_window.reset();
    releaseAllBuffers();
}

void TWaveAudioIO::setActive(bool value)
{
    if (value == GetActive())
        return;
    if (value)
        InternalOpen();
    else
        InternalClose();
}

void TWaveAudioIO::setBufferLength(quint16 milliseconds)
{
    milliseconds = std::max(milliseconds, MinimumBufferLength);
    if (milliseconds == m_bufferLength)
        return;
    m_bufferLength = milliseconds;
    if (GetActive())
        RequestBuffers();
}

void TWaveAudioIO::setBufferCount(quint16 count)
{
    if (count == m_bufferCount)
        return;
    m_bufferCount = count;
    if (GetActive())
        RequestBuffers();
}

bool TWaveAudioIO::IsPcmFormatSupported(int preset)
{
    WaveFormatEx format;
    MakePcmFormat(format, preset);
    return IsFormatSupported(format);
}

void TWaveAudioIO::WndProc(const WaveNotification& notification)
{
    try {
        switch (notification.message) {
        case WaveMessage::WomOpen: WomOpen(); break;
        case WaveMessage::WomClose: WomClose(); break;
        case WaveMessage::WomDone: WomDone(notification.header); break;
        case WaveMessage::WimOpen: WimOpen(); break;
        case WaveMessage::WimClose: WimClose(); break;
        case WaveMessage::WimData: WimData(notification.header); break;
        }
    } catch (const std::exception& failure) {
        ReportApplicationException(failure);
    } catch (...) {
        ReportApplicationException(std::runtime_error("Unknown failure while handling a sound device notification"));
    }
}

void TWaveAudioIO::DoActivate()
{
    if (m_onActivate)
        m_onActivate(this);
}

void TWaveAudioIO::DoDeactivate()
{
    DoLevel(nullptr, 0);
    m_closing = false;
    if (m_onDeactivate && !m_destroying)
        m_onDeactivate(this);
}

void TWaveAudioIO::DoPause()
{
    if (m_onPause)
        m_onPause(this);
}

void TWaveAudioIO::DoResume()
{
    if (m_onResume)
        m_onResume(this);
}

void TWaveAudioIO::DoError()
{
    if (m_onError) {
        m_onError(this);
        return;
    }
    throw EWaveAudioSysError(LastErrorText());
}

void TWaveAudioIO::DoLevel(const void* buffer, quint32 size)
{
    if (!m_onLevel || m_destroying || m_openFormat.formatTag != WaveFormatPcm)
        return;
    m_onLevel(this, PeakLevel(buffer, size, m_openFormat.bitsPerSample));
}

void TWaveAudioIO::DoBuffer(const void* buffer, quint32 size)
{
    if (m_onBuffer && !m_destroying)
        m_onBuffer(this, buffer, size);
}

bool TWaveAudioIO::Success(WaveResult code)
{
    m_lastError = code;
    if (code == wrNoError)
        return true;
    DoError();
    return false;
}

quint32 TWaveAudioIO::BufferSizeFor(const WaveFormatEx& format) const
{
    quint32 size = MulDiv(m_bufferLength, format.avgBytesPerSec, 1000);
    const quint32 align = format.blockAlign;
    if (align != 0 && size % align != 0)
        size += align - size % align;
    return size;
}

quint32 TWaveAudioIO::MmTimeToMs(const MmTime& time) const
{
    switch (time.type) {
    case MmTime::Milliseconds:
        return time.value;
    case MmTime::Samples:
        return MulDiv(1000, time.value, m_openFormat.samplesPerSec);
    case MmTime::Bytes:
        return MulDiv(1000, time.value, m_openFormat.avgBytesPerSec);
    case MmTime::Smpte:
        return (time.smpte.hour * 3600u + time.smpte.minute * 60u + time.smpte.second) * 1000u;
    default:
        return 0;
    }
}

bool TWaveAudioIO::ReallocateBuffer(WaveHeader*& header, quint32 size, char* external)
{
    const auto release = [this](WaveHeader*& h) {
        m_buffers.erase(std::remove(m_buffers.begin(), m_buffers.end(), h), m_buffers.end());
        if (h->user == identity())
            std::free(h->data);
        delete h;
        h = nullptr;
    };

    if (size == 0) {
        if (header)
            release(header);
        return true;
    }

    const bool own = external == nullptr;
    if (!header) {
        header = new (std::nothrow) WaveHeader{};
        if (header) {
            try {
                m_buffers.push_back(header);
            } catch (const std::bad_alloc&) {
                delete header;
                header = nullptr;
            }
        }
        if (!header) {
            Success(wrNoMem);
            return false;
        }
    }
    if (header->user != identity()) {
        header->data = nullptr;
        header->bufferLength = 0;
    }

    char* block = header->data;
    if (own) {
        if (header->bufferLength != size) {
            block = static_cast<char*>(std::realloc(header->data, size));
            if (!block) {
                release(header);
                Success(wrNoMem);
                return false;
            }
        }
    } else {
        if (header->user == identity())
            std::free(header->data);
        block = external;
    }

    *header = WaveHeader{};
    if (own)
        header->user = identity();
    header->data = block;
    header->bufferLength = size;
    return true;
}

void TWaveAudioIO::releaseAllBuffers()
{
    while (!m_buffers.empty()) {
        WaveHeader* header = m_buffers.back();
        ReallocateBuffer(header, 0, nullptr);
    }
}

bool TWaveAudioIO::Wait()
{
    const QDeadlineTimer deadline(m_closeTimeoutMs);
    while (GetActive()) {
        if (!m_window->dispatchNext(deadline))
            return false;
    }
    return true;
}

void TWaveAudioIO::postFillRequest()
{
    m_window->post({WaveMessage::WomDone, nullptr});
}

void TWaveAudioIO::discardNotifications()
{
    m_window->discardPending();
}

void TWaveAudioIO::setOpenFormat(const WaveFormatEx& format)
{
    m_openFormat = format;
    m_openFormat.extraSize = 0; // only tag to bits per sample are taken
}
