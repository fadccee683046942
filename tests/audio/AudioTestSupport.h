#pragma once

// Helpers shared by the sound tests: event-loop waiting, RIFF clip building, the committed
// warning clip, and a simulated device installed for one test.

#include "audio/SimulatedWaveOutDevice.h"
#include "audio/WaveOutDevice.h"

#include "core/ApplicationErrors.h"

#include <QByteArray>
#include <QCoreApplication>
#include <QElapsedTimer>
#include <QFile>
#include <QtEndian>

#include <gtest/gtest.h>

#include <functional>
#include <memory>
#include <string>
#include <vector>

namespace audiotest {

// Runs the event loop until `condition` holds or `timeoutMs` pass.
inline bool waitUntil(const std::function<bool()>& condition, int timeoutMs = 3000)
{
    QElapsedTimer timer;
    timer.start();
    while (!condition()) {
        if (timer.elapsed() > timeoutMs)
            return false;
        QCoreApplication::processEvents(QEventLoop::AllEvents, 5);
    }
    return true;
}

// Runs the event loop until nothing is left to do.
inline void drainEvents()
{
    for (int i = 0; i < 20; ++i)
        QCoreApplication::processEvents();
}

inline QByteArray le16(quint16 v)
{
    QByteArray b(2, '\0');
    qToLittleEndian(v, b.data());
    return b;
}

inline QByteArray le32(quint32 v)
{
    QByteArray b(4, '\0');
    qToLittleEndian(v, b.data());
    return b;
}

// A chunk: identifier, declared size (the body's size unless given), body, no pad byte.
inline QByteArray chunk(const char* id, const QByteArray& body, qint64 declaredSize = -1)
{
    return QByteArray(id, 4) + le32(static_cast<quint32>(declaredSize < 0 ? body.size() : declaredSize)) + body;
}

inline QByteArray riff(const char* formType, const QByteArray& chunks, qint64 declaredSize = -1)
{
    const QByteArray body = QByteArray(formType, 4) + chunks;
    return chunk("RIFF", body, declaredSize);
}

// The first `size` bytes of a "fmt " body for PCM mono 44 100 Hz 16-bit.
inline QByteArray pcmFormatBody(int size = 16)
{
    QByteArray body = le16(1) + le16(1) + le32(44100) + le32(88200) + le16(2) + le16(16) + le16(0) + le16(0);
    return body.left(size);
}

inline QByteArray sampleBytes(int count, char seed = 1)
{
    QByteArray bytes(count, '\0');
    for (int i = 0; i < count; ++i)
        bytes[i] = static_cast<char>(seed + i * 7);
    return bytes;
}

// A complete PCM clip (mono 44 100 Hz 16-bit) with `dataBytes` bytes of samples.
inline QByteArray pcmClip(int dataBytes)
{
    return riff("WAVE", chunk("fmt ", pcmFormatBody()) + chunk("data", sampleBytes(dataBytes)));
}

inline QByteArray warningClip()
{
    QFile file(QStringLiteral(VORNALE_WARNING_CLIP));
    if (!file.open(QIODevice::ReadOnly))
        return {};
    return file.readAll();
}

// Installs a factory of simulated devices for one test and keeps the last one created.
class SimulatedDevices {
public:
    SimulatedDevices()
        : m_scope([this] {
              auto device = std::make_unique<SimulatedWaveOutDevice>();
              m_last = device.get();
              if (m_configure)
                  m_configure(*device);
              return device;
          })
    {
    }

    // Applied to each new device before the component sees it.
    void configure(std::function<void(SimulatedWaveOutDevice&)> configure) { m_configure = std::move(configure); }
    SimulatedWaveOutDevice& last() const { return *m_last; }

private:
    SimulatedWaveOutDevice* m_last = nullptr;
    std::function<void(SimulatedWaveOutDevice&)> m_configure;
    ScopedWaveOutDeviceFactory m_scope;
};

// A test on simulated devices that collects what reaches the application-wide failure reporter.
class SimulatedDeviceTest : public ::testing::Test {
protected:
    void SetUp() override
    {
        m_previousReporter = SetApplicationExceptionReporter(
            [this](const std::exception& failure) { reported.push_back(failure.what()); });
    }
    void TearDown() override { SetApplicationExceptionReporter(std::move(m_previousReporter)); }

    SimulatedWaveOutDevice& device() { return devices.last(); }

    SimulatedDevices devices;
    std::vector<std::string> reported;

private:
    ApplicationExceptionReporter m_previousReporter;
};

} // namespace audiotest
