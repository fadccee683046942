#pragma once

// Device-free pieces of the sound output: the exception family, the wave format block,
// the PCM presets and the RIFF/WAVE chunk reader.

#include <QByteArray>
#include <QString>
#include <QtGlobal>

#include <optional>
#include <set>
#include <stdexcept>

// Common base of every failure the sound components raise; never raised itself.
class EWaveAudioError : public std::runtime_error {
public:
    explicit EWaveAudioError(const QString& message);
    QString message() const;
};

// A device call failed; the message is the device's text for the result code.
class EWaveAudioSysError : public EWaveAudioError {
public:
    using EWaveAudioError::EWaveAudioError;
};

// Opening an open device or closing a closed one.
class EWaveAudioInvalidOperation : public EWaveAudioError {
public:
    using EWaveAudioError::EWaveAudioError;
};

inline const QString DeviceAlreadyOpenMessage = QStringLiteral("Device is aleardy open");
inline const QString DeviceAlreadyClosedMessage = QStringLiteral("Device is aleardy close");

inline constexpr quint16 WaveFormatPcm = 1;

// The fields of a "fmt " chunk body in their stored order (little-endian on disk).
struct WaveFormatEx {
    quint16 formatTag = 0;
    quint16 channels = 0;
    quint32 samplesPerSec = 0;
    quint32 avgBytesPerSec = 0;
    quint16 blockAlign = 0;
    quint16 bitsPerSample = 0;
    quint16 extraSize = 0;

    friend bool operator==(const WaveFormatEx&, const WaveFormatEx&) = default;
};

// A format block as the subsystem holds it: the raw chunk body, never shorter than 18 bytes
// (a shorter body is zero-filled up to the extra-size field).
class WaveFormatBlock {
public:
    static constexpr qsizetype MinimumSize = 18;
    static constexpr qsizetype OpenedSize = 16; // tag to bits per sample: what a device takes

    explicit WaveFormatBlock(QByteArray body);
    explicit WaveFormatBlock(const WaveFormatEx& format);

    WaveFormatEx format() const;
    const QByteArray& bytes() const { return m_bytes; }
    qsizetype size() const { return m_bytes.size(); }

private:
    QByteArray m_bytes;
};

// The PCM formats by number; 0 names none.
enum PcmPreset : quint8 {
    ppNone = 0,
    ppMono8Bit8000Hz, ppStereo8Bit8000Hz, ppMono16Bit8000Hz, ppStereo16Bit8000Hz,
    ppMono8Bit11025Hz, ppStereo8Bit11025Hz, ppMono16Bit11025Hz, ppStereo16Bit11025Hz,
    ppMono8Bit22050Hz, ppStereo8Bit22050Hz, ppMono16Bit22050Hz, ppStereo16Bit22050Hz,
    ppMono8Bit44100Hz, ppStereo8Bit44100Hz, ppMono16Bit44100Hz, ppStereo16Bit44100Hz,
    ppMono8Bit48000Hz, ppStereo8Bit48000Hz, ppMono16Bit48000Hz, ppStereo16Bit48000Hz,
};
inline constexpr int PcmPresetCount = 20;
using PcmPresets = std::set<PcmPreset>;

enum class PcmChannels : quint16 { Mono = 1, Stereo = 2 };
enum class PcmBits : quint16 { Bits8 = 8, Bits16 = 16 };

struct PcmPresetFormat {
    PcmChannels channels;
    quint32 samplesPerSec;
    PcmBits bits;
};
// The preset's three values; none for ppNone or a value outside 1..20.
std::optional<PcmPresetFormat> PcmPresetValues(int preset);

void MakePcmFormat(WaveFormatEx& format, PcmChannels channels, quint32 samplesPerSec, PcmBits bits);
// Leaves the record unchanged for a value outside 1..20.
void MakePcmFormat(WaveFormatEx& format, int preset);

// Positive peak of PCM data in percent of full scale, or -1 for a width other than 8 or 16 bits.
int PeakLevel(const void* buffer, quint32 byteCount, int bitsPerSample);

// 16.16 fixed point as the device takes pitch and playback rate.
quint32 ToFixed16(double value);
double FromFixed16(quint32 value);

// Minimal byte stream: what the chunk reader and the clip's load and save need.
class TStream {
public:
    enum class Origin { Beginning, Current, End };

    virtual ~TStream() = default;
    virtual qint64 read(void* buffer, qint64 count) = 0;
    virtual qint64 write(const void* buffer, qint64 count) = 0;
    virtual qint64 seek(qint64 offset, Origin origin) = 0;
    virtual qint64 size() const = 0;

    qint64 position() { return seek(0, Origin::Current); }
    void setPosition(qint64 position) { seek(position, Origin::Beginning); }
    // Reads exactly count bytes or fails with std::runtime_error.
    void readBuffer(void* buffer, qint64 count);
};

struct WaveClipInfo {
    std::optional<WaveFormatBlock> format;
    quint32 dataSize = 0;
    qint32 dataOffset = 0;
};

// Walks the RIFF chunks of a complete WAVE file. A "data" chunk that claims more bytes than the
// stream holds is cut to the bytes present. The stream is left at position 0.
bool ParseWaveClip(TStream& stream, WaveClipInfo& info);
