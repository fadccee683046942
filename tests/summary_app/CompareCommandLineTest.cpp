#include "summary_app/CommandLine.h"
#include "summary_app/CompareCommandLine.h"

#include "core/Cp1251.h"
#include "core/RegionalSettings.h"
#include "tests/core/RowName.h"
#include "tests/support/TestFiles.h"

#include <QDir>
#include <QFile>
#include <QTemporaryDir>
#include <gtest/gtest.h>

namespace {

QByteArray Record(const QByteArray& name, const QByteArray& systolic = "120")
{
    return "Vornale 5\r\n" + name + "\r\n" + systolic + "\r\n80\r\n70\r\n0\r\n70\r\n175\r\n30\r\n";
}

class CompareCommandLine : public ::testing::Test
{
protected:
    CompareCommandLine()
    {
        QByteArray everyCharacter;
        for (int byte = 0x20; byte <= 0xFF; ++byte)
            everyCharacter.append(char(byte));
        write("autumn/a.vnl", Record("Иванов Иван"));
        write("autumn/sub/b.vnl", Record(everyCharacter));
        write("spring/b.vnl", Record(everyCharacter, "140"));
        for (int i = 0; i < 10; ++i)
            write(QStringLiteral("spring/%1.vnl").arg(i), Record("ИВАНОВ  ИВАН", "130"));
        write("spring/hostile.vnl", QByteArray(2 * 1024 * 1024, '\n'));
        QDir(m_folder.path()).mkdir("empty");
    }
    QString at(const QString& name) const { return m_folder.filePath(name); }
    void write(const QString& name, const QByteArray& bytes)
    {
        testsupport::WriteFile(
            at(name), name.contains("hostile") ? bytes : EncodeCp1251(QString::fromUtf8(bytes)));
    }
    QByteArray read(const QString& name) const
    {
        QFile file(at(name));
        return file.open(QIODevice::ReadOnly) ? file.readAll() : QByteArray();
    }
    int run(QStringList arguments)
    {
        arguments.prepend("--compare");
        arguments.prepend("vornale-summary");
        QTextStream out(&m_out);
        QTextStream err(&m_err);
        return RunCommandLine(arguments, out, err);
    }
    QTemporaryDir m_folder;
    ScopedRegionalSettings m_comma{QChar(u','), QChar(0x00A0)};
    QString m_out;
    QString m_err;
};

struct UsageRow
{
    std::string name;
    QStringList arguments; // "@" stands for the test folder
};

class CompareUsage : public CompareCommandLine, public ::testing::WithParamInterface<UsageRow>
{
};

TEST_P(CompareUsage, IsAnErrorWithExitTwoAndNothingWritten)
{
    QStringList arguments = GetParam().arguments;
    arguments.replaceInStrings("@", m_folder.path());
    EXPECT_EQ(run(arguments), 2);
    EXPECT_TRUE(m_err.contains("Использование")) << m_err.toStdString();
    EXPECT_TRUE(m_out.isEmpty());
    EXPECT_FALSE(QFile::exists(at("out.csv")));
}

INSTANTIATE_TEST_SUITE_P(
    Rows, CompareUsage,
    ::testing::Values(
        UsageRow{"one_stage", {"--csv", "@/out.csv", "@/autumn"}},
        UsageRow{"more_labels_than_stages",
                 {"--label", "a", "--label", "b", "--label", "c", "@/autumn", "@/spring"}},
        UsageRow{"csv_without_file", {"@/autumn", "@/spring", "--csv"}}),
    RowName());

TEST_F(CompareCommandLine, OddStagesAreNotedAndTheComparisonGoesOn)
{
    EXPECT_EQ(run({at("autumn"), at("autumn"), at("autumn/sub"), at("empty")}), 0)
        << m_err.toStdString();
    EXPECT_TRUE(m_out.contains("уже есть в этапе «autumn»")) << m_out.toStdString();
    EXPECT_TRUE(m_out.contains("лежит внутри")) << m_out.toStdString();
    EXPECT_TRUE(m_out.contains("«empty»: файлов 0")) << m_out.toStdString();
    EXPECT_TRUE(m_out.contains("нет файлов записей")) << m_out.toStdString();
}

TEST_F(CompareCommandLine, AnonymisedCsvHoldsCodesNotNamesNorPaths)
{
    EXPECT_EQ(run({"--anonymise", "--csv", at("out.csv"), "--label", "2027-05", "--label",
                   "2026-09", at("spring"), at("autumn")}),
              0);
    EXPECT_TRUE(read("out.csv").startsWith("\xEF\xBB\xBF"));
    const QString csv = QString::fromUtf8(read("out.csv"));
    EXPECT_TRUE(csv.contains("Код;Пол;Отметки;2026-09: ИФИ")) << csv.toStdString();
    EXPECT_TRUE(csv.contains("Л0001")) << csv.toStdString();
    EXPECT_TRUE(csv.contains("неоднозначно: файлов 10")) << csv.toStdString();
    EXPECT_TRUE(csv.contains("Неверный формат файла")) << csv.toStdString();
    EXPECT_FALSE(csv.contains("Иванов", Qt::CaseInsensitive));
    EXPECT_FALSE(csv.contains(m_folder.path()));
    EXPECT_TRUE(m_out.contains("Изменение ИФИ: пар 1,"))
        << m_out.toStdString(); // the every-character name

    // The report goes through the same option, and a usage error writes none.
    EXPECT_EQ(run({"--anonymise", "--pdf", at("out.pdf"), at("spring"), at("autumn")}), 0);
    EXPECT_TRUE(read("out.pdf").startsWith("%PDF"));

    EXPECT_EQ(run({"--csv", at("missing/out.csv"), at("spring"), at("autumn")}), 2);
    EXPECT_TRUE(read("out.csv").startsWith("\xEF\xBB\xBF"));
}

// SIGINT and SIGTERM set this flag: nothing may replace an earlier output, nothing be left behind.
TEST_F(CompareCommandLine, CancelledRunKeepsTheEarlierOutputs)
{
    write("out.csv", "earlier");
    CompareRequest request;
    QString error;
    bool helpShown = false;
    QTextStream help(&m_out);
    ASSERT_TRUE(ParseCompareCommandLine({"vornale-summary", "--compare", "--csv", at("out.csv"), "--pdf",
                                         at("out.pdf"), at("spring"), at("autumn")},
                                        request, error, helpShown, help));
    const std::atomic<bool> cancel{true};
    QTextStream out(&m_out);
    QTextStream err(&m_err);
    EXPECT_EQ(RunCompare(request, out, err, &cancel), ExitCancelled);
    EXPECT_EQ(read("out.csv"), "earlier");
    EXPECT_EQ(QDir(m_folder.path()).entryList(QDir::Files | QDir::Hidden), QStringList{"out.csv"});
}

} // namespace
