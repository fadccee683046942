#include "summary/RecordFileScan.h"

#include "tests/core/RowName.h"
#include "tests/support/TestFiles.h"

#include <QDir>
#include <QFile>
#include <QTemporaryDir>

#include <sched.h>
#include <sys/mount.h>
#include <sys/stat.h>
#include <sys/wait.h>
#include <unistd.h>

#include <chrono>
#include <future>

namespace {

using testsupport::WriteFile;

QStringList Relative(const QTemporaryDir& folder, const QStringList& paths)
{
    QStringList names;
    for (const QString& path : paths)
        names << QDir(folder.path()).relativeFilePath(path);
    return names;
}

struct HeaderCase
{
    std::string name;
    QByteArray bytes;
    bool record;
};

class FirstLine : public ::testing::TestWithParam<HeaderCase>
{
};

TEST_P(FirstLine, HoldsTheHeaderAsTheReaderSeesIt)
{
    EXPECT_EQ(FirstLineHoldsHeader(GetParam().bytes), GetParam().record);
}

INSTANTIATE_TEST_SUITE_P(
    Rows, FirstLine,
    ::testing::Values(HeaderCase{"plain", "Vornale 5\r\n0\r\n", true},
                      HeaderCase{"without_line_end", "Vornale 5", true},
                      HeaderCase{"text_around", "abc Vornale 5 def\n", true},
                      HeaderCase{"carriage_return_inside_is_dropped", "Vorn\rale 5\n", true},
                      HeaderCase{"on_second_line", "x\nVornale 5\n", false},
                      HeaderCase{"other_case", "vornale 5\n", false},
                      HeaderCase{"after_ctrl_z", "x\x1AVornale 5\n", false},
                      HeaderCase{"empty", "", false},
                      HeaderCase{"line_longer_than_looked_at", QByteArray(64 * 1024, 'x'), false}),
    RowName());

class FolderScan : public ::testing::Test
{
protected:
    QString at(const QString& name) const { return m_folder.filePath(name); }
    RecordFileList scan() const { return FindRecordFiles({m_folder.path()}); }
    QStringList found() const { return Relative(m_folder, scan().files); }
    QTemporaryDir m_folder;
};

TEST_F(FolderScan, FindsRecordsByHeaderWhateverTheirNameAndEveryVnlFile)
{
    WriteFile(at("a/pupil.vnl"), "Vornale 5\r\n");
    WriteFile(at("a/b/c/deep.txt"), "Vornale 5\r\nX\r\n");
    WriteFile(at("no-extension"), "Vornale 5");
    WriteFile(at("broken.vnl"), "garbage");
    WriteFile(at("SHOUTED.VNL"), "no header either");
    WriteFile(at("photo.jpg"), "\xFF\xD8\xFF\xE0 not a record");
    WriteFile(at("notes.txt"), "Vornale 5 appears only\non the first line? no:\n");
    EXPECT_EQ(found(), QStringList({"SHOUTED.VNL", "a/b/c/deep.txt", "a/pupil.vnl", "broken.vnl", "no-extension",
                                    "notes.txt"}));
    EXPECT_TRUE(scan().skipped.isEmpty());
}

TEST_F(FolderScan, SymbolicLinkLoopIsSkippedWithAReason)
{
    WriteFile(at("a/one.vnl"), "Vornale 5\r\n");
    ASSERT_EQ(::symlink("..", QFile::encodeName(at("a/up")).constData()), 0);
    const RecordFileList list = scan();
    EXPECT_EQ(Relative(m_folder, list.files), QStringList({"a/one.vnl"}));
    ASSERT_EQ(list.skipped.size(), 1);
    EXPECT_EQ(list.skipped[0].path, at("a/up"));
    EXPECT_EQ(list.skipped[0].reason, QStringLiteral("Символическая ссылка образует цикл"));
}

TEST_F(FolderScan, FolderReachedTwiceByLinksIsReadOnce)
{
    WriteFile(at("a/one.vnl"), "Vornale 5\r\n");
    ASSERT_EQ(::symlink("a", QFile::encodeName(at("b")).constData()), 0);
    const RecordFileList list = scan();
    EXPECT_EQ(list.files.size(), 1);
    EXPECT_TRUE(list.skipped.isEmpty());
}

// A link out of the chosen folders, to "/" above all, is not followed: the scan takes about the
// time of the folder alone. Within them a link is followed.
TEST_F(FolderScan, LinkLeadingOutsideIsSkippedWithAReason)
{
    WriteFile(at("a/one.vnl"), "Vornale 5\r\n");
    WriteFile(at("b/two.vnl"), "Vornale 5\r\n");
    ASSERT_EQ(::symlink("/", QFile::encodeName(at("a/root")).constData()), 0);
    ASSERT_EQ(::symlink("../b/two.vnl", QFile::encodeName(at("a/two.vnl")).constData()), 0);
    std::atomic<bool> cancel{false};
    auto scanning = std::async(std::launch::async, [&] { return FindRecordFiles({at("a")}, &cancel); });
    const bool quick = scanning.wait_for(std::chrono::seconds(1)) == std::future_status::ready;
    cancel = true;
    const RecordFileList list = scanning.get();
    EXPECT_TRUE(quick);
    EXPECT_EQ(Relative(m_folder, list.files), QStringList({"a/one.vnl"}));
    ASSERT_EQ(list.skipped.size(), 2); // "a/root", then "a/two.vnl"
    EXPECT_EQ(list.skipped[0].reason, QStringLiteral("Символическая ссылка ведет за пределы выбранных папок"));
    EXPECT_EQ(FindRecordFiles({at("a"), at("b")}).files.size(), 2); // now inside: the file it leads to, once
}

struct LayoutRow
{
    std::string name;
    QStringList records; // beside "7А/a.vnl"; "7А" is chosen
    std::vector<std::pair<QString, QString>> links; // target, name
    bool hardLinks;
    QStringList files, skipped; // skipped: "path: reason"
};

struct FolderLayout : FolderScan, ::testing::WithParamInterface<LayoutRow> {};

TEST_P(FolderLayout, ListsEachRecordOnceAndNothingOutside)
{
    for (const QString& name : GetParam().records + QStringList{"7А/a.vnl"})
        WriteFile(at(name), "Vornale 5\r\n");
    for (const auto& [target, name] : GetParam().links)
        ASSERT_EQ((GetParam().hardLinks ? ::link : ::symlink)(QFile::encodeName(GetParam().hardLinks ? at(target) : target),
                                                             QFile::encodeName(at(name))),
                  0);
    const RecordFileList list = FindRecordFiles({at("7А")});
    EXPECT_EQ(Relative(m_folder, list.files), GetParam().files);
    QStringList skipped;
    for (const SkippedPath& path : list.skipped)
        skipped << QDir(m_folder.path()).relativeFilePath(path.path) + QStringLiteral(": ") + path.reason;
    EXPECT_EQ(skipped, GetParam().skipped);
}

const QString kOutside = QStringLiteral(": Символическая ссылка ведет за пределы выбранных папок");

INSTANTIATE_TEST_SUITE_P(
    Rows, FolderLayout,
    ::testing::Values(
        LayoutRow{"link_into_a_sibling_whose_name_starts_the_same", {"7А2/b.vnl"},
                  {{"../7А2/b.vnl", "7А/b.vnl"}, {"../7А2", "7А/sibling"}}, false, {"7А/a.vnl"},
                  {"7А/b.vnl" + kOutside, "7А/sibling" + kOutside}},
        LayoutRow{"hard_link", {"7А/b/c.vnl"}, {{"7А/a.vnl", "7А/b/a.vnl"}}, true, {"7А/a.vnl", "7А/b/c.vnl"}, {}},
        LayoutRow{"link_to_a_file_inside", {}, {{"a.vnl", "7А/b.vnl"}}, false, {"7А/a.vnl"}, {}},
        LayoutRow{"save_cut_before_its_rename", {"7А/.Иванов Иван.vnl.Ab3dEf9h.tmp", "7А/.tmp.vnl"}, {}, false,
                  {"7А/.tmp.vnl", "7А/a.vnl"}, {}}),
    RowName());

// A folder mounted inside the chosen one (a bind mount of one beside it) is not entered.
TEST_F(FolderScan, BindMountIsNotEntered)
{
    WriteFile(at("7А/a.vnl"), "Vornale 5\r\n");
    WriteFile(at("elsewhere/b.vnl"), "Vornale 5\r\n");
    QDir(m_folder.path()).mkpath("7А/bound");
    const pid_t child = ::fork();
    if (child == 0) { // a mount of its own, gone with the child
        if (::unshare(CLONE_NEWNS) != 0 || ::mount("none", "/", nullptr, MS_REC | MS_PRIVATE, nullptr) != 0
            || ::mount(QFile::encodeName(at("elsewhere")), QFile::encodeName(at("7А/bound")), nullptr, MS_BIND, nullptr))
            ::_exit(77);
        const RecordFileList list = FindRecordFiles({at("7А")});
        ::_exit(int(list.files.size() + 10 * list.skipped.size()) + (list.skipped.value(0).kind != SkipKind::Folder));
    }
    int status = 0;
    ::waitpid(child, &status, 0);
    if (WEXITSTATUS(status) == 77)
        GTEST_SKIP() << "no mount namespace here";
    EXPECT_EQ(WEXITSTATUS(status), 11) << "a file, the mount point skipped as a folder";
}

TEST_F(FolderScan, DanglingLinkIsSkippedWithAReason)
{
    ASSERT_EQ(::symlink("nowhere.vnl", QFile::encodeName(at("gone.vnl")).constData()), 0);
    const RecordFileList list = scan();
    EXPECT_TRUE(list.files.isEmpty());
    ASSERT_EQ(list.skipped.size(), 1);
    EXPECT_EQ(list.skipped[0].reason, QStringLiteral("Символическая ссылка никуда не ведет"));
}

TEST_F(FolderScan, PipesAreNeverOpened)
{
    // Opening a pipe for reading blocks until a writer comes; the scan must finish regardless.
    ASSERT_EQ(::mkfifo(QFile::encodeName(at("pipe.vnl")).constData(), 0600), 0);
    ASSERT_EQ(::mkfifo(QFile::encodeName(at("pipe")).constData(), 0600), 0);
    auto result = std::async(std::launch::async, [this] { return scan(); });
    ASSERT_EQ(result.wait_for(std::chrono::seconds(5)), std::future_status::ready);
    const RecordFileList list = result.get();
    EXPECT_TRUE(list.files.isEmpty());
    ASSERT_EQ(list.skipped.size(), 1); // only the one that claims to be a record is mentioned
    EXPECT_EQ(list.skipped[0].path, at("pipe.vnl"));
}

// Root reads every folder, so as root the scan runs in a child process that has become nobody.
RecordFileList ScanAsUnprivileged(const QString& folder)
{
    if (::geteuid() != 0)
        return FindRecordFiles({folder});
    int pipeFds[2];
    if (::pipe(pipeFds) != 0)
        return {};
    const pid_t child = ::fork();
    if (child == 0) {
        ::close(pipeFds[0]);
        if (::setgid(65534) != 0 || ::setuid(65534) != 0)
            ::_exit(3);
        const RecordFileList list = FindRecordFiles({folder});
        QByteArray report = QByteArray::number(list.files.size()) + '\n';
        for (const SkippedPath& skipped : list.skipped)
            report += skipped.path.toUtf8() + '\t' + skipped.reason.toUtf8() + '\n';
        const ssize_t written = ::write(pipeFds[1], report.constData(), std::size_t(report.size()));
        ::_exit(written == report.size() ? 0 : 4);
    }
    ::close(pipeFds[1]);
    QByteArray report;
    char buffer[4096];
    for (ssize_t got; (got = ::read(pipeFds[0], buffer, sizeof buffer)) > 0;)
        report.append(buffer, got);
    ::close(pipeFds[0]);
    int status = 0;
    ::waitpid(child, &status, 0);
    EXPECT_TRUE(WIFEXITED(status) && WEXITSTATUS(status) == 0);
    RecordFileList list;
    const QList<QByteArray> lines = report.split('\n');
    for (int i = 0; i < lines.value(0).toInt(); ++i)
        list.files << QString();
    for (qsizetype i = 1; i < lines.size(); ++i) {
        const QList<QByteArray> parts = lines[i].split('\t');
        if (parts.size() == 2)
            list.skipped.append({QString::fromUtf8(parts[0]), QString::fromUtf8(parts[1])});
    }
    return list;
}

TEST_F(FolderScan, UnreadableFolderIsSkippedWithAReason)
{
    WriteFile(at("locked/one.vnl"), "Vornale 5\r\n");
    WriteFile(at("open/two.vnl"), "Vornale 5\r\n");
    ASSERT_EQ(::chmod(QFile::encodeName(m_folder.path()).constData(), 0755), 0);
    ASSERT_EQ(::chmod(QFile::encodeName(at("open")).constData(), 0755), 0);
    ASSERT_EQ(::chmod(QFile::encodeName(at("locked")).constData(), 0), 0);
    const RecordFileList list = ScanAsUnprivileged(m_folder.path());
    ::chmod(QFile::encodeName(at("locked")).constData(), 0700);
    EXPECT_EQ(list.files.size(), 1); // the walk goes on past the locked folder
    ASSERT_EQ(list.skipped.size(), 1);
    EXPECT_EQ(list.skipped[0].path, at("locked"));
    EXPECT_EQ(list.skipped[0].reason, QStringLiteral("Папка не читается: File access denied"));
}

TEST_F(FolderScan, HugeFileIsLookedAtOnlyAtItsStart)
{
    // 200 MB without a line end: neither listed nor read whole (a sparse file costs no disk).
    QFile file(at("huge.bin"));
    ASSERT_TRUE(file.open(QIODevice::WriteOnly));
    file.write(QByteArray(1000, 'x'));
    ASSERT_TRUE(file.resize(200LL << 20));
    file.close();
    const auto started = std::chrono::steady_clock::now();
    EXPECT_TRUE(found().isEmpty());
    EXPECT_LT(std::chrono::steady_clock::now() - started, std::chrono::seconds(1));
}

TEST_F(FolderScan, NamedFilesAreKeptWhateverTheyHold)
{
    WriteFile(at("x.bin"), "nothing");
    const RecordFileList list = FindRecordFiles({at("x.bin"), at("missing.vnl")});
    EXPECT_EQ(list.files, QStringList({at("x.bin"), at("missing.vnl")}));
}

TEST_F(FolderScan, CancelStopsTheWalk)
{
    WriteFile(at("a/one.vnl"), "Vornale 5\r\n");
    const std::atomic<bool> cancelled{true};
    EXPECT_TRUE(FindRecordFiles({m_folder.path()}, &cancelled).files.isEmpty());
}

} // namespace
