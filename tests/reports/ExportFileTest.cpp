#include "reports/CsvFile.h"
#include "reports/ExportFile.h"

#include "tests/core/RowName.h"
#include "tests/support/TestFiles.h"

#include <QDir>
#include <QFile>
#include <QIODevice>
#include <QTemporaryDir>

#include <fcntl.h>
#include <sys/socket.h>
#include <sys/stat.h>
#include <sys/sysmacros.h>
#include <sys/un.h>
#include <unistd.h>

#include <cstdio>
#include <functional>

namespace {

const QByteArray kBytes = "new;bytes\r\n";

QString WriteBytes(QIODevice& out)
{
    return out.write(kBytes) == kBytes.size() ? QString() : out.errorString();
}

QByteArray Read(const QString& path)
{
    QFile file(path);
    return file.open(QIODevice::ReadOnly) ? file.readAll() : QByteArray();
}

mode_t TypeOf(const QString& path)
{
    struct stat info {};
    return ::lstat(QFile::encodeName(path).constData(), &info) == 0 ? info.st_mode & S_IFMT : 0;
}

struct DestinationRow
{
    std::string name;
    std::function<bool(const QByteArray& path)> make; // false when the machine does not allow it
    mode_t typeAfter;
    QString refusal; // empty when the bytes must arrive
};

class ExportDestination : public ::testing::TestWithParam<DestinationRow>
{
protected:
    QTemporaryDir m_folder;
};

// A device or pipe receives the bytes and stays what it was; a file is replaced by a new one;
// what cannot take bytes is refused; nothing is left beside it.
TEST_P(ExportDestination, IsWrittenIntoReplacedOrRefusedByWhatItIs)
{
    const QString path = m_folder.filePath("out");
    if (!GetParam().make(QFile::encodeName(path)))
        GTEST_SKIP() << "cannot be made here";
    const QString kept = m_folder.filePath("kept");
    const bool existingFile = TypeOf(path) == S_IFREG;
    if (existingFile) {
        ASSERT_EQ(::link(QFile::encodeName(path).constData(), QFile::encodeName(kept).constData()), 0);
    }
    // A reader already there, so that opening the pipe for writing does not wait.
    const int reader = GetParam().typeAfter == S_IFIFO
                           ? ::open(QFile::encodeName(path).constData(), O_RDONLY | O_NONBLOCK)
                           : -1;

    EXPECT_EQ(WriteExport(path, WriteBytes), GetParam().refusal);

    EXPECT_EQ(TypeOf(path), GetParam().typeAfter);
    if (GetParam().typeAfter == S_IFREG) {
        EXPECT_EQ(Read(path), kBytes);
    }
    if (existingFile) {
        EXPECT_EQ(Read(kept), "earlier"); // replaced, not overwritten in place
    }
    if (reader >= 0) {
        char buffer[64] = {};
        EXPECT_EQ(::read(reader, buffer, sizeof buffer), kBytes.size());
        EXPECT_EQ(QByteArray(buffer), kBytes);
        ::close(reader);
    }
    const QStringList left = QDir(m_folder.path()).entryList(QDir::AllEntries | QDir::Hidden | QDir::System
                                                             | QDir::NoDotAndDotDot);
    EXPECT_EQ(left, existingFile ? QStringList({"kept", "out"}) : QStringList({"out"}));
}

bool MakeSocket(const QByteArray& path)
{
    const int fd = ::socket(AF_UNIX, SOCK_STREAM, 0);
    sockaddr_un address {};
    address.sun_family = AF_UNIX;
    std::snprintf(address.sun_path, sizeof address.sun_path, "%s", path.constData());
    const bool made = ::bind(fd, reinterpret_cast<const sockaddr*>(&address), sizeof address) == 0;
    ::close(fd);
    return made;
}

INSTANTIATE_TEST_SUITE_P(
    Rows, ExportDestination,
    ::testing::Values(
        DestinationRow{"new_file", [](const QByteArray&) { return true; }, S_IFREG, {}},
        DestinationRow{"regular_file",
                       [](const QByteArray& path) {
                           testsupport::WriteFile(QFile::decodeName(path), "earlier");
                           return true;
                       },
                       S_IFREG, {}},
        DestinationRow{"pipe", [](const QByteArray& path) { return ::mkfifo(path.constData(), 0600) == 0; },
                       S_IFIFO, {}},
        // A null device of its own (root only), so that a faulty export cannot harm the machine's.
        DestinationRow{"character_device",
                       [](const QByteArray& path) {
                           return ::mknod(path.constData(), S_IFCHR | 0600, makedev(1, 3)) == 0;
                       },
                       S_IFCHR, {}},
        DestinationRow{"folder", [](const QByteArray& path) { return ::mkdir(path.constData(), 0700) == 0; },
                       S_IFDIR, QStringLiteral("это папка")},
        DestinationRow{"socket", MakeSocket, S_IFSOCK,
                       QStringLiteral("это не файл, не символьное устройство и не канал")}),
    RowName());

// "-" is standard output, written into whatever it is (here a file, which stays the same file).
TEST(ExportToStandardOutput, WritesIntoItAndKnowsItsOtherNames)
{
    QTemporaryDir folder;
    const QString path = folder.filePath("stdout");
    testsupport::WriteFile(path, "");
    struct stat before {};
    ASSERT_EQ(::stat(QFile::encodeName(path).constData(), &before), 0);
    const int saved = ::dup(STDOUT_FILENO);
    const int file = ::open(QFile::encodeName(path).constData(), O_WRONLY);
    ::dup2(file, STDOUT_FILENO);
    const QString failure = WriteExport(QStringLiteral("-"), WriteBytes);
    const bool named = NamesStandardOutput(path);
    ::dup2(saved, STDOUT_FILENO);
    ::close(saved);
    ::close(file);
    EXPECT_EQ(failure, QString());
    EXPECT_TRUE(named);
    EXPECT_FALSE(NamesStandardOutput(folder.filePath("other")));
    EXPECT_EQ(Read(path), kBytes);
    struct stat after {};
    ASSERT_EQ(::stat(QFile::encodeName(path).constData(), &after), 0);
    EXPECT_EQ(after.st_ino, before.st_ino);
}

using Writer = std::function<QString(QIODevice&, std::atomic<bool>& cancel)>;

struct TogetherRow
{
    std::string name;
    Writer first;
    Writer second;
    QString secondPath; // in the test's folder
    QStringList failures;
};

class ExportsTogether : public ::testing::TestWithParam<TogetherRow>
{
protected:
    QTemporaryDir m_folder;
};

// One run's outputs (the report, then the CSV) appear together or not at all.
TEST_P(ExportsTogether, AppearTogetherOrNotAtAll)
{
    const QString pdf = m_folder.filePath("out.pdf");
    const QString csv = m_folder.filePath(GetParam().secondPath);
    testsupport::WriteFile(pdf, "earlier");
    if (GetParam().secondPath == "folder")
        QDir(m_folder.path()).mkdir("folder");
    else
        testsupport::WriteFile(csv, "earlier");
    const QStringList before = QDir(m_folder.path()).entryList(QDir::AllEntries | QDir::Hidden | QDir::NoDotAndDotDot);
    std::atomic<bool> cancel{false};
    const QStringList failures = WriteExportsTogether(
        {{pdf, [&](QIODevice& out) { return GetParam().first(out, cancel); }},
         {csv, [&](QIODevice& out) { return GetParam().second(out, cancel); }}},
        &cancel);
    EXPECT_EQ(failures, GetParam().failures);
    const bool placed = failures == QStringList({QString(), QString()});
    EXPECT_EQ(Read(pdf), placed ? kBytes : "earlier");
    if (!QFileInfo(csv).isDir()) {
        EXPECT_EQ(Read(csv), placed ? kBytes : "earlier");
    }
    EXPECT_EQ(QDir(m_folder.path()).entryList(QDir::AllEntries | QDir::Hidden | QDir::NoDotAndDotDot), before);
}

const Writer kWrites = [](QIODevice& out, std::atomic<bool>&) { return WriteBytes(out); };
// Ctrl+C arrives once this one is written.
const Writer kWritesThenCancelled = [](QIODevice& out, std::atomic<bool>& cancel) {
    const QString failure = WriteBytes(out);
    cancel = true;
    return failure;
};

INSTANTIATE_TEST_SUITE_P(
    Rows, ExportsTogether,
    ::testing::Values(
        TogetherRow{"both_written", kWrites, kWrites, "out.csv", {QString(), QString()}},
        TogetherRow{"cancelled_between_the_two", kWritesThenCancelled, kWrites, "out.csv",
                    {CancelledReason(), CancelledReason()}},
        TogetherRow{"cancelled_while_the_last_is_written", kWrites, kWritesThenCancelled, "out.csv",
                    {CancelledReason(), CancelledReason()}},
        TogetherRow{"the_last_fails", kWrites,
                    [](QIODevice& out, std::atomic<bool>&) {
                        WriteBytes(out);
                        return QStringLiteral("disk full");
                    },
                    "out.csv", {QString(), QStringLiteral("disk full")}},
        TogetherRow{"the_last_refused", kWrites, kWrites, "folder", {QString(), QStringLiteral("это папка")}}),
    RowName());

// Ctrl+C while the CSV is written: the earlier CSV stays whole, no part of the new one is left.
TEST(CsvExport, CancelledHalfwayLeavesTheEarlierFile)
{
    QTemporaryDir folder;
    const QString path = folder.filePath("out.csv");
    testsupport::WriteFile(path, "earlier");
    std::atomic<bool> cancel{false};
    const auto cellsAt = [&cancel](qsizetype row) {
        if (row == 2)
            cancel = true;
        return QStringList{QString(70000, u'x')};
    };
    EXPECT_EQ(WriteCsvFile(path, {"a"}, 5, cellsAt, &cancel), CancelledReason());
    EXPECT_EQ(Read(path), "earlier");
    EXPECT_EQ(QDir(folder.path()).entryList(QDir::Files | QDir::Hidden), QStringList{"out.csv"});
}

} // namespace
