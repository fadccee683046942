// Writes the warning clip, assets/warning.wav: 6 575 samples of 16-bit mono PCM at 44 100 Hz.
// A struck, bell-like tone: a full-scale click in the first millisecond, then a cluster of
// partials around 600 Hz over a low body and a bright top, decaying to about 5 % of full scale.
// Deterministic (fixed partials, fixed-seed noise); it checks its own result before writing.
//
//   make_warning_clip [output path]     (default: the source tree's assets/warning.wav)

#include <array>
#include <cmath>
#include <cstdint>
#include <cstdio>
#include <fstream>
#include <numbers>
#include <string>
#include <vector>

namespace {

constexpr int SampleRate = 44100;
constexpr int SampleCount = 6575;
// The partials' envelope at the last sample. Scaled to the click's full-scale peak, the tail
// then sits near 5 % of full scale.
constexpr double EndLevel = 0.09;

struct Partial {
    double frequency;
    double amplitude;
    double phase;
    double decayFactor; // 1: the common decay; > 1 dies away faster
};

// About half the energy lies between 400 and 800 Hz; the rest from ~100 Hz to several kHz.
constexpr std::array<Partial, 9> Partials{{
    {110.0, 0.20, 0.0, 1.0},
    {220.0, 0.30, 0.7, 1.0},
    {330.0, 0.28, 1.9, 1.0},
    {520.0, 0.50, 0.3, 1.0},
    {660.0, 0.46, 2.2, 1.0},
    {1040.0, 0.34, 1.1, 1.0},
    {1560.0, 0.26, 2.9, 1.0},
    {2350.0, 0.18, 0.5, 1.5},
    {3900.0, 0.12, 1.6, 2.0},
}};

// Small fixed-seed generator for the click.
class Lcg {
public:
    double next()
    {
        m_state = m_state * 6364136223846793005ULL + 1442695040888963407ULL;
        return static_cast<double>(m_state >> 11) / static_cast<double>(1ULL << 53) * 2.0 - 1.0;
    }

private:
    std::uint64_t m_state = 0x5EED1234ABCDULL;
};

std::vector<double> synthesize()
{
    const double duration = (SampleCount - 1) / double(SampleRate);
    const double decay = std::log(1.0 / EndLevel) / duration; // envelope reaches EndLevel at the end
    std::vector<double> signal(SampleCount);
    Lcg noise;
    for (int n = 0; n < SampleCount; ++n) {
        const double t = n / double(SampleRate);
        double x = 0;
        for (const auto& p : Partials)
            x += p.amplitude * std::exp(-decay * p.decayFactor * t)
                * std::sin(2 * std::numbers::pi * p.frequency * t + p.phase);
        // The strike: a burst of noise over the first millisecond.
        x += 1.6 * std::exp(-t / 0.00025) * noise.next();
        signal[static_cast<std::size_t>(n)] = x;
    }
    return signal;
}

std::vector<std::int16_t> quantize(const std::vector<double>& signal)
{
    double peak = 0;
    for (double x : signal)
        peak = std::max(peak, std::fabs(x));
    std::vector<std::int16_t> samples;
    samples.reserve(signal.size());
    for (double x : signal)
        samples.push_back(static_cast<std::int16_t>(std::lround(x / peak * 32767.0)));
    return samples;
}

// Share of the energy between lo and hi Hz, by a plain DFT over the whole clip.
double bandShare(const std::vector<std::int16_t>& samples, double lo, double hi)
{
    const auto n = samples.size();
    double band = 0;
    double total = 0;
    for (std::size_t k = 1; k <= n / 2; ++k) {
        double re = 0;
        double im = 0;
        const double w = 2 * std::numbers::pi * double(k) / double(n);
        for (std::size_t i = 0; i < n; ++i) {
            re += samples[i] * std::cos(w * double(i));
            im -= samples[i] * std::sin(w * double(i));
        }
        const double energy = re * re + im * im;
        const double frequency = double(k) * SampleRate / double(n);
        total += energy;
        if (frequency >= lo && frequency <= hi)
            band += energy;
    }
    return band / total;
}

double peakShare(const std::vector<std::int16_t>& samples, int from, int to)
{
    int peak = 0;
    for (int i = from; i < to; ++i)
        peak = std::max(peak, std::abs(int(samples[static_cast<std::size_t>(i)])));
    return peak / 32767.0;
}

void put16(std::string& out, std::uint16_t v)
{
    out += char(v & 0xFF);
    out += char(v >> 8);
}

void put32(std::string& out, std::uint32_t v)
{
    put16(out, std::uint16_t(v & 0xFFFF));
    put16(out, std::uint16_t(v >> 16));
}

std::string riffWave(const std::vector<std::int16_t>& samples)
{
    const auto dataBytes = static_cast<std::uint32_t>(samples.size() * 2);
    std::string out;
    out += "RIFF";
    put32(out, 4 + (8 + 16) + (8 + dataBytes));
    out += "WAVE";
    out += "fmt ";
    put32(out, 16);
    put16(out, 1);              // PCM
    put16(out, 1);              // mono
    put32(out, SampleRate);
    put32(out, SampleRate * 2); // bytes per second
    put16(out, 2);              // block align
    put16(out, 16);             // bits per sample
    out += "data";
    put32(out, dataBytes);
    for (std::int16_t s : samples)
        put16(out, static_cast<std::uint16_t>(s));
    return out;
}

} // namespace

int main(int argc, char** argv)
{
    const std::string path = argc > 1 ? argv[1] : std::string(WARNING_CLIP_PATH);
    const auto samples = quantize(synthesize());

    const double midBand = bandShare(samples, 400, 800);
    const double lowEdge = bandShare(samples, 0, 90);
    const double first = peakShare(samples, 0, SampleRate / 1000);
    const double last = peakShare(samples, SampleCount - SampleRate / 200, SampleCount);
    std::printf("energy 400-800 Hz: %.3f, below 90 Hz: %.3f\n", midBand, lowEdge);
    std::printf("peak in the first ms: %.3f, in the last 5 ms: %.3f\n", first, last);
    const bool ok = midBand > 0.45 && midBand < 0.55 && lowEdge < 0.05 && first == 1.0
        && last > 0.03 && last < 0.07;
    if (!ok) {
        std::fprintf(stderr, "make_warning_clip: the clip misses its targets; nothing written\n");
        return 1;
    }

    const std::string bytes = riffWave(samples);
    std::ofstream file(path, std::ios::binary | std::ios::trunc);
    file.write(bytes.data(), static_cast<std::streamsize>(bytes.size()));
    if (!file) {
        std::fprintf(stderr, "make_warning_clip: cannot write %s\n", path.c_str());
        return 1;
    }
    std::printf("wrote %zu bytes to %s\n", bytes.size(), path.c_str());
    return 0;
}
