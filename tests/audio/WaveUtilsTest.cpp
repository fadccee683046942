#include "audio/WaveStorage.h"
#include "audio/WaveUtils.h"
#include "tests/audio/AudioTestSupport.h"

#include <gtest/gtest.h>
#include <sys/resource.h>

using namespace audiotest;

namespace {

struct ParseRow {
    const char* name;
    QByteArray bytes;
    bool valid;
    qint32 dataOffset = 0;
    quint32 dataSize = 0;
    qsizetype formatSize = 0;
};

// Names the row in test listings instead of dumping its bytes.
void PrintTo(const ParseRow& row, std::ostream* out)
{
    *out << row.name;
}

// A stream holding `bytes`, left away from its start.
std::unique_ptr<TMemoryStream> streamOf(const QByteArray& bytes)
{
    auto stream = std::make_unique<TMemoryStream>();
    stream->write(bytes.constData(), bytes.size());
    stream->setPosition(5);
    return stream;
}

std::vector<ParseRow> parseRows()
{
    const QByteArray fmt16 = chunk("fmt ", pcmFormatBody(16));
    const QByteArray data10 = chunk("data", sampleBytes(10));
    const QByteArray fmt15 = chunk("fmt ", pcmFormatBody(15));
    return {
        {"Empty", QByteArray(), false},
        {"PlainPcm", riff("WAVE", fmt16 + data10), true, 44, 10, 18},
        {"FormatOf14BytesAccepted", riff("WAVE", chunk("fmt ", pcmFormatBody(14)) + data10), true, 42, 10, 18},
        {"FormatOf13BytesRejected", riff("WAVE", chunk("fmt ", pcmFormatBody(13)) + QByteArray(1, '\0') + data10), false},
        {"FormatOf0BytesRejected", riff("WAVE", chunk("fmt ", {}) + data10), false},
        {"FormatOf20BytesKept", riff("WAVE", chunk("fmt ", pcmFormatBody(16) + le16(2) + le16(0)) + data10), true, 48, 10, 20},
        {"FactAndListSkipped", riff("WAVE", fmt16 + chunk("fact", le32(5)) + chunk("LIST", QByteArray("INFOab", 6)) + data10), true, 44 + 12 + 14, 10, 18},
        {"OddChunkSkippedByEvenSize", riff("WAVE", fmt16 + chunk("junk", "abc") + QByteArray(1, '\0') + data10), true, 44 + 12, 10, 18},
        {"OddFormatThenPadHidesData", riff("WAVE", fmt15 + QByteArray(1, '\0') + data10), false},
        {"OddFormatThenDataAtOddOffset", riff("WAVE", fmt15 + data10), true, 43, 10, 18},
        {"DataBeforeFormatNotFound", riff("WAVE", data10 + fmt16), false},
        {"NoFormat", riff("WAVE", data10), false},
        {"NoData", riff("WAVE", fmt16), false},
        {"NotRiff", chunk("RIFX", QByteArray("WAVE") + fmt16 + data10), false},
        {"OtherFormTypeThenWave", riff("AVI ", chunk("junk", "ab")) + riff("WAVE", fmt16 + data10), true, 22 + 44, 10, 18},
        {"LeadingChunkSkipped", chunk("abcd", "xyz") + QByteArray(1, '\0') + riff("WAVE", fmt16 + data10), true, 12 + 44, 10, 18},
        {"TruncatedFormat", riff("WAVE", chunk("fmt ", pcmFormatBody(16)).left(18)), false},
        {"DataBeyondRiffEndNotFound", riff("WAVE", fmt16 + data10, 4 + 24), false},
        {"DataPastStreamEndClipped", riff("WAVE", fmt16 + chunk("data", sampleBytes(10), 5000)), true, 44, 10, 18},
        {"HeaderOnlyDataClippedToZero", riff("WAVE", fmt16 + chunk("data", {}, 100)), true, 44, 0, 18},
    };
}

class ParseWaveClipTest : public ::testing::TestWithParam<ParseRow> {};

TEST_P(ParseWaveClipTest, FollowsTheChunkRules)
{
    const ParseRow& row = GetParam();
    auto stream = streamOf(row.bytes);
    WaveClipInfo info;
    EXPECT_EQ(ParseWaveClip(*stream, info), row.valid);
    EXPECT_EQ(stream->position(), 0);
    if (!row.valid) {
        EXPECT_FALSE(info.format.has_value());
        return;
    }
    EXPECT_EQ(info.dataOffset, row.dataOffset);
    EXPECT_EQ(info.dataSize, row.dataSize);
    ASSERT_TRUE(info.format.has_value());
    EXPECT_EQ(info.format->size(), row.formatSize);
}

INSTANTIATE_TEST_SUITE_P(Rows, ParseWaveClipTest, ::testing::ValuesIn(parseRows()),
                         [](const auto& row) { return std::string(row.param.name); });

TEST(ParseWaveClip, ShortFormatIsZeroFilledToTheExtraSize)
{
    auto stream = streamOf(riff("WAVE", chunk("fmt ", pcmFormatBody(14)) + chunk("data", "ab")));
    WaveClipInfo info;
    ASSERT_TRUE(ParseWaveClip(*stream, info));
    const WaveFormatEx format = info.format->format();
    EXPECT_EQ(format.formatTag, 1);
    EXPECT_EQ(format.blockAlign, 2);
    EXPECT_EQ(format.bitsPerSample, 0);
    EXPECT_EQ(format.extraSize, 0);
}

TEST(ParseWaveClip, HugeFormatSizeFoundByFuzzingFailsWithoutAllocatingIt)
{
    rusage before{};
    getrusage(RUSAGE_SELF, &before);
    auto stream = streamOf(riff("WAVE", chunk("fmt ", pcmFormatBody(16), 0x7FFFFFF0) + chunk("data", "ab")));
    WaveClipInfo info;
    EXPECT_FALSE(ParseWaveClip(*stream, info));
    rusage after{};
    getrusage(RUSAGE_SELF, &after);
    EXPECT_LT(after.ru_maxrss - before.ru_maxrss, 64 * 1024) << "peak grew by KiB";
}

TEST(ParseWaveClip, TheWarningClipParses)
{
    const QByteArray clip = warningClip();
    ASSERT_EQ(clip.size(), 13194);
    auto stream = streamOf(clip);
    WaveClipInfo info;
    ASSERT_TRUE(ParseWaveClip(*stream, info));
    EXPECT_EQ(info.dataOffset, 44);
    EXPECT_EQ(info.dataSize, 13150u);
    ASSERT_EQ(info.format->size(), 18);
    WaveFormatEx expected;
    MakePcmFormat(expected, ppMono16Bit44100Hz);
    EXPECT_EQ(info.format->format(), expected);
}

struct PeakRow {
    const char* name;
    QByteArray bytes;
    int bits;
    int level;
};

TEST(PeakLevel, CountsOnlyThePositivePeak)
{
    const PeakRow rows[] = {
        {"Empty8", {}, 8, 0},
        {"Silence8", QByteArray("\x80\x80\x10", 3), 8, 0},
        {"Full8", QByteArray("\x80\xFF\x00", 3), 8, 100},
        {"Half8", QByteArray("\xC0", 1), 8, 50},
        {"Empty16", {}, 16, 0},
        {"Full16", le16(32767) + le16(0), 16, 100},
        {"AllNegative16", le16(static_cast<quint16>(-32768)) + le16(static_cast<quint16>(-5)), 16, 0},
        {"Quarter16", le16(8192), 16, 25},
        {"TrailingOddByteIgnored16", le16(100) + QByteArray("\x7F", 1), 16, 0},
        {"Width24", le16(1), 24, -1},
        {"Width0", le16(1), 0, -1},
    };
    for (const auto& row : rows)
        EXPECT_EQ(PeakLevel(row.bytes.constData(), static_cast<quint32>(row.bytes.size()), row.bits), row.level) << row.name;
}

TEST(MakePcmFormat, EveryPresetFollowsTheGrid)
{
    const quint32 rates[] = {8000, 11025, 22050, 44100, 48000};
    for (int preset = 1; preset <= PcmPresetCount; ++preset) {
        WaveFormatEx format;
        MakePcmFormat(format, preset);
        const int column = (preset - 1) % 4;
        const quint16 channels = column % 2 == 0 ? 1 : 2;
        const quint16 bits = column < 2 ? 8 : 16;
        const quint16 align = static_cast<quint16>(channels * bits / 8);
        const quint32 rate = rates[(preset - 1) / 4];
        const WaveFormatEx expected{1, channels, rate, align * rate, align, bits, 0};
        EXPECT_EQ(format, expected) << "preset " << preset;
    }
}

TEST(MakePcmFormat, PresetOutsideTheGridLeavesTheRecordUnchanged)
{
    const WaveFormatEx original{7, 3, 1, 2, 3, 4, 5};
    for (int preset : {0, 21, -1}) {
        WaveFormatEx format = original;
        MakePcmFormat(format, preset);
        EXPECT_EQ(format, original) << preset;
    }
}

TEST(Fixed16, ConvertsBothWays)
{
    const struct {
        double value;
        quint32 fixed;
    } rows[] = {
        {1.0, 0x00010000}, {0.5, 0x00008000}, {1.5, 0x00018000}, {0.0, 0},
        {2.25, 0x00024000}, {0.999999, 0x0000FFFF}, {-2.0, 0xFFFE0000},
    };
    for (const auto& row : rows)
        EXPECT_EQ(ToFixed16(row.value), row.fixed) << row.value;
    EXPECT_EQ(FromFixed16(0x00018000), 1.5);
    EXPECT_EQ(FromFixed16(0x00010000), 1.0);
    EXPECT_EQ(FromFixed16(0xFFFF8000), -0.5);
}

TEST(WaveExceptions, CarryTheirMessagesAndShareTheBase)
{
    const EWaveAudioInvalidOperation open(DeviceAlreadyOpenMessage);
    const EWaveAudioInvalidOperation closed(DeviceAlreadyClosedMessage);
    EXPECT_STREQ(open.what(), "Device is aleardy open");
    EXPECT_STREQ(closed.what(), "Device is aleardy close");
    EXPECT_THROW(throw EWaveAudioSysError(QStringLiteral("x")), EWaveAudioError);
}

} // namespace
