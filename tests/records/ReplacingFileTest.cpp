#include "records/RecordFile.h"
#include "records/ReplacingFile.h"

#include "tests/core/RowName.h"
#include "tests/records/RecordFileTestSupport.h"

#include <QTemporaryDir>

#include <csignal>
#include <gtest/gtest.h>
#include <sys/wait.h>
#include <unistd.h>

using namespace recordtest;

namespace {

// Where the writer is killed, as a power cut would: after the `occurrence`-th time it reaches `step`.
struct CutCase
{
    const char* name;
    bool unnamed; // the file system gives unnamed files; else named temporaries from the start
    ReplacingStep step;
    int occurrence;
};

ReplacingStep g_cutStep;
int g_cutCountdown = 0;

void cutOff(ReplacingStep step)
{
    if (step == g_cutStep && --g_cutCountdown == 0)
        ::raise(SIGKILL);
}

const SubjectTexts kOld{QStringLiteral("Старый"), "120", "80", "70", Sex::Male, "60", "170", "14"};
const SubjectTexts kNew{QStringLiteral("Старый"), "121", "81", "71", Sex::Male, "61", "171", "15"};
const SubjectTexts kFresh{QStringLiteral("Новый"), "110", "70", "72", Sex::Female, "50", "160", "14"};

// A class saved at once: one file replaced, two new, one flush for all.
class CutSave : public ::testing::TestWithParam<CutCase>
{};

TEST_P(CutSave, LeavesOldOrNewFilesAndNothingAReaderTakesForARecord)
{
    const CutCase& c = GetParam();
    QTemporaryDir dir;
    const QString old = dir.filePath("Старый.vnl");
    WriteRecordFile(old, kOld, {});
    const QByteArray oldBytes = readBytes(old);
    const std::vector<RecordFileToWrite> files{
        {old, kNew}, {dir.filePath("Новый.vnl"), kFresh}, {dir.filePath("Новая.vnl"), kFresh}};

    const pid_t child = ::fork();
    if (child == 0) {
        SetUnnamedTemporariesAllowed(c.unnamed);
        g_cutStep = c.step;
        g_cutCountdown = c.occurrence;
        SetReplacingStepHook(cutOff);
        WriteRecordFiles(files);
        ::_exit(0);
    }
    int status = 0;
    ASSERT_EQ(::waitpid(child, &status, 0), child);
    ASSERT_TRUE(WIFSIGNALED(status)) << "the save never reached the step";

    WriteRecordFile(dir.filePath("expected.vnl"), kNew, {});
    const QByteArray newBytes = readBytes(dir.filePath("expected.vnl"));
    QFile::remove(dir.filePath("expected.vnl"));
    WriteRecordFile(dir.filePath("expected.vnl"), kFresh, {});
    const QByteArray freshBytes = readBytes(dir.filePath("expected.vnl"));
    QFile::remove(dir.filePath("expected.vnl"));

    const QByteArray now = readBytes(old);
    EXPECT_TRUE(now == oldBytes || now == newBytes) << now.toStdString();
    QStringList leftovers;
    for (const QString& name : folderEntries(dir.path())) {
        if (name == u"Старый.vnl")
            continue;
        if (name == u"Новый.vnl" || name == u"Новая.vnl")
            EXPECT_EQ(readBytes(dir.filePath(name)), freshBytes) << name.toStdString();
        else
            leftovers << name;
    }
    for (const QString& name : std::as_const(leftovers))
        EXPECT_TRUE(IsReplacementTemporaryName(name)) << name.toStdString();
    // Unnamed files are seen only complete and in place, but for the instant before a rename.
    if (c.unnamed && c.step != ReplacingStep::Named) {
        EXPECT_EQ(leftovers, QStringList()) << leftovers.join(' ').toStdString();
    }
}

INSTANTIATE_TEST_SUITE_P(
    Steps, CutSave,
    ::testing::Values(CutCase{"UnnamedWhileWritingTheSecond", true, ReplacingStep::Written, 2},
                      CutCase{"UnnamedAllWrittenNoneRenamed", true, ReplacingStep::Finished, 3},
                      CutCase{"UnnamedBetweenNamingAndRename", true, ReplacingStep::Named, 1},
                      CutCase{"UnnamedAfterTheReplacement", true, ReplacingStep::Renamed, 1},
                      CutCase{"UnnamedAfterTheFirstNewFile", true, ReplacingStep::Renamed, 2},
                      CutCase{"NamedWhileWritingTheSecond", false, ReplacingStep::Written, 2},
                      CutCase{"NamedAllWrittenNoneRenamed", false, ReplacingStep::Finished, 3},
                      CutCase{"NamedAfterTheFirstRename", false, ReplacingStep::Renamed, 1}),
    RowName());

struct ModeCase
{
    const char* name;
    bool unnamed;
    bool existing;
    int mode; // of the file afterwards
};

class ReplacingFileMode : public ::testing::TestWithParam<ModeCase>
{};

TEST_P(ReplacingFileMode, NewFilesArePrivateAndReplacementsKeepTheirMode)
{
    QTemporaryDir dir;
    const QByteArray path = QFile::encodeName(dir.filePath("a.vnl"));
    if (GetParam().existing) {
        writeBytes(dir.filePath("a.vnl"), "old");
        ASSERT_EQ(::chmod(path.constData(), 0640), 0);
    }
    SetUnnamedTemporariesAllowed(GetParam().unnamed);
    const mode_t umaskBefore = ::umask(0);
    WriteRecordFile(dir.filePath("a.vnl"), kFresh, {});
    ::umask(umaskBefore);
    SetUnnamedTemporariesAllowed(true);
    struct stat st {};
    ASSERT_EQ(::stat(path.constData(), &st), 0);
    EXPECT_EQ(st.st_mode & 07777, mode_t(GetParam().mode));
    EXPECT_EQ(folderEntries(dir.path()), QStringList{"a.vnl"});
}

INSTANTIATE_TEST_SUITE_P(Files, ReplacingFileMode,
                         ::testing::Values(ModeCase{"UnnamedNew", true, false, 0600},
                                           ModeCase{"UnnamedReplacing", true, true, 0640},
                                           ModeCase{"NamedNew", false, false, 0600},
                                           ModeCase{"NamedReplacing", false, true, 0640}),
                         RowName());

} // namespace
