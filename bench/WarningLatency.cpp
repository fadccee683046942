// Time from an input error (the calculate command starting on bad input) to the first warning
// sample reaching ALSA. Run with ALSA's default PCM pointed at a file (scripts/bench.sh does).
#include "app/ApplicationWindows.h"
#include "audio/AlsaWaveOutDevice.h"
#include "audio/WaveOutDevice.h"

#include <QApplication>
#include <QElapsedTimer>
#include <QTimer>
#include <algorithm>
#include <chrono>
#include <cstdio>
#include <memory>
#include <vector>

int main(int argc, char** argv)
{
    if (qEnvironmentVariableIsEmpty("QT_QPA_PLATFORM"))
        qputenv("QT_QPA_PLATFORM", "offscreen");
    QApplication app(argc, argv);

    AlsaWaveOutDevice* device = nullptr;
    ScopedWaveOutDeviceFactory capture([&device] {
        auto alsa = std::make_unique<AlsaWaveOutDevice>();
        device = alsa.get();
        return alsa;
    });
    ApplicationWindows windows;
    windows.Form1.show();
    QApplication::processEvents();

    // The fields hold the reset values, which the calculation rejects.
    std::vector<double> latenciesMs;
    for (int run = 0; run < 15; ++run) {
        // Close the error window once the clip has had time to play out.
        QTimer::singleShot(400, &windows.FrmError, [&windows] { windows.FrmError.close(); });
        const auto start = std::chrono::steady_clock::now();
        windows.Form1.BtnCalcClick();
        const auto first = device ? device->firstWriteTime() : std::nullopt;
        if (!first || *first < start) {
            std::fprintf(stderr, "no warning sample reached ALSA on run %d\n", run);
            return 1;
        }
        latenciesMs.push_back(std::chrono::duration<double, std::milli>(*first - start).count());
    }
    std::sort(latenciesMs.begin(), latenciesMs.end());
    // QByteArray::number always writes "."; printf would follow the user's locale, which
    // QApplication installed, and bench.sh reads these figures.
    const auto ms = [](double value) { return QByteArray::number(value, 'f', 2); };
    std::printf("input error to first warning sample: median %s ms, min %s ms, max %s ms (%zu runs)\n",
                ms(latenciesMs[latenciesMs.size() / 2]).constData(), ms(latenciesMs.front()).constData(),
                ms(latenciesMs.back()).constData(), latenciesMs.size());
    return 0;
}
