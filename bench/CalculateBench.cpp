// The whole calculate command as the button runs it: field texts in, every result written and
// the level bar painted, on the real main window (offscreen).
#include "app/ApplicationWindows.h"
#include "audio/SimulatedWaveOutDevice.h"
#include "audio/WaveOutDevice.h"
#include "widgets/AdvEdit.h"

#include <QApplication>
#include <benchmark/benchmark.h>
#include <memory>

namespace {

ApplicationWindows* g_windows = nullptr;

void setField(const char* name, const char* text)
{
    g_windows->Form1.findChild<TAdvEdit*>(QString::fromLatin1(name))->setText(QString::fromLatin1(text));
}

void BM_CalculateCommand(benchmark::State& state)
{
    const char* const subjects[][6] = {
        {"120", "80", "70", "70", "175", "30"},
        {"160", "100", "90", "110", "170", "65"},
    };
    std::size_t i = 0;
    for (auto _ : state) {
        state.PauseTiming();
        const auto& s = subjects[i++ % 2]; // alternate, so every result and the bar change
        const char* const fields[] = {"AdvEdit2", "AdvEdit3", "AdvEdit4", "AdvEdit5", "AdvEdit6", "AdvEdit7"};
        for (int f = 0; f < 6; ++f)
            setField(fields[f], s[f]);
        state.ResumeTiming();
        g_windows->Form1.BtnCalcClick();
    }
}
BENCHMARK(BM_CalculateCommand)->Unit(benchmark::kMicrosecond);

} // namespace

int main(int argc, char** argv)
{
    if (qEnvironmentVariableIsEmpty("QT_QPA_PLATFORM"))
        qputenv("QT_QPA_PLATFORM", "offscreen");
    QApplication app(argc, argv);
    ScopedWaveOutDeviceFactory silent([] { return std::make_unique<SimulatedWaveOutDevice>(); });
    auto windows = std::make_unique<ApplicationWindows>();
    g_windows = windows.get();
    windows->Form1.show();
    QApplication::processEvents();

    benchmark::Initialize(&argc, argv);
    benchmark::RunSpecifiedBenchmarks();
    benchmark::Shutdown();
    return 0;
}
