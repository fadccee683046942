#include "audio/WaveUtils.h"

#include <QtEndian>

#include <algorithm>
#include <array>
#include <cmath>
#include <cstring>

EWaveAudioError::EWaveAudioError(const QString& message)
    : std::runtime_error(message.toStdString())
{
}

QString EWaveAudioError::message() const
{
    return QString::fromUtf8(what());
}

WaveFormatBlock::WaveFormatBlock(QByteArray body)
    : m_bytes(std::move(body))
{
    if (m_bytes.size() < MinimumSize)
        m_bytes.append(MinimumSize - m_bytes.size(), '\0');
}

WaveFormatBlock::WaveFormatBlock(const WaveFormatEx& format)
    : m_bytes(MinimumSize, '\0')
{
    auto* p = reinterpret_cast<uchar*>(m_bytes.data());
    qToLittleEndian(format.formatTag, p);
    qToLittleEndian(format.channels, p + 2);
    qToLittleEndian(format.samplesPerSec, p + 4);
    qToLittleEndian(format.avgBytesPerSec, p + 8);
    qToLittleEndian(format.blockAlign, p + 12);
    qToLittleEndian(format.bitsPerSample, p + 14);
    qToLittleEndian(format.extraSize, p + 16);
}

WaveFormatEx WaveFormatBlock::format() const
{
    const auto* p = reinterpret_cast<const uchar*>(m_bytes.constData());
    WaveFormatEx f;
    f.formatTag = qFromLittleEndian<quint16>(p);
    f.channels = qFromLittleEndian<quint16>(p + 2);
    f.samplesPerSec = qFromLittleEndian<quint32>(p + 4);
    f.avgBytesPerSec = qFromLittleEndian<quint32>(p + 8);
    f.blockAlign = qFromLittleEndian<quint16>(p + 12);
    f.bitsPerSample = qFromLittleEndian<quint16>(p + 14);
    f.extraSize = qFromLittleEndian<quint16>(p + 16);
    return f;
}

std::optional<PcmPresetFormat> PcmPresetValues(int preset)
{
    if (preset < 1 || preset > PcmPresetCount)
        return std::nullopt;
    static constexpr std::array<quint32, 5> rates{8000, 11025, 22050, 44100, 48000};
    const int index = preset - 1;
    const int column = index % 4; // mono 8, stereo 8, mono 16, stereo 16
    return PcmPresetFormat{
        (column % 2 == 0) ? PcmChannels::Mono : PcmChannels::Stereo,
        rates[static_cast<std::size_t>(index / 4)],
        (column < 2) ? PcmBits::Bits8 : PcmBits::Bits16,
    };
}

void MakePcmFormat(WaveFormatEx& format, PcmChannels channels, quint32 samplesPerSec, PcmBits bits)
{
    format.formatTag = WaveFormatPcm;
    format.channels = static_cast<quint16>(channels);
    format.samplesPerSec = samplesPerSec;
    format.bitsPerSample = static_cast<quint16>(bits);
    format.blockAlign = static_cast<quint16>(
        std::lround(format.channels * format.bitsPerSample / 8.0));
    format.avgBytesPerSec = format.blockAlign * samplesPerSec;
    format.extraSize = 0;
}

void MakePcmFormat(WaveFormatEx& format, int preset)
{
    if (const auto values = PcmPresetValues(preset))
        MakePcmFormat(format, values->channels, values->samplesPerSec, values->bits);
}

int PeakLevel(const void* buffer, quint32 byteCount, int bitsPerSample)
{
    const auto* bytes = static_cast<const uchar*>(buffer);
    switch (bitsPerSample) {
    case 8: {
        int peak = 0;
        for (quint32 i = 0; i < byteCount; ++i)
            peak = std::max<int>(peak, bytes[i]);
        return (peak >= 128 ? peak - 128 : 0) * 100 / 127;
    }
    case 16: {
        int peak = 0;
        for (quint32 i = 0; i + 1 < byteCount; i += 2)
            peak = std::max<int>(peak, qFromLittleEndian<qint16>(bytes + i));
        return peak * 100 / 32767;
    }
    default:
        return -1;
    }
}

quint32 ToFixed16(double value)
{
    const double whole = std::trunc(value);
    double f = value - whole;
    quint32 fraction = 0;
    for (int i = 0; i < 16; ++i) {
        fraction *= 2;
        f *= 2;
        if (f >= 1) {
            fraction += 1;
            f -= 1;
        }
    }
    const auto high = static_cast<quint16>(static_cast<qint32>(whole));
    return (quint32(high) << 16) | fraction;
}

double FromFixed16(quint32 value)
{
    const auto high = static_cast<qint16>(value >> 16);
    return high + (value & 0xFFFF) / 65536.0;
}

void TStream::readBuffer(void* buffer, qint64 count)
{
    if (count != 0 && read(buffer, count) != count)
        throw std::runtime_error("Stream read error");
}

namespace {

using FourCC = std::array<char, 4>;
constexpr FourCC RiffId{'R', 'I', 'F', 'F'};
constexpr FourCC WaveId{'W', 'A', 'V', 'E'};
constexpr FourCC FormatId{'f', 'm', 't', ' '};
constexpr FourCC DataId{'d', 'a', 't', 'a'};
constexpr qint64 ChunkHeaderSize = 8;
constexpr quint32 MinimumFormatChunk = 14;

struct Chunk {
    FourCC id{};
    quint32 size = 0;
    qint64 bodyOffset = 0;
};

// Reads chunk headers from the stream's position on, skipping each chunk that does not match
// by its size rounded up to even, until `wanted` or the end (of the stream or of `end`).
class ChunkWalker {
public:
    explicit ChunkWalker(TStream& stream) : m_stream(stream) {}

    std::optional<Chunk> find(const FourCC& wanted, qint64 end)
    {
        for (;;) {
            const qint64 start = m_stream.position();
            if (start + ChunkHeaderSize > end)
                return std::nullopt;
            std::array<uchar, ChunkHeaderSize> header{};
            if (m_stream.read(header.data(), ChunkHeaderSize) != ChunkHeaderSize)
                return std::nullopt;
            Chunk chunk;
            std::memcpy(chunk.id.data(), header.data(), 4);
            chunk.size = qFromLittleEndian<quint32>(header.data() + 4);
            chunk.bodyOffset = start + ChunkHeaderSize;
            if (chunk.id == wanted)
                return chunk;
            m_stream.setPosition(chunk.bodyOffset + chunk.size + (chunk.size & 1));
        }
    }

    // A RIFF chunk whose form type (the first four body bytes) is `formType`.
    std::optional<Chunk> findRiff(const FourCC& formType, qint64 end)
    {
        for (;;) {
            auto chunk = find(RiffId, end);
            if (!chunk)
                return std::nullopt;
            FourCC form{};
            if (m_stream.read(form.data(), 4) != 4)
                return std::nullopt;
            if (form == formType)
                return chunk;
            m_stream.setPosition(chunk->bodyOffset + chunk->size + (chunk->size & 1));
        }
    }

private:
    TStream& m_stream;
};

bool parseFrom(TStream& stream, WaveClipInfo& info)
{
    const qint64 streamSize = stream.size();
    if (streamSize == 0)
        return false;

    ChunkWalker walker(stream);
    stream.setPosition(0);
    const auto riff = walker.findRiff(WaveId, streamSize);
    if (!riff)
        return false;
    const qint64 riffEnd = riff->bodyOffset + riff->size;

    const auto fmt = walker.find(FormatId, riffEnd);
    if (!fmt || fmt->size < MinimumFormatChunk)
        return false;

    // A size the stream cannot hold would fail the read anyway; refuse it before allocating,
    // so that a damaged header cannot ask for gigabytes.
    if (fmt->size > streamSize - stream.position())
        return false;
    QByteArray body(std::max<qint64>(fmt->size, WaveFormatBlock::MinimumSize), '\0');
    if (stream.read(body.data(), fmt->size) != fmt->size)
        return false;
    WaveFormatBlock format(std::move(body));

    // The walk goes on right after the format body: a pad byte after an odd size is not skipped.
    const auto data = walker.find(DataId, riffEnd);
    if (!data)
        return false;

    const qint64 present = std::max<qint64>(0, streamSize - data->bodyOffset);
    info.format = std::move(format);
    info.dataSize = static_cast<quint32>(std::min<qint64>(data->size, present));
    info.dataOffset = static_cast<qint32>(data->bodyOffset);
    return true;
}

} // namespace

bool ParseWaveClip(TStream& stream, WaveClipInfo& info)
{
    info = WaveClipInfo{};
    struct Rewind {
        TStream& stream;
        ~Rewind() { stream.setPosition(0); }
    } rewind{stream};
    return parseFrom(stream, info);
}
