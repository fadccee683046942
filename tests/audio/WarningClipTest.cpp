// The committed warning clip: its exact layout and the character of its sound.
#include "audio/WaveUtils.h"
#include "tests/audio/AudioTestSupport.h"

#include <gtest/gtest.h>

#include <cmath>
#include <numbers>
#include <vector>

using namespace audiotest;

namespace {

std::vector<double> samplesOf(const QByteArray& clip)
{
    std::vector<double> samples;
    for (int i = 44; i + 1 < clip.size(); i += 2)
        samples.push_back(qFromLittleEndian<qint16>(clip.constData() + i));
    return samples;
}

// Energy at DFT bin k (Goertzel), for k = 1..n/2.
std::vector<double> binEnergies(const std::vector<double>& x)
{
    const std::size_t n = x.size();
    std::vector<double> energies(n / 2 + 1, 0.0);
    for (std::size_t k = 1; k <= n / 2; ++k) {
        const double coefficient = 2 * std::cos(2 * std::numbers::pi * double(k) / double(n));
        double s1 = 0;
        double s2 = 0;
        for (double sample : x) {
            const double s0 = sample + coefficient * s1 - s2;
            s2 = s1;
            s1 = s0;
        }
        energies[k] = s1 * s1 + s2 * s2 - coefficient * s1 * s2;
    }
    return energies;
}

TEST(WarningClip, HasTheExactHeader)
{
    const QByteArray clip = warningClip();
    ASSERT_EQ(clip.size(), 13194);
    const QByteArray header = QByteArray("RIFF") + le32(13186) + "WAVE" + "fmt " + le32(16) + le16(1) + le16(1)
        + le32(44100) + le32(88200) + le16(2) + le16(16) + "data" + le32(13150);
    EXPECT_EQ(clip.left(44), header);
    EXPECT_EQ(samplesOf(clip).size(), 6575u);
}

TEST(WarningClip, OpensFullScaleAndDecaysToAboutFivePercent)
{
    const auto samples = samplesOf(warningClip());
    ASSERT_EQ(samples.size(), 6575u);
    const auto peak = [&](std::size_t from, std::size_t to) {
        double p = 0;
        for (std::size_t i = from; i < to; ++i)
            p = std::max(p, std::fabs(samples[i]));
        return p / 32767;
    };
    EXPECT_EQ(peak(0, 44), 1.0);          // the first millisecond reaches full scale
    EXPECT_GT(peak(6575 - 220, 6575), 0.03); // the last 5 ms sit near 5 %
    EXPECT_LT(peak(6575 - 220, 6575), 0.07);
    EXPECT_LT(peak(3000, 3300), peak(1000, 1300)); // decaying all along
}

TEST(WarningClip, CarriesAboutHalfItsEnergyBetween400And800Hz)
{
    const auto samples = samplesOf(warningClip());
    const auto energies = binEnergies(samples);
    const double binHz = 44100.0 / double(samples.size());
    double total = 0;
    double middle = 0;
    double low = 0;
    double high = 0;
    for (std::size_t k = 1; k < energies.size(); ++k) {
        const double hz = double(k) * binHz;
        total += energies[k];
        if (hz >= 400 && hz <= 800)
            middle += energies[k];
        else if (hz < 90)
            low += energies[k];
        else if (hz > 2000)
            high += energies[k];
    }
    EXPECT_GT(middle / total, 0.45);
    EXPECT_LT(middle / total, 0.55);
    EXPECT_LT(low / total, 0.05);   // the rest starts about 100 Hz
    EXPECT_GT(high / total, 0.01);  // and reaches several kilohertz
}

} // namespace
