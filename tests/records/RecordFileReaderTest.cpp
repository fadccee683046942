#include "records/RecordFile.h"

#include "tests/core/RowName.h"
#include "tests/records/RecordFileTestSupport.h"

#include <QCoreApplication>
#include <QElapsedTimer>
#include <QRandomGenerator>
#include <QTemporaryDir>

#include <gtest/gtest.h>
#include <chrono>
#include <fcntl.h>
#include <future>
#include <sys/resource.h>
#include <sys/stat.h>
#include <unistd.h>

using namespace recordtest;

namespace {

struct LineCase
{
    const char* name;
    QByteArray bytes;
    ReadOutcome outcome;
    Slots handedOver;
};

const QByteArray nineLines("Vornale 5\r\nName\r\n120\r\n80\r\n72\r\n1\r\n65\r\n170\r\n30\r\n");
const Slots nineSlots {{1, "Name"}, {2, "120"}, {3, "80"}, {4, "72"}, {5, "1"}, {6, "65"}, {7, "170"}, {8, "30"}};

const LineCase lineCases[] = {
    {"NineLines", nineLines, ReadOutcome::Loaded, nineSlots},
    {"LfOnlyReadsLikeCrLf", QByteArray(nineLines).replace("\r\n", "\n"), ReadOutcome::Loaded, nineSlots},
    {"LinesAfterTheNinthIgnored", nineLines + "extra\r\nmore\r\n", ReadOutcome::Loaded, nineSlots},
    {"HeaderOnlyWithLineEnd", "Vornale 5\r\n", ReadOutcome::Loaded, {}},
    {"HeaderOnlyWithoutLineEnd", "Vornale 5", ReadOutcome::Loaded, {}},
    {"EmptyFile", "", ReadOutcome::FormatError, {}},
    {"HeaderInOtherCase", "VORNALE 5\r\nName\r\n", ReadOutcome::FormatError, {}},
    {"HeaderOnSecondLine", "\r\nVornale 5\r\n", ReadOutcome::FormatError, {}},
    {"HeaderAfterOtherText", "My Vornale 5\r\nName\r\n", ReadOutcome::Loaded, {{1, "Name"}}},
    {"HeaderFollowedByText", "Vornale 5 2 word\r\nName\r\n", ReadOutcome::Loaded, {{1, "Name"}}},
    {"HeaderAfterFalseStart", "Vornale Vornale 5\nA\n", ReadOutcome::Loaded, {{1, "A"}}},
    {"HeaderAfterRepeatedFirstLetter", "VVornale 5\nA\n", ReadOutcome::Loaded, {{1, "A"}}},
    {"HeaderBeyondTheReadBuffer", QByteArray(70000, 'x') + "Vornale 5\nA\n", ReadOutcome::Loaded, {{1, "A"}}},
    {"CrInsideHeaderIsDropped", "Vorn\rale 5\nA\n", ReadOutcome::Loaded, {{1, "A"}}},
    {"FourDataLinesSkipTheRest", "Vornale 5\r\na\r\nb\r\nc\r\nd\r\n", ReadOutcome::Loaded,
     {{1, "a"}, {2, "b"}, {3, "c"}, {4, "d"}}},
    {"ExtraEmptyLineIsSlotFive", "Vornale 5\r\na\r\nb\r\nc\r\nd\r\n\r\n", ReadOutcome::Loaded,
     {{1, "a"}, {2, "b"}, {3, "c"}, {4, "d"}, {5, ""}}},
    {"EmptyDataLines", "Vornale 5\r\n\r\n\r\nx\r\n", ReadOutcome::Loaded, {{1, ""}, {2, ""}, {3, "x"}}},
    {"LastLineWithoutLineEnd", "Vornale 5\r\na\r\nb", ReadOutcome::Loaded, {{1, "a"}, {2, "b"}}},
    {"LoneCrIsDropped", "Vornale 5\r\nab\rc\r\n\rd\r\r\n", ReadOutcome::Loaded, {{1, "abc"}, {2, "d"}}},
    {"CrAtTheVeryEndIsDropped", "Vornale 5\r\na\r", ReadOutcome::Loaded, {{1, "a"}}},
    {"CtrlZEndsTheLineText", "Vornale 5\r\nab\x1A" "cd\r\nx\r\n", ReadOutcome::Loaded, {{1, "ab"}, {2, "x"}}},
    {"CtrlZWhereALineBeginsEndsTheFile", "Vornale 5\r\na\r\n\x1A\r\nb\r\n", ReadOutcome::Loaded, {{1, "a"}}},
    {"CtrlZBeforeTheHeader", "\x1AVornale 5\r\na\r\n", ReadOutcome::FormatError, {}},
    {"TextsAreWindows1251", "Vornale 5\r\n\xC8\xE2\xE0\xED\xEE\xE2 \xA8\xB9\r\n", ReadOutcome::Loaded,
     {{1, QStringLiteral("Иванов Ё№")}}},
    {"LettersHandedOverUnchanged", "Vornale 5\r\n\r\n12a\r\n", ReadOutcome::Loaded, {{1, ""}, {2, "12a"}}},
    {"LongLineReadWhole", "Vornale 5\r\n" + QByteArray(100000, 'n') + "\r\n", ReadOutcome::Loaded,
     {{1, QString(100000, u'n')}}},
    {"NulBytesKept", QByteArray("Vornale 5\r\na\0b\r\n", 16), ReadOutcome::Loaded, {{1, QString::fromLatin1("a\0b", 3)}}},
};

class RecordFileLines : public ::testing::TestWithParam<LineCase>
{
protected:
    QTemporaryDir dir;
};

TEST_P(RecordFileLines, FollowTheLineRules)
{
    const QString path = dir.filePath("subject.vnl");
    writeBytes(path, GetParam().bytes);
    Slots handedOver;
    EXPECT_EQ(readSlots(path, handedOver), GetParam().outcome);
    EXPECT_EQ(handedOver, GetParam().handedOver);
}

INSTANTIATE_TEST_SUITE_P(Files, RecordFileLines, ::testing::ValuesIn(lineCases), RowName());

struct SexCase
{
    const char* name;
    const char* text;
    Sex sex;
};

const SexCase sexCases[] = {
    {"Zero", "0", Sex::Male},         {"One", "1", Sex::Female},          {"Two", "2", Sex::Female},
    {"Empty", "", Sex::Female},       {"ZeroAndSpace", "0 ", Sex::Female}, {"SpaceAndZero", " 0", Sex::Female},
    {"DoubleZero", "00", Sex::Female},
};

class SexSlot : public ::testing::TestWithParam<SexCase> {};

TEST_P(SexSlot, OnlyASingleZeroIsMale)
{
    EXPECT_EQ(SexFromSlotText(QString::fromLatin1(GetParam().text)), GetParam().sex);
}

INSTANTIATE_TEST_SUITE_P(Texts, SexSlot, ::testing::ValuesIn(sexCases), RowName());

class RecordFileReaderTest : public ::testing::Test
{
protected:
    QTemporaryDir dir;
};

TEST_F(RecordFileReaderTest, KeepsTheFileOpenAfterLoadedUntilClosed)
{
    const QString path = dir.filePath("subject.vnl");
    writeBytes(path, nineLines);
    RecordFileReader reader(path);
    ASSERT_EQ(reader.read([](int, const QString&) {}), ReadOutcome::Loaded);
    EXPECT_TRUE(reader.isOpen());
    reader.close();
    EXPECT_FALSE(reader.isOpen());
}

TEST_F(RecordFileReaderTest, ClosesTheFileOnFormatError)
{
    const QString path = dir.filePath("subject.vnl");
    writeBytes(path, "not a record\r\n");
    RecordFileReader reader(path);
    int calls = 0;
    EXPECT_EQ(reader.read([&](int, const QString&) { ++calls; }), ReadOutcome::FormatError);
    EXPECT_FALSE(reader.isOpen());
    EXPECT_EQ(calls, 0);
}

struct ReadFailureCase
{
    const char* name;
    const char* path; // within the test's folder, or absolute when it starts with "/"
    int code;
    const char* message;
};

// "plain" is a record file, "folder" a folder and "pipe" a FIFO with no writer.
const ReadFailureCase readFailureCases[] = {
    {"MissingFile", "missing.vnl", 2, "File not found"},
    {"FileUsedAsFolder", "plain/subject.vnl", 3, "Invalid filename"},
    {"FolderIsAccessDenied", "folder", 5, "File access denied"},
    {"RegressionFifoBlockedTheReader", "pipe", 5, "File access denied"},
    {"RegressionCharacterDeviceWasReadAsAFile", "/dev/null", 5, "File access denied"},
};

// Reads in a second thread so that a reader blocked in open() on a FIFO fails the test instead
// of hanging it: after the deadline a writer opens and closes the FIFO, which lets open() return.
std::pair<int, QString> readFailureWithin(RecordFileReader& reader, const QString& path,
                                          std::chrono::milliseconds deadline, bool& blocked)
{
    auto reading = std::async(std::launch::async, [&reader] {
        return ioFailureOf([&] { reader.read([](int, const QString&) {}); });
    });
    blocked = reading.wait_for(deadline) != std::future_status::ready;
    struct stat status {};
    if (blocked && ::stat(QFile::encodeName(path).constData(), &status) == 0 && S_ISFIFO(status.st_mode)) {
        const int writer = ::open(QFile::encodeName(path).constData(), O_WRONLY | O_NONBLOCK | O_CLOEXEC);
        if (writer >= 0)
            ::close(writer);
    }
    return reading.get();
}

class RecordFileReadFailure : public ::testing::TestWithParam<ReadFailureCase>
{
protected:
    QTemporaryDir dir;
};

TEST_P(RecordFileReadFailure, GivesTheTableMessagePromptly)
{
    writeBytes(dir.filePath("plain"), "Vornale 5\r\n");
    ASSERT_TRUE(QDir(dir.path()).mkdir("folder"));
    ASSERT_EQ(::mkfifo(QFile::encodeName(dir.filePath("pipe")).constData(), 0600), 0);
    const QString relative = QString::fromLatin1(GetParam().path);
    const QString path = relative.startsWith(u'/') ? relative : dir.filePath(relative);
    RecordFileReader reader(path);
    bool blocked = false;
    QElapsedTimer timer;
    timer.start();
    const auto [code, message] = readFailureWithin(reader, path, std::chrono::milliseconds(2000), blocked);
    EXPECT_FALSE(blocked);
    EXPECT_LT(timer.elapsed(), 1000);
    EXPECT_EQ(code, GetParam().code);
    EXPECT_EQ(message, QString::fromLatin1(GetParam().message));
    EXPECT_FALSE(reader.isOpen());
}

INSTANTIATE_TEST_SUITE_P(Paths, RecordFileReadFailure, ::testing::ValuesIn(readFailureCases), RowName());

TEST_F(RecordFileReaderTest, RecordFileExistsOnlyForFiles)
{
    writeBytes(dir.filePath("subject.vnl"), nineLines);
    EXPECT_TRUE(RecordFileExists(dir.filePath("subject.vnl")));
    EXPECT_FALSE(RecordFileExists(dir.filePath("missing.vnl")));
    EXPECT_FALSE(RecordFileExists(dir.path()));
}

// The limit holds on the open file: one that grows past it between the open and the read is
// refused, and what is read up to the limit still counts.
TEST_F(RecordFileReaderTest, ByteLimitHoldsWhileTheFileGrows)
{
    const QString path = dir.filePath("growing.vnl");
    writeBytes(path, "Vornale 5\r\nA\r\n");
    RecordFileReader reader(path, 100);
    Slots handedOver;
    EXPECT_THROW(reader.read([&](int slot, const QString& text) {
        handedOver.emplace_back(slot, text);
        QFile file(path);
        if (file.open(QIODevice::Append))
            file.write(QByteArray(200 * 1024, 'x'));
    }),
                 EFileTooLarge);
    EXPECT_EQ(handedOver, (Slots{{1, "A"}}));
}

long peakResidentKilobytes()
{
    rusage usage {};
    getrusage(RUSAGE_SELF, &usage);
    return usage.ru_maxrss;
}

// A wrong file chosen by mistake: 100 MB of random bytes with no line end, so the whole file is
// line 1. It must be rejected quickly, streamed rather than held.
TEST_F(RecordFileReaderTest, HundredMegabytesOfRandomBytesAreRejectedQuicklyInLittleMemory)
{
    const QString path = dir.filePath("random.bin");
    {
        QFile file(path);
        ASSERT_TRUE(file.open(QIODevice::WriteOnly));
        QByteArray chunk(1 << 20, '\0');
        for (int megabyte = 0; megabyte < 100; ++megabyte) {
            QRandomGenerator::global()->fillRange(reinterpret_cast<quint32*>(chunk.data()), chunk.size() / 4);
            chunk.replace('\n', 'n').replace('\x1A', 'z');
            ASSERT_EQ(file.write(chunk), chunk.size());
        }
    }
    const long peakBefore = peakResidentKilobytes();
    QElapsedTimer timer;
    timer.start();
    Slots handedOver;
    EXPECT_EQ(readSlots(path, handedOver), ReadOutcome::FormatError);
    EXPECT_LT(timer.elapsed(), 5000);
    EXPECT_LT(peakResidentKilobytes() - peakBefore, 16 * 1024);
}

// This very program holds the header text, so whether its first line does is left open; it must
// simply be read safely.
TEST_F(RecordFileReaderTest, AProgramFileReadsSafely)
{
    Slots handedOver;
    const ReadOutcome outcome = readSlots(QCoreApplication::applicationFilePath(), handedOver);
    EXPECT_TRUE(outcome == ReadOutcome::FormatError || outcome == ReadOutcome::Loaded);
    EXPECT_LE(handedOver.size(), 8u);
}

} // namespace
