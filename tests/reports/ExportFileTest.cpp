#include "reports/CsvFile.h"
#include "reports/ExportFile.h"

#include "tests/core/RowName.h"
#include "tests/support/TestFiles.h"

#include <QTemporaryDir>

#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

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

QStringList Entries(const QTemporaryDir& folder)
{
    return QDir(folder.path()).entryList(QDir::AllEntries | QDir::Hidden | QDir::System | QDir::NoDotAndDotDot);
}

// A pipe gets the bytes; a file is replaced, so a hard link keeps the old bytes; nothing is left.
TEST(ExportFile, WritesIntoAPipeAndReplacesAFile)
{
    QTemporaryDir folder;
    const QByteArray pipe = QFile::encodeName(folder.filePath("pipe"));
    ASSERT_EQ(::mkfifo(pipe.constData(), 0600), 0);
    const int reader = ::open(pipe.constData(), O_RDONLY | O_NONBLOCK); // so that opening for writing does not wait
    EXPECT_EQ(WriteExport(folder.filePath("pipe"), WriteBytes), QString());
    QByteArray received(64, '\0');
    received.resize(std::max<qsizetype>(::read(reader, received.data(), 64), 0));
    ::close(reader);
    EXPECT_EQ(received, kBytes); // a pipe replaced by a file would give nothing
    testsupport::WriteFile(folder.filePath("out"), "earlier");
    ASSERT_EQ(::link(QFile::encodeName(folder.filePath("out")), QFile::encodeName(folder.filePath("kept"))), 0);
    EXPECT_EQ(WriteExport(folder.filePath("out"), WriteBytes), QString());
    EXPECT_EQ(Read(folder.filePath("out")), kBytes);
    EXPECT_EQ(Read(folder.filePath("kept")), "earlier");
    EXPECT_EQ(Entries(folder), QStringList({"kept", "out", "pipe"}));
}

using Writer = std::function<QString(QIODevice&, std::atomic<bool>& cancel)>;
const Writer kWrites = [](QIODevice& out, std::atomic<bool>&) { return WriteBytes(out); };
// Ctrl+C arrives while this one is written, and it does not look.
const Writer kCancelledAfter = [](QIODevice& out, std::atomic<bool>& cancel) { return (cancel = true, WriteBytes(out)); };
// Ctrl+C arrives while the CSV is written.
const Writer kCsvCancelled = [](QIODevice& out, std::atomic<bool>& cancel) {
    const auto cellsAt = [&cancel](qsizetype row) { return (cancel = cancel || row == 2, QStringList{QString(70000, u'x')}); };
    return WriteCsv(out, {"a"}, 5, cellsAt, &cancel);
};

struct TogetherRow
{
    std::string name;
    Writer report;
    Writer csv;
    QStringList failures;
};

using ExportsTogether = ::testing::TestWithParam<TogetherRow>;

// One run's outputs, the report and then the CSV, appear together or not at all.
TEST_P(ExportsTogether, AppearTogetherOrNotAtAll)
{
    QTemporaryDir folder;
    const QString pdf = folder.filePath("out.pdf");
    const QString csv = folder.filePath("out.csv");
    testsupport::WriteFile(pdf, "earlier");
    testsupport::WriteFile(csv, "earlier");
    std::atomic<bool> cancel{false};
    const QStringList failures =
        WriteExportsTogether({{pdf, [&](QIODevice& out) { return GetParam().report(out, cancel); }},
                              {csv, [&](QIODevice& out) { return GetParam().csv(out, cancel); }}},
                             &cancel);
    EXPECT_EQ(failures, GetParam().failures);
    const QByteArray expected = failures == QStringList{{}, {}} ? kBytes : "earlier";
    EXPECT_EQ(Read(pdf), expected);
    EXPECT_EQ(Read(csv), expected);
    EXPECT_EQ(Entries(folder), QStringList({"out.csv", "out.pdf"}));
}

INSTANTIATE_TEST_SUITE_P(
    Rows, ExportsTogether,
    ::testing::Values(TogetherRow{"both_written", kWrites, kWrites, {{}, {}}},
                      TogetherRow{"cancelled_between_the_two", kCancelledAfter, kWrites, {CancelledReason(), CancelledReason()}},
                      TogetherRow{"cancelled_while_the_last_is_written", kWrites, kCancelledAfter, {CancelledReason(), CancelledReason()}},
                      TogetherRow{"cancelled_while_the_csv_is_written", kWrites, kCsvCancelled, {{}, CancelledReason()}},
                      TogetherRow{"the_last_fails", kWrites,
                                  [](QIODevice& out, std::atomic<bool>&) { return WriteBytes(out) + "full"; },
                                  {{}, QStringLiteral("full")}}),
    RowName());

} // namespace
