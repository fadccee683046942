#include "summary_app/CommandLine.h"

#include "core/RegionalSettings.h"
#include "tests/core/RowName.h"
#include "tests/support/TestFiles.h"

#include <QCoreApplication>
#include <QDir>
#include <QFile>
#include <QTemporaryDir>
#include <gtest/gtest.h>

#include <sys/stat.h>

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
    CommandLine()
    {
        write("group/a.vnl", "Vornale 5\r\nA\r\n120\r\n80\r\n70\r\n0\r\n70\r\n175\r\n30\r\n");
        write("group/sub/b.txt", "Vornale 5\r\nB\r\n0\r\n");
        write("group/c.vnl", "not a record");
    }
    QString at(const QString& name) const { return m_folder.filePath(name); }
    void write(const QString& name, const QByteArray& bytes) { testsupport::WriteFile(at(name), bytes); }
    QByteArray read(const QString& name) const
    {
        QFile file(at(name));
        return file.open(QIODevice::ReadOnly) ? file.readAll() : QByteArray();
    }
    Outcome run(QStringList arguments)
    {
        arguments.prepend("vornale-summary");
        Outcome result;
        QTextStream out(&result.out);
        QTextStream err(&result.err);
        result.code = RunCommandLine(arguments, out, err);
        return result;
    }
    QTemporaryDir m_folder;
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

TEST_F(CommandLine, SkippedFilesExitOneAndAreNamedWithTheirReason)
{
    ASSERT_EQ(::mkfifo(QFile::encodeName(at("group/pipe.vnl")).constData(), 0600), 0);
    const Outcome result = run({"--csv", at("out.csv"), at("group"), at("missing.vnl")});
    EXPECT_EQ(result.code, 1);
    EXPECT_TRUE(result.err.contains(at("group/pipe.vnl") + QStringLiteral(": Не обычный файл")));
    EXPECT_TRUE(result.err.contains(at("missing.vnl") + QStringLiteral(": Ошибка чтения: File not found")));
    EXPECT_TRUE(QFile::exists(at("out.csv")));
}

TEST_F(CommandLine, BothOutputsAtOnce)
{
    const Outcome result = run({"--pdf", at("out.pdf"), "--csv", at("out.csv"), at("group/a.vnl")});
    EXPECT_EQ(result.code, 0);
    EXPECT_TRUE(read("out.pdf").startsWith("%PDF-"));
    EXPECT_TRUE(read("out.csv").startsWith("\xEF\xBB\xBF"));
}

TEST_F(CommandLine, UnwritableOutputFailsAndLeavesNothing)
{
    const Outcome result = run({"--csv", at("no/such/out.csv"), at("group")});
    EXPECT_EQ(result.code, 2);
    EXPECT_TRUE(result.err.contains(QStringLiteral("не удалось записать")));
}

TEST(CommandLineMode, IsChosenByAnOptionOnly)
{
    EXPECT_FALSE(WantsCommandLine({"vornale-summary"}));
    EXPECT_FALSE(WantsCommandLine({"vornale-summary", "folder"}));
    EXPECT_FALSE(WantsCommandLine({"vornale-summary", "--", "-odd-name.vnl"}));
    EXPECT_TRUE(WantsCommandLine({"vornale-summary", "folder", "--csv", "x"}));
    EXPECT_TRUE(WantsCommandLine({"vornale-summary", "--help"}));
    EXPECT_FALSE(NeedsPainting({"vornale-summary", "--csv", "x.csv", "f"}));
    EXPECT_TRUE(NeedsPainting({"vornale-summary", "--csv", "x.csv", "--pdf=y.pdf", "f"}));
    EXPECT_FALSE(NeedsPainting({"vornale-summary", "--csv", "x.csv", "--", "--pdf"}));
    EXPECT_EQ(EnterFolder({"vornale-summary", "--enter", "7А"}), QStringLiteral("7А"));
    EXPECT_EQ(EnterFolder({"vornale-summary", "--enter=7А"}), QStringLiteral("7А"));
    EXPECT_EQ(EnterFolder({"vornale-summary", "--", "--enter", "7А"}), QString());
    EXPECT_EQ(EnterFolder({"vornale-summary", "--enter"}), QString()); // left to the parser's usage error
}

} // namespace
