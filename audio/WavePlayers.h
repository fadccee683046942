#pragma once

// TAudioPlayer: plays its own in-memory clip. The device reads the samples in place (nothing
// is copied), so the player stops before the clip's memory may change.

#include "audio/WaveOut.h"
#include "audio/WaveStorage.h"

#include <QByteArray>
#include <QList>
#include <QVariant>

// One name/value pair of a component's stored layout.
struct StoredProperty {
    QString name;
    QVariant value;
    friend bool operator==(const StoredProperty&, const StoredProperty&) = default;
};
using StoredProperties = QList<StoredProperty>;

class TAudioPlayer : public TWaveAudioOut {
    Q_OBJECT

public:
    explicit TAudioPlayer(QObject* owner = nullptr);
    ~TAudioPlayer() override;

    TWave* wave() { return &m_wave; }
    // Copies the whole of `source` (read from its start) into the player's own clip; none
    // clears the clip; the player's own clip changes nothing.
    void setWave(TStream* source);

    // The stored "Data" property: a complete RIFF/WAVE file.
    void readData(const QByteArray& riffWaveBytes);
    QByteArray writeData() const;

    // The published properties that differ from their defaults, and "Data" for a clip that is
    // not empty, in published order.
    StoredProperties storedProperties() const;
    // Applies a stored layout; an unknown name or a value of the wrong type raises
    // std::invalid_argument before anything is applied.
    void loadStoredProperties(const StoredProperties& properties);

    quint32 playPosition() const { return m_playPosition; }
    quint32 playEnd() const { return m_playEnd; }

protected:
    const WaveFormatBlock* GetWaveFormat(bool& freeIt) override;
    quint32 GetData(char*& buffer, quint32& loops, bool& freeIt) override;

private:
    void WaveChanged(TWave* sender);

    TWave m_wave;
    quint32 m_playPosition = 0;
    quint32 m_playEnd = 0;
};
