#include "audio/AlsaWaveOutDevice.h"

#include <alsa/asoundlib.h>

#include <algorithm>
#include <array>

namespace {

constexpr const char* PcmName = "default";
constexpr unsigned BufferTimeUs = 100'000; // short queue in ALSA: reset and close stay prompt
constexpr unsigned PeriodTimeUs = 20'000;
constexpr int PollTimeoutMs = 20;          // how long the thread may go without looking at requests

// alsa-lib prints its own diagnostics on standard error; the component reports failures itself.
void quietAlsaErrors(const char*, int, const char*, int, const char*, ...) {}

void silenceAlsaOnce()
{
    static std::once_flag once;
    std::call_once(once, [] { snd_lib_error_set_handler(quietAlsaErrors); });
}

QString alsaText(int error)
{
    return QString::fromLocal8Bit(snd_strerror(error));
}

qint64 steadyNowNs()
{
    return std::chrono::duration_cast<std::chrono::nanoseconds>(
        std::chrono::steady_clock::now().time_since_epoch()).count();
}

// The standard formats in the order of the capability bits: 11 025, 22 050 and 44 100 Hz, each
// as mono 8, stereo 8, mono 16 and stereo 16 bits.
WaveFormatEx standardFormat(int bit)
{
    WaveFormatEx format;
    MakePcmFormat(format, 5 + bit);
    return format;
}

} // namespace

AlsaWaveOutDevice::~AlsaWaveOutDevice()
{
    abandon();
}

quint32 AlsaWaveOutDevice::deviceCount()
{
    WaveOutCaps caps;
    return capabilities(WaveMapper, caps) == wrNoError ? 1 : 0;
}

WaveResult AlsaWaveOutDevice::capabilities(quint32 deviceId, WaveOutCaps& caps)
{
    PcmSetup probe;
    if (const auto result = openPcm(deviceId, nullptr, false, probe))
        return result;
    snd_pcm_hw_params_t* params = nullptr;
    snd_pcm_hw_params_alloca(&params);
    caps = WaveOutCaps{};
    caps.productName = QString::fromLocal8Bit(snd_pcm_name(probe.pcm));
    caps.channels = 2;
    caps.support = WaveOutCaps::SampleAccurate;
    for (int bit = 0; bit < 12; ++bit) {
        const WaveFormatEx format = standardFormat(bit);
        snd_pcm_hw_params_any(probe.pcm, params);
        const auto sampleFormat = format.bitsPerSample == 8 ? SND_PCM_FORMAT_U8 : SND_PCM_FORMAT_S16_LE;
        if (snd_pcm_hw_params_test_format(probe.pcm, params, sampleFormat) == 0
            && snd_pcm_hw_params_test_channels(probe.pcm, params, format.channels) == 0
            && snd_pcm_hw_params_test_rate(probe.pcm, params, format.samplesPerSec, 0) == 0)
            caps.formats |= 1u << bit;
    }
    snd_pcm_close(probe.pcm);
    return wrNoError;
}

WaveResult AlsaWaveOutDevice::query(quint32 deviceId, const WaveFormatEx* format)
{
    if (!format)
        return fail(wrInvalidParameter, {});
    PcmSetup probe;
    const auto result = openPcm(deviceId, format, false, probe);
    if (probe.pcm)
        snd_pcm_close(probe.pcm);
    return result;
}

WaveResult AlsaWaveOutDevice::open(quint32 deviceId, const WaveFormatEx* format, WaveNotificationTarget* target)
{
    joinFinishedThread();
    if (m_thread.joinable())
        return fail(wrAllocated, {});
    PcmSetup setup;
    if (const auto result = openPcm(deviceId, format, true, setup)) {
        if (setup.pcm)
            snd_pcm_close(setup.pcm);
        return result;
    }
    m_setup = setup;
    m_target = target;
    m_open = true;
    m_resetRequested = m_closeRequested = m_abandonRequested = m_paused = false;
    m_frontOffset = m_frontPasses = 0;
    m_framesWritten = 0;
    m_framesPlayed = 0;
    m_firstWriteNs = -1;
    m_target->post({WaveMessage::WomOpen});
    m_thread = std::thread([this] { run(); });
    return wrNoError;
}

WaveResult AlsaWaveOutDevice::prepare(WaveHeader& header)
{
    std::lock_guard lock(m_mutex);
    if (!m_open)
        return wrInvalidHandle;
    header.flags |= WaveHeader::Prepared;
    return wrNoError;
}

WaveResult AlsaWaveOutDevice::unprepare(WaveHeader& header)
{
    std::lock_guard lock(m_mutex);
    if (!m_open)
        return wrInvalidHandle;
    if (header.flags & WaveHeader::InQueue)
        return wrStillPlaying;
    header.flags &= ~quint32(WaveHeader::Prepared);
    return wrNoError;
}

WaveResult AlsaWaveOutDevice::write(WaveHeader& header)
{
    std::lock_guard lock(m_mutex);
    if (!m_open)
        return wrInvalidHandle;
    if (!(header.flags & WaveHeader::Prepared))
        return wrUnprepared;
    header.flags = (header.flags & ~quint32(WaveHeader::Done)) | WaveHeader::InQueue;
    m_queue.push_back(&header);
    m_wake.notify_all();
    return wrNoError;
}

WaveResult AlsaWaveOutDevice::reset()
{
    std::lock_guard lock(m_mutex);
    if (!m_open)
        return wrInvalidHandle;
    // The thread stops and returns the buffers itself: only it knows when it has let go of them.
    m_resetRequested = true;
    m_wake.notify_all();
    return wrNoError;
}

WaveResult AlsaWaveOutDevice::close()
{
    std::lock_guard lock(m_mutex);
    if (!m_open)
        return wrInvalidHandle;
    // A reset still under way does not hold the close up: with the queue empty the thread has
    // let go of every header, and it handles the reset before the close.
    if (!m_queue.empty())
        return wrStillPlaying;
    m_open = false;
    m_closeRequested = true;
    m_wake.notify_all();
    return wrNoError;
}

void AlsaWaveOutDevice::abandon()
{
    {
        std::lock_guard lock(m_mutex);
        m_open = false;
        m_abandonRequested = true;
        m_wake.notify_all();
    }
    if (m_thread.joinable())
        m_thread.join();
    m_queue.clear();
}

WaveResult AlsaWaveOutDevice::pause()
{
    std::lock_guard lock(m_mutex);
    if (!m_open)
        return wrInvalidHandle;
    m_paused = true;
    return wrNoError;
}

WaveResult AlsaWaveOutDevice::restart()
{
    std::lock_guard lock(m_mutex);
    if (!m_open)
        return wrInvalidHandle;
    m_paused = false;
    m_wake.notify_all();
    return wrNoError;
}

WaveResult AlsaWaveOutDevice::position(MmTime& time)
{
    std::lock_guard lock(m_mutex);
    if (!m_open)
        return wrInvalidHandle;
    time.type = MmTime::Samples;
    time.value = static_cast<quint32>(m_framesPlayed.load());
    return wrNoError;
}

WaveResult AlsaWaveOutDevice::volume(quint32&) { return wrNotSupported; }
WaveResult AlsaWaveOutDevice::setVolume(quint32) { return wrNotSupported; }
WaveResult AlsaWaveOutDevice::pitch(quint32&) { return wrNotSupported; }
WaveResult AlsaWaveOutDevice::setPitch(quint32) { return wrNotSupported; }
WaveResult AlsaWaveOutDevice::playbackRate(quint32&) { return wrNotSupported; }
WaveResult AlsaWaveOutDevice::setPlaybackRate(quint32) { return wrNotSupported; }

QString AlsaWaveOutDevice::errorText(WaveResult code)
{
    QString text = StandardWaveErrorText(code);
    if (code == m_lastFailure && !m_lastDetail.isEmpty() && !text.isEmpty())
        text += QStringLiteral(" (ALSA: %1)").arg(m_lastDetail);
    return text;
}

std::optional<std::chrono::steady_clock::time_point> AlsaWaveOutDevice::firstWriteTime() const
{
    const qint64 ns = m_firstWriteNs.load();
    if (ns < 0)
        return std::nullopt;
    return std::chrono::steady_clock::time_point(
        std::chrono::duration_cast<std::chrono::steady_clock::duration>(std::chrono::nanoseconds(ns)));
}

std::size_t AlsaWaveOutDevice::queuedCount() const
{
    std::lock_guard lock(m_mutex);
    return m_queue.size();
}

WaveResult AlsaWaveOutDevice::openPcm(quint32 deviceId, const WaveFormatEx* format, bool configure, PcmSetup& setup)
{
    silenceAlsaOnce();
    if (deviceId != WaveMapper && deviceId != 0)
        return fail(wrBadDeviceId, {});
    if (int error = snd_pcm_open(&setup.pcm, PcmName, SND_PCM_STREAM_PLAYBACK, SND_PCM_NONBLOCK); error < 0) {
        setup.pcm = nullptr;
        return fail(wrNoDriver, alsaText(error));
    }
    if (!format) // a capabilities probe: the open alone is the answer
        return configure ? fail(wrInvalidParameter, {}) : wrNoError;

    const bool pcmFormat = format->formatTag == WaveFormatPcm && format->channels > 0
        && (format->bitsPerSample == 8 || format->bitsPerSample == 16)
        && format->blockAlign == format->channels * format->bitsPerSample / 8;
    if (!pcmFormat)
        return fail(wrBadFormat, {});

    snd_pcm_hw_params_t* params = nullptr;
    snd_pcm_hw_params_alloca(&params);
    snd_pcm_hw_params_any(setup.pcm, params);
    const auto sampleFormat = format->bitsPerSample == 8 ? SND_PCM_FORMAT_U8 : SND_PCM_FORMAT_S16_LE;
    if (int error = snd_pcm_hw_params_set_access(setup.pcm, params, SND_PCM_ACCESS_RW_INTERLEAVED);
        error < 0)
        return fail(wrBadFormat, alsaText(error));
    if (int error = snd_pcm_hw_params_set_format(setup.pcm, params, sampleFormat); error < 0)
        return fail(wrBadFormat, alsaText(error));
    if (int error = snd_pcm_hw_params_set_channels(setup.pcm, params, format->channels); error < 0)
        return fail(wrBadFormat, alsaText(error));
    if (int error = snd_pcm_hw_params_set_rate(setup.pcm, params, format->samplesPerSec, 0); error < 0)
        return fail(wrBadFormat, alsaText(error));
    if (!configure)
        return wrNoError;

    unsigned bufferTime = BufferTimeUs;
    unsigned periodTime = PeriodTimeUs;
    snd_pcm_hw_params_set_buffer_time_near(setup.pcm, params, &bufferTime, nullptr);
    snd_pcm_hw_params_set_period_time_near(setup.pcm, params, &periodTime, nullptr);
    if (int error = snd_pcm_hw_params(setup.pcm, params); error < 0)
        return fail(wrBadFormat, alsaText(error));

    snd_pcm_uframes_t periodFrames = 0;
    snd_pcm_hw_params_get_period_size(params, &periodFrames, nullptr);
    snd_pcm_sw_params_t* software = nullptr;
    snd_pcm_sw_params_alloca(&software);
    snd_pcm_sw_params_current(setup.pcm, software);
    // Start with the first period rather than a full ALSA buffer: a short clip starts at once.
    snd_pcm_sw_params_set_start_threshold(setup.pcm, software, std::max<snd_pcm_uframes_t>(periodFrames, 1));
    if (int error = snd_pcm_sw_params(setup.pcm, software); error < 0)
        return fail(wrError, alsaText(error));

    setup.frameBytes = format->blockAlign;
    setup.chunkFrames = static_cast<quint32>(std::max<snd_pcm_uframes_t>(periodFrames, 64));
    return wrNoError;
}

WaveResult AlsaWaveOutDevice::fail(WaveResult code, const QString& detail)
{
    m_lastFailure = code;
    m_lastDetail = detail;
    return code;
}

void AlsaWaveOutDevice::joinFinishedThread()
{
    bool finished = false;
    {
        std::lock_guard lock(m_mutex);
        finished = !m_open && (m_closeRequested || m_abandonRequested);
    }
    if (finished && m_thread.joinable())
        m_thread.join();
}

void AlsaWaveOutDevice::run()
{
    std::unique_lock lock(m_mutex);
    snd_pcm_t* pcm = m_setup.pcm;
    bool dropped = false;
    for (;;) {
        m_wake.wait(lock, [this] {
            return m_abandonRequested || m_resetRequested || m_closeRequested
                || (!m_paused && !m_queue.empty());
        });
        if (m_abandonRequested) {
            lock.unlock();
            snd_pcm_drop(pcm);
            snd_pcm_close(pcm);
            return;
        }
        if (m_resetRequested) {
            lock.unlock();
            snd_pcm_drop(pcm);
            snd_pcm_prepare(pcm);
            dropped = true;
            lock.lock();
            returnAll();
            m_resetRequested = false;
            continue;
        }
        if (m_closeRequested) {
            lock.unlock();
            if (!dropped) {
                snd_pcm_nonblock(pcm, 0);
                snd_pcm_drain(pcm);
            }
            snd_pcm_close(pcm);
            lock.lock();
            m_target->post({WaveMessage::WomClose});
            return;
        }
        dropped = false;
        feed(lock);
    }
}

void AlsaWaveOutDevice::feed(std::unique_lock<std::mutex>& lock)
{
    WaveHeader* header = m_queue.front();
    const quint32 frameBytes = m_setup.frameBytes;
    const quint32 framesLeft = (header->bufferLength - m_frontOffset) / frameBytes;
    const char* data = header->data + m_frontOffset;
    snd_pcm_t* pcm = m_setup.pcm;

    snd_pcm_sframes_t written = 0;
    if (framesLeft > 0) {
        lock.unlock();
        // Non-blocking PCM: wait for room, but come back to look at requests soon.
        snd_pcm_wait(pcm, PollTimeoutMs);
        written = snd_pcm_writei(pcm, data, std::min(framesLeft, m_setup.chunkFrames));
        if (written == -EAGAIN) {
            written = 0;
        } else if (written < 0) {
            // An underrun (after a pause, say) is recovered; anything else ends the buffer.
            written = snd_pcm_recover(pcm, static_cast<int>(written), 1) == 0 ? 0 : -1;
        } else if (written > 0) {
            qint64 none = -1;
            m_firstWriteNs.compare_exchange_strong(none, steadyNowNs());
            m_framesWritten += static_cast<quint64>(written);
            snd_pcm_sframes_t delay = 0;
            if (snd_pcm_delay(pcm, &delay) < 0 || delay < 0)
                delay = 0;
            m_framesPlayed = m_framesWritten - std::min<quint64>(m_framesWritten, static_cast<quint64>(delay));
        }
        lock.lock();
        if (m_resetRequested || m_abandonRequested)
            return; // the header goes back with the reset
    }
    if (written > 0)
        m_frontOffset += static_cast<quint32>(written) * frameBytes;
    const bool finished = written < 0 || (header->bufferLength - m_frontOffset) < frameBytes;
    if (!finished)
        return;
    m_frontOffset = 0;
    const bool loop = (header->flags & WaveHeader::BeginLoop) && ++m_frontPasses < header->loops;
    if (loop)
        return;
    m_frontPasses = 0;
    m_queue.pop_front();
    header->flags = (header->flags & ~quint32(WaveHeader::InQueue)) | WaveHeader::Done;
    m_target->post({WaveMessage::WomDone, header});
}

void AlsaWaveOutDevice::returnAll()
{
    m_frontOffset = 0;
    m_frontPasses = 0;
    while (!m_queue.empty()) {
        WaveHeader* header = m_queue.front();
        m_queue.pop_front();
        header->flags = (header->flags & ~quint32(WaveHeader::InQueue)) | WaveHeader::Done;
        m_target->post({WaveMessage::WomDone, header});
    }
}
