#include "audio/WavePlayers.h"

#include <stdexcept>

namespace {

const QString OptionsName = QStringLiteral("Options");
const QString VolumeName = QStringLiteral("Volume");
const QString PitchName = QStringLiteral("Pitch");
const QString PlaybackRateName = QStringLiteral("PlaybackRate");
const QString BufferLengthName = QStringLiteral("BufferLength");
const QString BufferCountName = QStringLiteral("BufferCount");
const QString DataName = QStringLiteral("Data");

QVariant checked(const StoredProperty& property, QMetaType::Type type)
{
    QVariant value = property.value;
    if (!value.canConvert(QMetaType(type)) || !value.convert(QMetaType(type)))
        throw std::invalid_argument(
            QStringLiteral("Stored property \"%1\" has a value of the wrong type").arg(property.name).toStdString());
    return value;
}

} // namespace

TAudioPlayer::TAudioPlayer(QObject* owner)
    : TWaveAudioOut(owner)
{
    m_wave.setOnChange([this](TWave* sender) { WaveChanged(sender); });
    // The device reads the clip's memory in place: let it go before that memory changes.
    m_wave.setOnBeforeChange([this](TWave*) { Halt(); });
    setAllocatesBuffers(false);
}

TAudioPlayer::~TAudioPlayer()
{
    shutdown();
    m_wave.setOnBeforeChange({});
    m_wave.setOnChange({});
}

void TAudioPlayer::setWave(TStream* source)
{
    if (source == &m_wave)
        return;
    setActive(false);
    if (source)
        m_wave.loadFromStream(*source);
    else
        m_wave.clear();
}

void TAudioPlayer::WaveChanged(TWave*)
{
    setActive(false);
}

void TAudioPlayer::readData(const QByteArray& riffWaveBytes)
{
    TMemoryStream source;
    source.write(riffWaveBytes.constData(), riffWaveBytes.size());
    m_wave.loadFromStream(source);
}

QByteArray TAudioPlayer::writeData() const
{
    return QByteArray(m_wave.memory(), static_cast<qsizetype>(m_wave.size()));
}

StoredProperties TAudioPlayer::storedProperties() const
{
    StoredProperties stored;
    if (options())
        stored.append({OptionsName, QVariant::fromValue(static_cast<int>(options()))});
    if (storedVolume() != DefaultVolume)
        stored.append({VolumeName, QVariant::fromValue(storedVolume())});
    if (storedPitch() != 1.0)
        stored.append({PitchName, storedPitch()});
    if (storedPlaybackRate() != 1.0)
        stored.append({PlaybackRateName, storedPlaybackRate()});
    if (bufferLength() != DefaultBufferLength)
        stored.append({BufferLengthName, QVariant::fromValue(bufferLength())});
    if (bufferCount() != DefaultBufferCount)
        stored.append({BufferCountName, QVariant::fromValue(bufferCount())});
    if (m_wave.size() > 0)
        stored.append({DataName, writeData()});
    return stored;
}

void TAudioPlayer::loadStoredProperties(const StoredProperties& properties)
{
    std::vector<std::function<void()>> apply;
    for (const auto& property : properties) {
        if (property.name == OptionsName) {
            const auto value = TWaveOutOptions::fromInt(checked(property, QMetaType::Int).toInt());
            apply.push_back([this, value] { setOptions(value); });
        } else if (property.name == VolumeName) {
            const auto value = checked(property, QMetaType::UShort).value<quint16>();
            apply.push_back([this, value] { setVolume(value); });
        } else if (property.name == PitchName) {
            const double value = checked(property, QMetaType::Double).toDouble();
            apply.push_back([this, value] { setPitch(value); });
        } else if (property.name == PlaybackRateName) {
            const double value = checked(property, QMetaType::Double).toDouble();
            apply.push_back([this, value] { setPlaybackRate(value); });
        } else if (property.name == BufferLengthName) {
            const auto value = checked(property, QMetaType::UShort).value<quint16>();
            apply.push_back([this, value] { setBufferLength(value); });
        } else if (property.name == BufferCountName) {
            const auto value = checked(property, QMetaType::UShort).value<quint16>();
            apply.push_back([this, value] { setBufferCount(value); });
        } else if (property.name == DataName) {
            const QByteArray value = checked(property, QMetaType::QByteArray).toByteArray();
            apply.push_back([this, value] { readData(value); });
        } else {
            throw std::invalid_argument(
                QStringLiteral("Unknown stored property \"%1\"").arg(property.name).toStdString());
        }
    }
    for (const auto& step : apply)
        step();
}

const WaveFormatBlock* TAudioPlayer::GetWaveFormat(bool& freeIt)
{
    freeIt = false; // the clip keeps its format block
    const WaveFormatBlock* format = m_wave.WaveFormat();
    m_playPosition = static_cast<quint32>(m_wave.DataOffset());
    m_playEnd = m_playPosition + m_wave.DataSize();
    return format;
}

quint32 TAudioPlayer::GetData(char*& buffer, quint32& loops, bool& freeIt)
{
    Q_UNUSED(loops);
    freeIt = false;
    if (m_playPosition >= m_playEnd)
        return 0;
    buffer = m_wave.memory() + m_playPosition;
    quint32 size = CalcBufferSize();
    if (m_playPosition + size > m_playEnd)
        size = m_playEnd - m_playPosition;
    m_playPosition += size;
    return size;
}
