#include "audio/SimulatedWaveOutDevice.h"

#include <algorithm>

SimulatedWaveOutDevice::SimulatedWaveOutDevice()
{
    m_caps.productName = QStringLiteral("Simulated output");
    m_caps.formats = 0xFFF;
    m_caps.channels = 2;
    m_caps.support = WaveOutCaps::Volume | WaveOutCaps::LrVolume | WaveOutCaps::Pitch
        | WaveOutCaps::PlaybackRate | WaveOutCaps::SampleAccurate;
}

SimulatedWaveOutDevice::~SimulatedWaveOutDevice()
{
    joinCloseReporter();
}

int SimulatedWaveOutDevice::callCount(Call call) const
{
    return static_cast<int>(std::count(m_calls.begin(), m_calls.end(), call));
}

void SimulatedWaveOutDevice::releaseNotifications()
{
    const auto held = std::exchange(m_held, {});
    for (const auto& notification : held)
        m_target->post(notification);
}

void SimulatedWaveOutDevice::completeBuffers(int count)
{
    while (count != 0 && !m_queue.empty()) {
        WaveHeader* header = m_queue.front();
        m_queue.pop_front();
        m_played.append(header->data, header->bufferLength);
        finish(*header);
        if (count > 0)
            --count;
    }
}

WaveResult SimulatedWaveOutDevice::capabilities(quint32 deviceId, WaveOutCaps& caps)
{
    if (const auto failure = enter(Call::Capabilities))
        return failure;
    if (deviceId != WaveMapper && deviceId >= m_deviceCount)
        return wrBadDeviceId;
    caps = m_caps;
    return wrNoError;
}

WaveResult SimulatedWaveOutDevice::query(quint32 deviceId, const WaveFormatEx* format)
{
    if (const auto failure = enter(Call::Query))
        return failure;
    if (deviceId != WaveMapper && deviceId >= m_deviceCount)
        return wrBadDeviceId;
    if (!format)
        return wrInvalidParameter;
    return format->formatTag == WaveFormatPcm ? wrNoError : wrBadFormat;
}

WaveResult SimulatedWaveOutDevice::open(quint32 deviceId, const WaveFormatEx* format, WaveNotificationTarget* target)
{
    if (const auto failure = enter(Call::Open))
        return failure;
    if (m_open)
        return wrAllocated;
    joinCloseReporter();
    if (const auto answer = query(deviceId, format)) {
        m_calls.pop_back();
        return answer;
    }
    m_calls.pop_back(); // the inner query is not a call of its own
    m_open = true;
    m_format = *format;
    m_target = target;
    notify(WaveMessage::WomOpen);
    return wrNoError;
}

WaveResult SimulatedWaveOutDevice::prepare(WaveHeader& header)
{
    if (const auto failure = enterOpen(Call::Prepare))
        return failure;
    header.flags |= WaveHeader::Prepared;
    return wrNoError;
}

WaveResult SimulatedWaveOutDevice::unprepare(WaveHeader& header)
{
    if (const auto failure = enterOpen(Call::Unprepare))
        return failure;
    if (header.flags & WaveHeader::InQueue)
        return wrStillPlaying;
    header.flags &= ~quint32(WaveHeader::Prepared);
    return wrNoError;
}

WaveResult SimulatedWaveOutDevice::write(WaveHeader& header)
{
    if (const auto failure = enterOpen(Call::Write))
        return failure;
    if (!(header.flags & WaveHeader::Prepared))
        return wrUnprepared;
    header.flags = (header.flags & ~quint32(WaveHeader::Done)) | WaveHeader::InQueue;
    m_queue.push_back(&header);
    m_written.push_back({header.data, header.bufferLength, header.flags, header.loops});
    if (m_autoComplete)
        completeBuffers(1);
    return wrNoError;
}

WaveResult SimulatedWaveOutDevice::reset()
{
    if (const auto failure = enterOpen(Call::Reset))
        return failure;
    while (!m_queue.empty()) {
        WaveHeader* header = m_queue.front();
        m_queue.pop_front();
        finish(*header);
    }
    return wrNoError;
}

WaveResult SimulatedWaveOutDevice::close()
{
    if (const auto failure = enterOpen(Call::Close))
        return failure;
    if (!m_queue.empty())
        return wrStillPlaying;
    m_open = false;
    if (m_closeReport == CloseReport::Later && !m_hold)
        reportCloseLater();
    else
        notify(WaveMessage::WomClose);
    return wrNoError;
}

void SimulatedWaveOutDevice::reportCloseLater()
{
    joinCloseReporter();
    m_closeReportPending = true;
    WaveNotificationTarget* target = m_target;
    m_closeReporter = std::thread([this, target, delay = m_closeDelay] {
        std::this_thread::sleep_for(delay);
        target->post({WaveMessage::WomClose});
        m_closeReportPending = false;
    });
}

void SimulatedWaveOutDevice::joinCloseReporter()
{
    if (m_closeReporter.joinable())
        m_closeReporter.join();
}

void SimulatedWaveOutDevice::abandon()
{
    joinCloseReporter();
    m_queue.clear();
    m_held.clear();
    m_open = false;
}

WaveResult SimulatedWaveOutDevice::pause()
{
    if (const auto failure = enterOpen(Call::Pause))
        return failure;
    m_paused = true;
    return wrNoError;
}

WaveResult SimulatedWaveOutDevice::restart()
{
    if (const auto failure = enterOpen(Call::Restart))
        return failure;
    m_paused = false;
    return wrNoError;
}

WaveResult SimulatedWaveOutDevice::position(MmTime& time)
{
    if (const auto failure = enterOpen(Call::Position))
        return failure;
    time = m_position;
    return wrNoError;
}

WaveResult SimulatedWaveOutDevice::volume(quint32& value)
{
    if (const auto failure = enterOpen(Call::Volume))
        return failure;
    value = m_volume;
    return wrNoError;
}

WaveResult SimulatedWaveOutDevice::setVolume(quint32 value)
{
    if (const auto failure = enterOpen(Call::SetVolume))
        return failure;
    m_volume = value;
    return wrNoError;
}

WaveResult SimulatedWaveOutDevice::pitch(quint32& value)
{
    if (const auto failure = enterOpen(Call::Pitch))
        return failure;
    value = m_pitch;
    return wrNoError;
}

WaveResult SimulatedWaveOutDevice::setPitch(quint32 value)
{
    if (const auto failure = enterOpen(Call::SetPitch))
        return failure;
    m_pitch = value;
    return wrNoError;
}

WaveResult SimulatedWaveOutDevice::playbackRate(quint32& value)
{
    if (const auto failure = enterOpen(Call::PlaybackRate))
        return failure;
    value = m_rate;
    return wrNoError;
}

WaveResult SimulatedWaveOutDevice::setPlaybackRate(quint32 value)
{
    if (const auto failure = enterOpen(Call::SetPlaybackRate))
        return failure;
    m_rate = value;
    return wrNoError;
}

WaveResult SimulatedWaveOutDevice::enter(Call call)
{
    m_calls.push_back(call);
    const auto failure = m_failures.find(call);
    return failure == m_failures.end() ? wrNoError : failure->second;
}

WaveResult SimulatedWaveOutDevice::enterOpen(Call call)
{
    if (const auto failure = enter(call))
        return failure;
    return m_open ? wrNoError : wrInvalidHandle;
}

void SimulatedWaveOutDevice::notify(WaveMessage message, WaveHeader* header)
{
    const WaveNotification notification{message, header};
    if (m_hold)
        m_held.push_back(notification);
    else
        m_target->post(notification);
}

void SimulatedWaveOutDevice::finish(WaveHeader& header)
{
    header.flags = (header.flags & ~quint32(WaveHeader::InQueue)) | WaveHeader::Done;
    notify(WaveMessage::WomDone, &header);
}
