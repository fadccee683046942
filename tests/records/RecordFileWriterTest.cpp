#include "records/RecordFile.h"
#include "records/ReplacingFile.h"

#include "tests/core/RowName.h"
#include "tests/records/RecordFileTestSupport.h"
#include "tests/support/Unprivileged.h"

#include <QFileInfo>
#include <QTemporaryDir>

#include <csignal>
#include <gtest/gtest.h>
#include <sys/resource.h>
#include <sys/stat.h>
#include <sys/wait.h>
#include <tuple>

using namespace recordtest;

namespace {

SubjectTexts resetWindow()
{
    return {QString(), "0", "0", "0", Sex::Male, "0", "0", "0"};
}

SubjectTexts femaleExample()
{
    return {QStringLiteral("Петрова Анна"), "120", "80", "72", Sex::Female, "65", "170", "30"};
}

class RecordFileWriter : public ::testing::Test
{
protected:
    QString pathOf(const QString& name) const { return dir.filePath(name); }

    // Writes and reports whether the "all lines written" signal came.
    bool write(const QString& path, const SubjectTexts& texts)
    {
        bool signalled = false;
        WriteRecordFile(path, texts, [&] { signalled = true; });
        return signalled;
    }

    QTemporaryDir dir;
};

struct BytesCase
{
    const char* name;
    SubjectTexts texts;
    QByteArray bytes;
};

const BytesCase bytesCases[] = {
    {"ResetWindowIs34Bytes", resetWindow(), QByteArray("Vornale 5\r\n\r\n0\r\n0\r\n0\r\n0\r\n0\r\n0\r\n0\r\n")},
    {"FemaleExampleInWindows1251", femaleExample(),
     QByteArray("Vornale 5\r\n\xCF\xE5\xF2\xF0\xEE\xE2\xE0 \xC0\xED\xED\xE0\r\n120\r\n80\r\n72\r\n1\r\n65\r\n170\r\n30\r\n")},
    {"TextsStoredAsShown", {QStringLiteral(" a "), "abc", "", "-5", Sex::Female, "0070", "1,5", "30,25"},
     QByteArray("Vornale 5\r\n a \r\nabc\r\n\r\n-5\r\n1\r\n0070\r\n1,5\r\n30,25\r\n")},
    {"LineBreaksInNameBecomeSpaces", {QStringLiteral("a\r\nb\rc\nd\n\re"), "1", "2", "3", Sex::Male, "4", "5", "6"},
     QByteArray("Vornale 5\r\na b c d  e\r\n1\r\n2\r\n3\r\n0\r\n4\r\n5\r\n6\r\n")},
    {"CodePageSpecials", {QStringLiteral("Ёё№€«»\u00A0"), "", "", "", Sex::Male, "", "", ""},
     QByteArray("Vornale 5\r\n\xA8\xB8\xB9\x88\xAB\xBB\xA0\r\n\r\n\r\n\r\n0\r\n\r\n\r\n\r\n")},
};

class RecordFileBytes : public RecordFileWriter, public ::testing::WithParamInterface<BytesCase> {};

TEST_P(RecordFileBytes, AreExact)
{
    const QString path = pathOf("subject.vnl");
    EXPECT_TRUE(write(path, GetParam().texts));
    EXPECT_EQ(readBytes(path), GetParam().bytes);
    EXPECT_EQ(folderEntries(dir.path()), QStringList {"subject.vnl"});
    EXPECT_EQ(QFile::permissions(path) & QFileDevice::Permissions {0x7077}, QFileDevice::ReadOwner | QFileDevice::WriteOwner);
}

INSTANTIATE_TEST_SUITE_P(Texts, RecordFileBytes, ::testing::ValuesIn(bytesCases), RowName());

TEST_F(RecordFileWriter, ResetWindowGives34Bytes)
{
    const QString path = pathOf("reset.vnl");
    write(path, resetWindow());
    EXPECT_EQ(readBytes(path).size(), 34);
}

TEST_F(RecordFileWriter, ReplacesAnExistingFileAndKeepsItsPermissions)
{
    const QString path = pathOf("subject.vnl");
    writeBytes(path, QByteArray(5000, 'x'));
    QFile::setPermissions(path, QFileDevice::ReadOwner | QFileDevice::WriteOwner | QFileDevice::ReadGroup);
    write(path, resetWindow());
    EXPECT_EQ(readBytes(path).size(), 34);
    const QFileDevice::Permissions modeBits {0x7077}; // owner, group and other; not the "user" view
    EXPECT_EQ(QFile::permissions(path) & modeBits,
              QFileDevice::ReadOwner | QFileDevice::WriteOwner | QFileDevice::ReadGroup);
}

TEST_F(RecordFileWriter, SignalComesOnceTheNewFileIsInPlace)
{
    const QString path = pathOf("subject.vnl");
    writeBytes(path, "old");
    QByteArray seenInSignal;
    WriteRecordFile(path, resetWindow(), [&] { seenInSignal = readBytes(path); });
    EXPECT_EQ(seenInSignal.size(), 34);
}

TEST_F(RecordFileWriter, SavesThroughASymbolicLinkIntoItsTarget)
{
    const QString target = pathOf("target.vnl");
    const QString link = pathOf("link.vnl");
    writeBytes(target, "old");
    ASSERT_TRUE(QFile::link(target, link));
    write(link, resetWindow());
    EXPECT_TRUE(QFileInfo(link).isSymLink());
    EXPECT_EQ(readBytes(target).size(), 34);
}

struct UnstorableCase
{
    const char* name;
    SubjectTexts texts;
    const char* named; // what the message must name
};

const UnstorableCase unstorableCases[] = {
    {"ChineseInName", {QStringLiteral("Ли 中"), "1", "1", "1", Sex::Male, "1", "1", "1"}, "full name holds the character U+4E2D"},
    {"EmojiInName", {QStringLiteral("a 😀"), "1", "1", "1", Sex::Male, "1", "1", "1"}, "full name holds the character U+1F600"},
    {"LatinAccentInAge", {QString(), "1", "1", "1", Sex::Male, "1", "1", QStringLiteral("é")}, "age holds the character U+00E9"},
    {"CtrlZInName", {QStringLiteral("a\u001Ab"), "1", "1", "1", Sex::Male, "1", "1", "1"}, "full name holds the character U+001A"},
};

class RecordFileUnstorable : public RecordFileWriter, public ::testing::WithParamInterface<UnstorableCase> {};

TEST_P(RecordFileUnstorable, FailsClearlyAndTouchesNothing)
{
    const QString path = pathOf("subject.vnl");
    writeBytes(path, "old content");
    bool signalled = false;
    const auto [code, message] = ioFailureOf([&] { WriteRecordFile(path, GetParam().texts, [&] { signalled = true; }); });
    EXPECT_EQ(code, EILSEQ);
    EXPECT_TRUE(message.contains(QString::fromUtf8(GetParam().named))) << message.toStdString();
    EXPECT_FALSE(signalled);
    EXPECT_EQ(readBytes(path), "old content");
    EXPECT_EQ(folderEntries(dir.path()), QStringList {"subject.vnl"});
}

INSTANTIATE_TEST_SUITE_P(Texts, RecordFileUnstorable, ::testing::ValuesIn(unstorableCases), RowName());

TEST_F(RecordFileWriter, FailureWhileWritingKeepsTheOldFileAndLeavesNoTemporaryFile)
{
    const QString path = pathOf("subject.vnl");
    writeBytes(path, "old content");

    // A file size limit makes the write fail half-way, as a full disk would.
    const auto previousHandler = std::signal(SIGXFSZ, SIG_IGN);
    rlimit previous {};
    getrlimit(RLIMIT_FSIZE, &previous);
    rlimit tiny = previous;
    tiny.rlim_cur = 20;
    setrlimit(RLIMIT_FSIZE, &tiny);
    bool signalled = false;
    const auto [code, message] = ioFailureOf([&] { WriteRecordFile(path, femaleExample(), [&] { signalled = true; }); });
    setrlimit(RLIMIT_FSIZE, &previous);
    std::signal(SIGXFSZ, previousHandler);

    EXPECT_EQ(code, EFBIG);
    EXPECT_EQ(message, QStringLiteral("I/O error %1").arg(EFBIG));
    EXPECT_FALSE(signalled);
    EXPECT_EQ(readBytes(path), "old content");
    EXPECT_EQ(folderEntries(dir.path()), QStringList {"subject.vnl"});
}

struct PathFailureCase
{
    const char* name;
    const char* relativePath;
    int code;
    const char* message;
};

// "plain" is a read-only regular file, "folder" a folder and "pipe" a FIFO in the test's directory, which anyone
// may write; the saves run unprivileged, so that permission bits count.
const PathFailureCase pathFailureCases[] = {
    {"ReadOnlyFileIsAccessDenied", "plain", 5, "File access denied"},
    {"MissingFolderIsFileNotFound", "missing/subject.vnl", 2, "File not found"},
    {"FileUsedAsFolderIsInvalidFilename", "plain/subject.vnl", 3, "Invalid filename"},
    {"FolderAsTargetIsAccessDenied", "folder", 5, "File access denied"},
    {"TrailingSlashIsAccessDenied", "folder/", 5, "File access denied"},
    {"RegressionFifoWasReplacedByAFile", "pipe", 5, "File access denied"},
};

class RecordFileWritePath : public RecordFileWriter, public ::testing::WithParamInterface<PathFailureCase> {};

TEST_P(RecordFileWritePath, FailsWithTheTableMessage)
{
    writeBytes(pathOf("plain"), "keep");
    ASSERT_TRUE(QFile::setPermissions(pathOf("plain"), QFileDevice::ReadOwner | QFileDevice::ReadGroup | QFileDevice::ReadOther));
    ASSERT_EQ(::chmod(QFile::encodeName(dir.path()).constData(), 0777), 0);
    ASSERT_TRUE(QDir(dir.path()).mkdir("folder"));
    ASSERT_EQ(::mkfifo(QFile::encodeName(pathOf("pipe")).constData(), 0600), 0);
    // The child hands back one number: the code, or 0 if the message was wrong or the signal came.
    const int outcome = testsupport::ResultAsUnprivileged([&] {
        bool signalled = false;
        const auto [code, message] = ioFailureOf(
            [&] { WriteRecordFile(pathOf(GetParam().relativePath), resetWindow(), [&] { signalled = true; }); });
        return !signalled && message == QString::fromLatin1(GetParam().message) ? code : 0;
    });
    EXPECT_EQ(outcome, GetParam().code);
    EXPECT_EQ(folderEntries(dir.path()), (QStringList {"folder", "pipe", "plain"}));
    struct stat pipe {};
    EXPECT_EQ(::lstat(QFile::encodeName(pathOf("pipe")).constData(), &pipe), 0);
    EXPECT_TRUE(S_ISFIFO(pipe.st_mode));
    EXPECT_TRUE(folderEntries(pathOf("folder")).isEmpty());
    EXPECT_EQ(readBytes(pathOf("plain")), "keep");
}

INSTANTIATE_TEST_SUITE_P(Paths, RecordFileWritePath, ::testing::ValuesIn(pathFailureCases), RowName());

TEST_F(RecordFileWriter, LongNameSurvivesWriteAndRead)
{
    const QString path = pathOf("subject.vnl");
    SubjectTexts texts = femaleExample();
    texts.FullName = QString(300, QChar(u'Ж')) + QStringLiteral(" end");
    write(path, texts);

    Slots handedOver;
    ASSERT_EQ(readSlots(path, handedOver), ReadOutcome::Loaded);
    const Slots expected {{1, texts.FullName}, {2, "120"}, {3, "80"}, {4, "72"}, {5, "1"}, {6, "65"}, {7, "170"}, {8, "30"}};
    EXPECT_EQ(handedOver, expected);
}

// A save of three files (one replaced, two new) killed as by a power cut at the `occurrence`-th
// `step`; `unnamed` false as on a file system without unnamed files.
struct CutCase { const char* name; bool unnamed; ReplacingStep step; int occurrence; };
ReplacingStep g_cutStep;
int g_countdown = 0;
class CutSave : public RecordFileWriter, public ::testing::WithParamInterface<CutCase> {};

TEST_P(CutSave, LeavesOldOrNewFilesAndNothingAReaderTakesForARecord)
{
    const QStringList names {"Старый.vnl", "Новый.vnl", "Новая.vnl"};
    std::vector<RecordFileToWrite> files;
    for (const QString& name : names)
        files.push_back({pathOf(name), {name, "1", "2", "3", Sex::Male, "4", "5", "6"}});
    write(files[0].path, femaleExample());
    const pid_t child = ::fork();
    if (child == 0) {
        SetUnnamedTemporariesAllowed(GetParam().unnamed);
        std::tie(g_cutStep, g_countdown) = std::pair(GetParam().step, GetParam().occurrence);
        SetReplacingStepHook([](ReplacingStep step) {
            if (step == g_cutStep && --g_countdown == 0)
                ::raise(SIGKILL);
        });
        WriteRecordFiles(files);
        ::_exit(0);
    }
    int status = 0;
    ASSERT_TRUE(::waitpid(child, &status, 0) == child && WIFSIGNALED(status)) << "the save never reached the step";
    QStringList leftovers = folderEntries(dir.path());
    ASSERT_TRUE(leftovers.contains(names[0]));
    for (qsizetype i = 0; i < names.size(); ++i) {
        Slots read;
        if (leftovers.removeOne(names[i])) {
            EXPECT_TRUE(readSlots(files[i].path, read) == ReadOutcome::Loaded && read.size() == 8
                        && (read[0].second == names[i] || (i == 0 && read[0].second == femaleExample().FullName)));
        }
    }
    for (const QString& name : std::as_const(leftovers))
        EXPECT_TRUE(IsReplacementTemporaryName(name)) << name.toStdString();
    // Unnamed files show only complete and in place, but for the instant before a rename.
    EXPECT_TRUE(!GetParam().unnamed || GetParam().step == ReplacingStep::Named || leftovers.isEmpty());
}

INSTANTIATE_TEST_SUITE_P(Steps, CutSave,
                         ::testing::Values(CutCase {"UnnamedWhileWritingTheSecond", true, ReplacingStep::Written, 2},
                                           CutCase {"UnnamedAllWrittenNoneRenamed", true, ReplacingStep::Finished, 3},
                                           CutCase {"UnnamedBetweenNamingAndRename", true, ReplacingStep::Named, 1},
                                           CutCase {"NamedAllWrittenNoneRenamed", false, ReplacingStep::Finished, 3}),
                         RowName());

} // namespace

// A save cut off before its rename leaves its temporary complete; readers must know it by name.
TEST_F(RecordFileWriter, TemporaryOfAnUnfinishedSaveIsKnownByItsName)
{
    const QString path = pathOf("Ёлкина Анна.vnl");
    SetUnnamedTemporariesAllowed(false); // unnamed files leave no name to know
    ReplacingFile file(path);
    SetUnnamedTemporariesAllowed(true);
    file.write("Vornale 5");
    const QStringList names = QDir(QFileInfo(path).path()).entryList(QDir::Files | QDir::Hidden);
    ASSERT_EQ(names.size(), 1);
    EXPECT_TRUE(IsReplacementTemporaryName(names.front())) << names.front().toStdString();
    for (const QString& other : {QStringLiteral("Ёлкина Анна.vnl"), QStringLiteral(".Ёлкина Анна.vnl"),
                                QStringLiteral("a.tmp"), QStringLiteral(".x.abcdefgh.tmp.vnl"),
                                QStringLiteral(".x.abcdefg.tmp"), QStringLiteral("..abcdefgh.tmp"),
                                QStringLiteral(".x.abcd-fgh.tmp")})
        EXPECT_FALSE(IsReplacementTemporaryName(other)) << other.toStdString();
}
