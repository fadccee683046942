#include "audio/WaveOutDevice.h"

#include "audio/AlsaWaveOutDevice.h"

#include <utility>

QString StandardWaveErrorText(WaveResult code)
{
    switch (code) {
    case wrNoError: return QStringLiteral("The operation completed successfully.");
    case wrError: return QStringLiteral("The sound device reported an unspecified error.");
    case wrBadDeviceId: return QStringLiteral("The sound output device number is out of range.");
    case wrNotEnabled: return QStringLiteral("The sound output device is not enabled.");
    case wrAllocated: return QStringLiteral("The sound output device is already in use.");
    case wrInvalidHandle: return QStringLiteral("The sound output device is not open.");
    case wrNoDriver: return QStringLiteral("No sound output device is available.");
    case wrNoMem: return QStringLiteral("Not enough memory for the sound buffers.");
    case wrNotSupported: return QStringLiteral("The sound output device does not support this function.");
    case wrInvalidParameter: return QStringLiteral("An invalid parameter was passed to the sound output device.");
    case wrBadFormat: return QStringLiteral("The sound output device cannot play this format.");
    case wrStillPlaying: return QStringLiteral("Sound buffers are still playing.");
    case wrUnprepared: return QStringLiteral("The sound buffer has not been prepared.");
    default: return {};
    }
}

namespace {

WaveOutDeviceFactory& installedFactory()
{
    static WaveOutDeviceFactory factory;
    return factory;
}

} // namespace

WaveOutDeviceFactory SetDefaultWaveOutDeviceFactory(WaveOutDeviceFactory factory)
{
    return std::exchange(installedFactory(), std::move(factory));
}

std::unique_ptr<WaveOutDevice> CreateWaveOutDevice()
{
    if (const auto& factory = installedFactory())
        return factory();
    return std::make_unique<AlsaWaveOutDevice>();
}
