#include "summary_app/CommandLine.h"

#include "core/RegionalSettings.h"
#include "tests/core/RowName.h"
#include "tests/support/TestFiles.h"

#include <QCoreApplication>
#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QTemporaryDir>
#include <gtest/gtest.h>

#include <fcntl.h>
#include <sys/stat.h>
#include <sys/sysmacros.h>
#include <unistd.h>

#include <functional>

namespace {

struct Outcome
{
    int code = -1;
    QString out;
    QString err;
};

class CommandLine : public ::testing::Test
{
protected:
    // Run from inside the test's folder, so that an output named without a folder lands there.
    CommandLine() : m_previousFolder(QDir::currentPath())
    {
        QDir::setCurrent(m_folder.path());
        write("group/a.vnl", "Vornale 5\r\nA\r\n120\r\n80\r\n70\r\n0\r\n70\r\n175\r\n30\r\n");
        write("group/sub/b.txt", "Vornale 5\r\nB\r\n0\r\n");
        write("group/c.vnl", "not a record");
    }
    ~CommandLine() override { QDir::setCurrent(m_previousFolder); }
    QString at(const QString& name) const { return m_folder.filePath(name); }
    void write(const QString& name, const QByteArray& bytes) { testsupport::WriteFile(at(name), bytes); }
    QByteArray read(const QString& name) const
    {
        QFile file(at(name));
        return file.open(QIODevice::ReadOnly) ? file.readAll() : QByteArray();
    }
    // With `cancel`, the export as SIGINT and SIGTERM leave it.
    Outcome run(QStringList arguments, const std::atomic<bool>* cancel = nullptr)
    {
        arguments.prepend("vornale-summary");
        Outcome result;
        QTextStream out(&result.out);
        QTextStream err(&result.err);
        const CommandLineRequest request = ParseCommandLine(arguments);
        result.code = cancel != nullptr ? RunExport(request, out, err, cancel) : RunCommandLine(request, out, err);
        return result;
    }
    QStringList entries() const
    {
        return QDir(m_folder.path()).entryList(QDir::AllEntries | QDir::Hidden | QDir::NoDotAndDotDot);
    }
    QTemporaryDir m_folder;
    QString m_previousFolder;
    ScopedRegionalSettings m_comma{QChar(u','), QChar(0x00A0)};
};

struct UsageCase
{
    std::string name;
    QStringList arguments;
};

class CommandLineUsage : public CommandLine, public ::testing::WithParamInterface<UsageCase>
{
};

TEST_P(CommandLineUsage, IsAnErrorWithExitTwoAndNothingWritten)
{
    const Outcome result = run(GetParam().arguments);
    EXPECT_EQ(result.code, 2);
    EXPECT_TRUE(result.err.contains(QStringLiteral("Использование"))) << result.err.toStdString();
    EXPECT_TRUE(result.out.isEmpty());
    EXPECT_FALSE(QFile::exists(at("out.csv")));
}

INSTANTIATE_TEST_SUITE_P(Rows, CommandLineUsage,
                         ::testing::Values(UsageCase{"no_output", {"somewhere"}},
                                           UsageCase{"no_paths", {"--csv", "out.csv"}},
                                           UsageCase{"csv_without_file", {"--csv"}},
                                           UsageCase{"unknown_option", {"--xls", "out.csv", "x"}}),
                         RowName());

struct InfoCase
{
    std::string name;
    QStringList arguments;
    QString printed;
};

class CommandLineInfo : public CommandLine, public ::testing::WithParamInterface<InfoCase>
{
protected:
    void SetUp() override
    {
        m_version = QCoreApplication::applicationVersion();
        QCoreApplication::setApplicationVersion(QStringLiteral("5.0"));
    }
    void TearDown() override { QCoreApplication::setApplicationVersion(m_version); }
    QString m_version;
};

// Help and version win over everything else on the line, read nothing and write no file.
TEST_P(CommandLineInfo, PrintsAndExitsZero)
{
    const Outcome result = run(GetParam().arguments);
    EXPECT_EQ(result.code, 0);
    EXPECT_TRUE(result.out.contains(GetParam().printed)) << result.out.toStdString();
    EXPECT_TRUE(result.err.isEmpty()) << result.err.toStdString();
    EXPECT_FALSE(QFile::exists(QStringLiteral("out.csv")));
}

INSTANTIATE_TEST_SUITE_P(
    Rows, CommandLineInfo,
    ::testing::Values(InfoCase{"help", {"--help"}, QStringLiteral("--csv <ФАЙЛ>")},
                      InfoCase{"short_help", {"-h"}, QStringLiteral("--version")},
                      InfoCase{"help_names_the_program_in_russian", {"--help"},
                               QStringLiteral("Использование: vornale-summary [параметры] ПУТЬ…\n")},
                      InfoCase{"version", {"--version"}, QStringLiteral("vornale-summary 5.0\n")},
                      InfoCase{"short_version", {"-v"}, QStringLiteral("vornale-summary 5.0\n")},
                      InfoCase{"version_with_an_export", {"--csv", "out.csv", "--version", "x"},
                               QStringLiteral("vornale-summary 5.0\n")}),
    RowName());

TEST_F(CommandLine, AllReadExitsZeroAndPrintsTheCounts)
{
    const Outcome result = run({"--csv", at("out.csv"), at("group")});
    EXPECT_EQ(result.code, 0) << result.err.toStdString();
    EXPECT_TRUE(result.err.isEmpty());
    EXPECT_TRUE(result.out.contains(QStringLiteral("Файлов: 3\n")));
    EXPECT_TRUE(result.out.contains(QStringLiteral("Рассчитано: 1\n")));
    EXPECT_TRUE(result.out.contains(QStringLiteral("Ошибка ввода: 1\n")));
    EXPECT_TRUE(result.out.contains(QStringLiteral("Неверный формат файла: 1\n")));
    EXPECT_EQ(read("out.csv").count("\r\n"), 4);
}

struct SkipCase
{
    std::string name;
    QString path;    // within the test's folder; named on the line when not in "group"
    QString counted; // the line of standard output that counts it
    QString reason;
    std::function<int(const QByteArray& path)> make;
};

class CommandLineSkip : public CommandLine, public ::testing::WithParamInterface<SkipCase>
{
};

TEST_P(CommandLineSkip, ExitsOneAndNamesThePathWithItsReason)
{
    const QString path = at(GetParam().path);
    ASSERT_EQ(GetParam().make(QFile::encodeName(path)), 0);
    QStringList arguments{"--csv", at("out.csv"), at("group")};
    if (!GetParam().path.startsWith(QStringLiteral("group/")))
        arguments << path;
    const Outcome result = run(arguments);
    EXPECT_EQ(result.code, 1); // whatever was skipped, and only that
    EXPECT_TRUE(result.err.contains(path + QStringLiteral(": ") + GetParam().reason)) << result.err.toStdString();
    EXPECT_TRUE(result.out.contains(GetParam().counted + u'\n')) << result.out.toStdString();
    EXPECT_TRUE(QFile::exists(at("out.csv")));
}

const auto kNothing = [](const QByteArray&) { return 0; };

INSTANTIATE_TEST_SUITE_P(
    Rows, CommandLineSkip,
    ::testing::Values(
        SkipCase{"missing_named_file", "missing.vnl", "Ошибка чтения: 1", "Ошибка чтения: File not found", kNothing},
        SkipCase{"pipe", "group/pipe.vnl", "Пропущено путей: 1 (каналов и устройств: 1)", "Не обычный файл",
                 [](const QByteArray& path) { return ::mkfifo(path.constData(), 0600); }},
        SkipCase{"dangling_link", "group/gone.vnl", "Пропущено путей: 1 (ссылок: 1)",
                 "Символическая ссылка никуда не ведет",
                 [](const QByteArray& path) { return ::symlink("nowhere", path.constData()); }},
        SkipCase{"link_loop", "group/loop", "Пропущено путей: 1 (ссылок: 1)", "Символическая ссылка образует цикл",
                 [](const QByteArray& path) { return ::symlink("loop", path.constData()); }},
        SkipCase{"link_out_of_the_folder", "group/root", "Пропущено путей: 1 (ссылок: 1)",
                 "Символическая ссылка ведет за пределы",
                 [](const QByteArray& path) { return ::symlink("/", path.constData()); }}),
    RowName());

TEST_F(CommandLine, BothOutputsAtOnce)
{
    const Outcome result = run({"--pdf", at("out.pdf"), "--csv", at("out.csv"), at("group/a.vnl")});
    EXPECT_EQ(result.code, 0);
    EXPECT_TRUE(read("out.pdf").startsWith("%PDF-"));
    EXPECT_TRUE(read("out.csv").startsWith("\xEF\xBB\xBF"));
}

TEST_F(CommandLine, UnwritableOutputFailsAndLeavesNothing)
{
    // A folder where the CSV should go: the new file is made beside it and can never replace it.
    const QStringList before = entries();
    const Outcome result = run({"--csv", at("group"), at("group")});
    EXPECT_EQ(result.code, 2);
    EXPECT_TRUE(result.err.contains(QStringLiteral("не удалось записать")));
    EXPECT_EQ(entries(), before);
    EXPECT_TRUE(QFileInfo(at("group")).isDir());
}

// What SIGINT and SIGTERM do: the export stops, exits non-zero and writes nothing.
TEST_F(CommandLine, CancelledExportLeavesTheEarlierOutputs)
{
    write("out.csv", "earlier");
    const QStringList before = entries();
    const std::atomic<bool> cancel{true};
    EXPECT_EQ(run({"--csv", at("out.csv"), "--pdf", at("out.pdf"), at("group")}, &cancel).code, ExitCancelled);
    EXPECT_EQ(read("out.csv"), "earlier");
    EXPECT_EQ(entries(), before);
}

// "-" is standard output, which then carries the CSV alone; a device stays a device (a null device
// of its own, which only root can make, so that a faulty run cannot harm the machine's /dev/null).
TEST_F(CommandLine, OutputsOntoStandardOutputAndDevices)
{
    const bool device = ::mknod(QFile::encodeName(at("null")).constData(), S_IFCHR | 0600, makedev(1, 3)) == 0;
    write("stdout", "");
    const int saved = ::dup(STDOUT_FILENO);
    ::dup2(::open(QFile::encodeName(at("stdout")).constData(), O_WRONLY | O_CLOEXEC), STDOUT_FILENO);
    const Outcome result = run({"--csv", "-", "--pdf", device ? at("null") : at("out.pdf"), at("group")});
    ::dup2(saved, STDOUT_FILENO);
    EXPECT_EQ(result.code, 0) << result.err.toStdString();
    EXPECT_TRUE(read("stdout").startsWith("\xEF\xBB\xBF"));
    EXPECT_TRUE(result.out.isEmpty());
    EXPECT_TRUE(result.err.contains(QStringLiteral("Файлов: 3\n"))) << result.err.toStdString();
    EXPECT_EQ(QFileInfo(at("null")).size(), 0);
}

// Without an output option the window opens; the toolkit's own options are left to it.
TEST(CommandLineParse, ChoosesWindowOrExport)
{
    using Action = CommandLineRequest::Action;
    const CommandLineRequest window = ParseCommandLine({"vornale-summary", "-style", "fusion", "folder"});
    EXPECT_EQ(int(window.action), int(Action::Window)) << window.text.toStdString();
    EXPECT_EQ(window.paths, QStringList{"folder"});
    const CommandLineRequest dashed = ParseCommandLine({"vornale-summary", "--", "-odd.vnl"});
    EXPECT_EQ(int(dashed.action), int(Action::Window));
    EXPECT_EQ(dashed.paths, QStringList{"-odd.vnl"});
    const CommandLineRequest exporting =
        ParseCommandLine({"vornale-summary", "-platform", "offscreen", "--csv", "x", "--", "--pdf"});
    EXPECT_EQ(int(exporting.action), int(Action::Export));
    EXPECT_EQ(exporting.paths, QStringList{"--pdf"});
    EXPECT_TRUE(exporting.pdfPath.isEmpty());
    const CommandLineRequest entry = ParseCommandLine({"vornale-summary", "--enter=7А"});
    EXPECT_EQ(int(entry.action), int(Action::Window));
    EXPECT_EQ(entry.enterFolder, QStringLiteral("7А"));
    EXPECT_EQ(int(ParseCommandLine({"vornale-summary", "--enter", "7А", "--csv", "x"}).action), int(Action::Fail));
    // A file is no stage folder: refused before any typing.
    EXPECT_EQ(int(ParseCommandLine({"vornale-summary", "--enter", QCoreApplication::applicationFilePath()}).action),
              int(Action::Fail));
}

} // namespace
