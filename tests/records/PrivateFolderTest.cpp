#include "records/PrivateFolder.h"

#include <QDir>
#include <QFile>
#include <QTemporaryDir>

#include <gtest/gtest.h>
#include <sys/stat.h>

namespace {

unsigned ModeOf(const QString& path)
{
    struct stat info {};
    return ::stat(QFile::encodeName(path).constData(), &info) == 0 ? info.st_mode & 07777 : 0;
}

// A journal's or a stage's folder made under an existing one once narrowed that one (the shared
// temporary folder among them) to its owner.
TEST(PrivateFolder, RegressionExistingParentsKeepTheirMode)
{
    QTemporaryDir dir;
    ASSERT_EQ(::chmod(QFile::encodeName(dir.path()).constData(), 01777), 0);
    const QString wide = dir.filePath("wide");
    ASSERT_TRUE(QDir().mkdir(wide));
    ASSERT_EQ(::chmod(QFile::encodeName(wide).constData(), 0755), 0);

    ASSERT_TRUE(MakePrivateFolders(dir.filePath("stage/7А")));
    ASSERT_TRUE(KeepOwnFolderPrivate(dir.filePath("journals/new")));
    EXPECT_TRUE(MakePrivateFolders(wide));
    EXPECT_EQ(ModeOf(wide), 0755u) << "a folder the user made stays as it is";
    EXPECT_EQ(ModeOf(dir.path()), 01777u);
    for (const char* made : {"stage", "stage/7А", "journals", "journals/new"})
        EXPECT_EQ(ModeOf(dir.filePath(made)), 0700u) << made;

    ASSERT_TRUE(KeepOwnFolderPrivate(wide));
    EXPECT_EQ(ModeOf(wide), 0700u) << "the program's own folder is narrowed";
    EXPECT_EQ(ModeOf(dir.path()), 01777u);
}

} // namespace
