#include "summary_app/CommandLine.h"

#include "core/Cp1251.h"
#include "core/RegionalSettings.h"
#include "summary/RecordFileAssessment.h"
#include "tests/core/RowName.h"
#include "tests/support/StageFiles.h"
#include "tests/support/TestFiles.h"

#include <QDir>
#include <QJsonArray>
#include <QJsonDocument>
#include <QJsonObject>
#include <QTemporaryDir>
#include <gtest/gtest.h>

#include <unistd.h>

namespace {

// Age 30, 70 kg, 175 cm, pulse 70: the systolic pressure sets the level.
QByteArray Record(const QString& name, int systolic, int sex)
{
    return EncodeCp1251(QStringLiteral("Vornale 5\r\n%1\r\n%2\r\n80\r\n70\r\n%3\r\n70\r\n175\r\n30\r\n")
                            .arg(name)
                            .arg(systolic)
                            .arg(sex));
}

class GroupsCommandLine : public ::testing::Test
{
protected:
    GroupsCommandLine()
    {
        const int systolic[] = {120, 135, 160, 190, 210, 118, 150};
        for (int i = 0; i < 7; ++i) {
            write(QStringLiteral("a/%1.vnl").arg(i), Record(QStringLiteral("Ученик %1").arg(i), systolic[i], i % 2));
            write(QStringLiteral("b/%1.vnl").arg(i), Record(QStringLiteral("Ученица %1").arg(i), systolic[6 - i] + 15, 1));
        }
    }
    QString at(const QString& name) const { return m_folder.filePath(name); }
    void write(const QString& name, const QByteArray& bytes) { testsupport::WriteFile(at(name), bytes); }
    int run(QStringList arguments)
    {
        arguments.replaceInStrings(QStringLiteral("@"), m_folder.path());
        arguments.prepend(QStringLiteral("vornale-summary"));
        m_out.clear();
        m_err.clear();
        QTextStream out(&m_out);
        QTextStream err(&m_err);
        return RunCommandLine(arguments, out, err);
    }
    QJsonObject json(const QString& name) const
    {
        QFile file(at(name));
        return file.open(QIODevice::ReadOnly) ? QJsonDocument::fromJson(file.readAll()).object() : QJsonObject();
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

class GroupsUsage : public GroupsCommandLine, public ::testing::WithParamInterface<UsageRow>
{
};

TEST_P(GroupsUsage, IsAnErrorWithExitTwoAndNothingWritten)
{
    EXPECT_EQ(run(GetParam().arguments), 2);
    EXPECT_TRUE(m_err.contains(QStringLiteral("Использование"))) << m_err.toStdString();
    EXPECT_TRUE(m_out.isEmpty());
    EXPECT_FALSE(QFile::exists(at("out.json")));
}

INSTANTIATE_TEST_SUITE_P(
    Rows, GroupsUsage,
    ::testing::Values(UsageRow{"unknown_key", {"--by", "class", "--json", "@/out.json", "@/a"}},
                      UsageRow{"repeated_key", {"--by", "sex,sex", "--json", "@/out.json", "@/a"}},
                      UsageRow{"bands_not_ascending", {"--by", "age", "--age-bands", "16,13", "--json", "@/out.json", "@/a"}},
                      UsageRow{"no_paths", {"--by", "sex", "--json", "@/out.json"}},
                      UsageRow{"more_labels_than_paths", {"--by", "folder", "--label", "x", "--label", "y", "@/a"}},
                      UsageRow{"json_without_file", {"--by", "sex", "@/a", "--json"}}),
    RowName());

TEST_F(GroupsCommandLine, PrintsTheGroupsAndWritesEveryFigureAtFullPrecision)
{
    ASSERT_EQ(run({"--by", "folder,sex", "--label", "7А", "--json", "@/out.json", "@/a", "@/b"}), 0)
        << m_err.toStdString();
    EXPECT_TRUE(m_out.startsWith(QStringLiteral("Показатель\t7А, М\t7А, Ж\tb, Ж\tp\n"))) << m_out.toStdString();
    EXPECT_TRUE(m_out.contains(QStringLiteral("Тесты:")));

    // The figures against the rows as the summary assesses them.
    double sum = 0;
    int count = 0;
    QStringList risk;
    for (const char* folder : {"a", "b"}) {
        for (int i = 0; i < 7; ++i) {
            const SummaryRow row = AssessRecordFile(at(QStringLiteral("%1/%2.vnl").arg(folder).arg(i)), Separators::current());
            if (folder[0] == 'a' && i % 2 == 0) {
                sum += QString(row.adaptationIndexShown).replace(u',', u'.').toDouble();
                ++count;
            }
            if (int(row.result.Level) >= 3)
                risk << row.texts.FullName;
        }
    }
    const QJsonObject root = json("out.json");
    const QJsonArray groups = root["groups"].toArray();
    ASSERT_EQ(groups.size(), 3);
    const QJsonObject boys = groups[0].toObject();
    EXPECT_EQ(boys["label"].toString(), QStringLiteral("7А, М"));
    EXPECT_EQ(boys["assessed"].toInt(), count);
    EXPECT_DOUBLE_EQ(boys["ifi"].toObject()["mean"].toDouble(), sum / count);
    for (const char* member : {"files", "levels", "balance", "kerdo", "bmi"})
        EXPECT_TRUE(boys.contains(QLatin1String(member))) << member;
    for (const char* member : {"median", "q1", "q3", "sd"})
        EXPECT_TRUE(boys["bmi"].toObject()[QLatin1String(member)].isDouble()) << member;
    EXPECT_EQ(boys["levels"].toArray().size(), 4);
    EXPECT_EQ(boys["balance"].toArray().size(), 3);

    const QJsonArray tests = root["tests"].toArray();
    ASSERT_FALSE(tests.isEmpty());
    for (const QJsonValue& test : tests) {
        for (const char* member : {"test", "of", "groups", "statistic", "df", "p", "method"})
            EXPECT_TRUE(test.toObject().contains(QLatin1String(member))) << member;
    }
    QStringList listed;
    for (const QJsonValue& entry : root["risk"].toArray()) {
        listed << entry.toObject()["name"].toString();
        EXPECT_GE(entry.toObject()["level"].toInt(), 3);
    }
    std::sort(listed.begin(), listed.end());
    std::sort(risk.begin(), risk.end());
    EXPECT_FALSE(risk.isEmpty());
    EXPECT_EQ(listed, risk);
}

TEST_F(GroupsCommandLine, AnonymisedOutputsHoldCodesNotNamesNorPaths)
{
    ASSERT_EQ(run({"--by", "sex", "--anonymise", "--json", "@/out.json", "--csv", "@/out.csv", "@/a", "@/b"}), 0);
    QFile jsonFile(at("out.json")), csvFile(at("out.csv"));
    ASSERT_TRUE(jsonFile.open(QIODevice::ReadOnly) && csvFile.open(QIODevice::ReadOnly));
    const QString written = QString::fromUtf8(jsonFile.readAll() + csvFile.readAll());
    EXPECT_TRUE(written.contains(QStringLiteral("\"code\":\"Л"))) << written.toStdString();
    EXPECT_FALSE(written.contains(QStringLiteral("Учени")));
    EXPECT_FALSE(written.contains(m_folder.path()));
}

struct ExitRow
{
    std::string name;
    QStringList arguments;
    int code;
};

class GroupsExit : public GroupsCommandLine, public ::testing::WithParamInterface<ExitRow>
{
};

TEST_P(GroupsExit, IsTheSummarys)
{
    ASSERT_EQ(::symlink("nowhere", QFile::encodeName(at("b/gone.vnl")).constData()), 0);
    write("out.json", "earlier");
    EXPECT_EQ(run(GetParam().arguments), GetParam().code) << m_err.toStdString();
    if (GetParam().code == 2) { // an output that cannot be written leaves the others as they were
        EXPECT_EQ(json("out.json"), QJsonObject());
    }
}

INSTANTIATE_TEST_SUITE_P(
    Rows, GroupsExit,
    ::testing::Values(ExitRow{"all_read", {"--by", "sex", "@/a"}, 0},
                      ExitRow{"some_skipped", {"--by", "sex", "@/a", "@/b"}, 1},
                      ExitRow{"output_not_written", {"--by", "sex", "--csv", "@/missing/out.csv", "@/a"}, 2},
                      ExitRow{"help", {"--by", "sex", "--help"}, 0}),
    RowName());

// The comparison's and the groups' help once came in the toolkit's English, naming no program.
TEST_F(GroupsCommandLine, EveryFormHelpsInRussianNamingTheProgram)
{
    const std::pair<QStringList, QString> forms[] = {
        {{"--compare", "--help"}, QStringLiteral("Использование: vornale-summary [параметры] ЭТАП ЭТАП…\nСравнение")},
        {{"--by", "sex", "--help"}, QStringLiteral("Использование: vornale-summary [параметры] ПУТЬ…\nГруппы рядом")}};
    for (const auto& [arguments, start] : forms) {
        EXPECT_EQ(run(arguments), 0);
        EXPECT_TRUE(m_out.startsWith(start)) << m_out.toStdString();
    }
}

TEST_F(GroupsCommandLine, ComparisonJsonHoldsTheStagesTestsAndWhoGotWorse)
{
    testsupport::WriteStage(at("s1"), {{QStringLiteral("Иванов"), 120}, {QStringLiteral("Петров"), 160}});
    testsupport::WriteStage(at("s2"), {{QStringLiteral("Иванов"), 190}, {QStringLiteral("Петров"), 160}});
    ASSERT_EQ(run({"--compare", "--json", "@/out.json", "@/s1", "@/s2"}), 0) << m_err.toStdString();
    const QJsonObject root = json("out.json");
    ASSERT_EQ(root["stages"].toArray().size(), 2);
    EXPECT_EQ(root["stages"].toArray()[1].toObject()["levels"].toArray(), QJsonArray({0, 1, 1, 0}));
    EXPECT_EQ(root["change"].toObject()["worse"].toInt(), 1);
    QStringList tests;
    for (const QJsonValue& test : root["tests"].toArray())
        tests << test.toObject()["test"].toString() + u':' + test.toObject()["method"].toString();
    EXPECT_EQ(tests, QStringList({"wilcoxon-signed-rank:exact", "sign:exact"}));
    const QJsonArray risk = root["risk"].toArray();
    ASSERT_EQ(risk.size(), 1);
    EXPECT_EQ(risk[0].toObject()["name"].toString(), QStringLiteral("Иванов"));
    EXPECT_EQ(risk[0].toObject()["from"].toInt(), 1);
}

} // namespace
