#include "entry/EntryJournal.h"
#include "entry/StageFolder.h"
#include "records/RecordFile.h"
#include "tests/support/TestFiles.h"

#include <QDir>
#include <QTemporaryDir>
#include <gtest/gtest.h>

#include <sys/stat.h>

namespace {

mode_t ModeOf(const QString& path)
{
    struct stat info {};
    return ::stat(QFile::encodeName(path).constData(), &info) == 0 ? info.st_mode & 07777 : 0;
}

EntryRows OneTypedRow()
{
    EntryRows rows(1);
    rows[0].text(EntryField::FullName) = "Иванова Анна";
    rows[0].sex = Sex::Female;
    rows[0].dirty = true;
    return rows;
}

// Written before the stage folder exists (the first save makes it), read after: the same journal,
// private to the user even where an earlier version left the folder open to all.
TEST(EntryJournal, IsPrivateAndKeyedTheSameBeforeAndAfterTheFolderExists)
{
    QTemporaryDir dir;
    const QString journals = dir.filePath("data/journals");
    for (const bool journalsExisted : {false, true}) {
        if (journalsExisted) {
            QDir().mkpath(journals);
            ::chmod(QFile::encodeName(journals).constData(), 0755);
        }
        const QString stage = dir.filePath(journalsExisted ? "b/7А" : "a/7А");
        const EntryJournal before(stage + "/../7А", journals);
        ASSERT_EQ(before.write(OneTypedRow()), QString());
        EXPECT_EQ(ModeOf(before.path()), 0600u) << journalsExisted;
        EXPECT_EQ(ModeOf(journals), 0700u) << journalsExisted;
        QDir().mkpath(stage);
        const EntryJournal after(stage, journals);
        EXPECT_EQ(after.path(), before.path()) << journalsExisted;
        EXPECT_EQ(after.read().rows.size(), 1) << journalsExisted;
    }
}

TEST(EntryJournal, UnreadableJournalsAreKeptAsideNeverDropped)
{
    QTemporaryDir dir;
    const QString stage = dir.filePath("7А");
    const EntryJournal journal(stage, dir.filePath("journals"));
    const std::pair<const char*, QByteArray> damaged[] = {
        {"not json", "{\"folder\": "},
        {"another folder", "{\"folder\":\"/elsewhere\",\"rows\":[]}"},
        {"a row cut short", "{\"folder\":\"" + StageFolderKey(stage).toUtf8() + "\",\"rows\":[{\"texts\":[\"Иванова\"]}]}"},
    };
    for (const auto& [name, bytes] : damaged) {
        QDir(dir.filePath("journals")).removeRecursively();
        testsupport::WriteFile(journal.path(), bytes);
        const EntryJournal::Contents read = journal.read();
        EXPECT_TRUE(read.rows.isEmpty() && !read.problem.isEmpty()) << name;
        EXPECT_FALSE(QFile::exists(journal.path())) << name;
        EXPECT_EQ(QDir(dir.filePath("journals")).entryList(QDir::Files).size(), 1) << name;
    }
}

TEST(EntryJournal, RowsAlreadyInTheirPersonsFileAndClearedRowsAreNotOffered)
{
    EntryRows file = OneTypedRow();
    file[0].text(EntryField::Pulse) = "72";
    file[0].filePath = "/stage/Иванова Анна.vnl";
    file[0].dirty = false;
    EntryRows journal(4, file[0]);
    journal[0].text(EntryField::FullName) = "иванова  анна"; // the same person, the same values
    journal[0].filePath.clear();
    journal[1].text(EntryField::Pulse) = "74";                // a correction
    journal[2].sex = Sex::Male;                               // another person
    journal[3] = EntryRow();                                  // the file's row cleared
    journal[3].filePath = file[0].filePath;
    const EntryRows offered = EntryJournal::StillUnsaved(journal, file);
    ASSERT_EQ(offered.size(), 2);
    EXPECT_EQ(offered[0].text(EntryField::Pulse), "74");
    EXPECT_EQ(offered[1].sex, Sex::Male);
}

// What a cut-off save leaves is not a row and goes when the folder is opened; one person's two
// files are listed.
TEST(StageFolder, LeftoversAreClearedAndOnePersonsFilesListed)
{
    QTemporaryDir dir;
    const QDir stage(dir.filePath("7А"));
    const SubjectTexts anna{"Иванова Анна", "118", "76", "72", Sex::Female, "54", "162", "15"};
    const SubjectTexts twice{"иванова\u00a0анна", "118", "76", "72", Sex::Female, "54", "162", "15"};
    QDir().mkpath(stage.path());
    WriteRecordFile(stage.filePath("Иванова Анна.vnl"), anna, nullptr);
    WriteRecordFile(stage.filePath("иванова анна (2).vnl"), twice, nullptr);
    WriteRecordFile(stage.filePath(".Петров.vnl.abcdEFGH.tmp"), anna, nullptr);
    WriteRecordFile(dir.filePath(".Петров.vnl.abcdEFGH.tmp"), anna, nullptr); // not in the folder
    EXPECT_EQ(ReadStageFolder(stage.path(), Separators::current()).rows.size(), 2);
    EXPECT_EQ(ClearSaveLeftovers(stage.path()), 1);
    EXPECT_EQ(stage.entryList(QDir::Files | QDir::Hidden).size(), 2);
    EXPECT_TRUE(QFile::exists(dir.filePath(".Петров.vnl.abcdEFGH.tmp")));
    const StageFolderContents contents = ReadStageFolder(stage.path(), Separators::current());
    ASSERT_EQ(contents.samePersonFiles.size(), 1);
    EXPECT_EQ(contents.samePersonFiles[0].size(), 2);

    testsupport::WriteFile(dir.filePath("file"), "x");
    EXPECT_EQ(CheckStageFolder(dir.filePath("file/7А")).kind, StageFolderProblem::NotAFolder);
    EXPECT_EQ(CheckStageFolder(dir.filePath("new/7А")).kind, StageFolderProblem::None);
}

} // namespace
