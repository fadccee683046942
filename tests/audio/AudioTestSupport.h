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

// Runs the event loop until nothing is left to do, a close report still on its way included.
inline void settle(const SimulatedWaveOutDevice& device)
{
    drainEvents();
    waitUntil([&] { return !device.closeReportPending(); });
    drainEvents();
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

// What a simulated device had seen, kept beyond the device's life.
struct DeviceSummary {
    bool open = false;
    int prepares = 0;
    int pauses = 0;
    int resets = 0;
    std::size_t written = 0;
};

inline DeviceSummary summarise(const SimulatedWaveOutDevice& device)
{
    using Call = SimulatedWaveOutDevice::Call;
    return {device.isOpen(), device.callCount(Call::Prepare), device.callCount(Call::Pause),
            device.callCount(Call::Reset), device.written().size()};
}

// Installs a factory of simulated devices for one test and keeps the last one created, and a
// summary of the last one destroyed.
class SimulatedDevices {
public:
    SimulatedDevices()
        : m_scope([this] {
              auto device = std::make_unique<SummarisedDevice>(&m_lastDestroyed);
              m_last = device.get();
              device->setCloseReport(m_closeReport);
              if (m_configure)
                  m_configure(*device);
              return device;
          })
    {
    }

    // Applied to each new device before the component sees it.
    void configure(std::function<void(SimulatedWaveOutDevice&)> configure) { m_configure = std::move(configure); }
    void setCloseReport(SimulatedWaveOutDevice::CloseReport mode) { m_closeReport = mode; }
    SimulatedWaveOutDevice& last() const { return *m_last; }
    const DeviceSummary& lastDestroyed() const { return m_lastDestroyed; }

private:
    class SummarisedDevice : public SimulatedWaveOutDevice {
    public:
        explicit SummarisedDevice(DeviceSummary* summary) : m_summary(summary) {}
        ~SummarisedDevice() override { *m_summary = summarise(*this); }

    private:
        DeviceSummary* m_summary;
    };

    SimulatedWaveOutDevice* m_last = nullptr;
    DeviceSummary m_lastDestroyed;
    SimulatedWaveOutDevice::CloseReport m_closeReport = SimulatedWaveOutDevice::CloseReport::AtOnce;
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

// The two ways a device reports its close: from inside close(), or later from its own thread.
struct CloseReportRow {
    const char* name;
    SimulatedWaveOutDevice::CloseReport mode;
};

// Names the row in test listings instead of dumping its bytes.
inline void PrintTo(const CloseReportRow& row, std::ostream* out)
{
    *out << row.name;
}

inline const CloseReportRow CloseReportRows[] = {
    {"CloseReportedAtOnce", SimulatedWaveOutDevice::CloseReport::AtOnce},
    {"CloseReportedLater", SimulatedWaveOutDevice::CloseReport::Later},
};

inline std::string closeReportRowName(const ::testing::TestParamInfo<CloseReportRow>& info)
{
    return info.param.name;
}

} // namespace audiotest
