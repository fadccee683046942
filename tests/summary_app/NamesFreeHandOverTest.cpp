// A hand-over without names, from the command lines and the comparison window: no output holds a
// name or a path component, the codes follow neither the names nor the rows, one export keeps
// one code per pupil, the key stays apart and every export is logged.
#include "summary_app/CommandLine.h"

#include "compare/ComparisonReport.h"
#include "compare/ComparisonRun.h"
#include "compare/ComparisonTable.h"
#include "core/RegionalSettings.h"
#include "group_windows/CompareWindow.h"
#include "records/RecordFile.h"
#include "tests/core/RowName.h"

#include <QDir>
#include <QFile>
#include <QProcess>
#include <QSignalSpy>
#include <QTemporaryDir>
#include <gtest/gtest.h>

#include <map>

#include <sys/stat.h>

namespace {

const QStringList kSurnames{"Абрамов", "Белов", "Воронин", "Гусев", "Данилов", "Ершов", "Жуков", "Зайцев",
                            "Ильин", "Козлов", "Лебедев", "Морозов", "Новиков", "Орлов", "Павлов", "Романов",
                            "Соколов", "Тихонов", "Устинов", "Фёдоров", "Харитонов", "Цветков", "Чернов",
                            "Шубин", "Щукин", "Юдин", "Яковлев", "Агапов", "Богданов", "Власов"};

QString NameOf(int pupil) { return kSurnames[pupil] + QStringLiteral(" Ярослав"); }

int FileMode(const QString& path)
{
    struct stat info{};
    return ::stat(QFile::encodeName(path).constData(), &info) == 0 ? int(info.st_mode & 0777) : -1;
}

QString Read(const QString& path)
{
    QFile file(path);
    return file.open(QIODevice::ReadOnly) ? QString::fromUtf8(file.readAll()) : QString();
}

// A PDF's text as a reader would copy it.
QString PdfText(const QString& path)
{
    QProcess process;
    process.start(QStringLiteral("pdftotext"), {QStringLiteral("-enc"), QStringLiteral("UTF-8"), path, QStringLiteral("-")});
    process.waitForFinished(30000);
    return QString::fromUtf8(process.readAllStandardOutput());
}

// The pupil's code in a coded CSV, found by the first stage's ИФИ (each pupil's is their own).
std::map<QString, QString> CodesByIndex(const QString& csv)
{
    std::map<QString, QString> codes;
    for (const QString& line : csv.split(QStringLiteral("\r\n")).mid(1)) {
        const QStringList cells = line.split(u';');
        if (cells.size() > 3)
            codes[cells[3]] = cells[0];
    }
    return codes;
}

class NamesFreeHandOver : public ::testing::Test
{
protected:
    NamesFreeHandOver()
    {
        // Files named after the pupils, written in the names' order; each pupil's pressure their own.
        for (int pupil = 0; pupil < int(kSurnames.size()); ++pupil) {
            for (const auto& [stage, rise] : {std::pair{QStringLiteral("осень Лебедевой"), 0},
                                              std::pair{QStringLiteral("весна Лебедевой"), 7}}) {
                const SubjectTexts texts{NameOf(pupil), QString::number(100 + 3 * pupil + rise), QStringLiteral("80"),
                                         QStringLiteral("70"), Sex::Male, QStringLiteral("70"),
                                         QStringLiteral("175"), QStringLiteral("30")};
                QDir().mkpath(at(stage));
                WriteRecordFile(at(stage + u'/' + NameOf(pupil) + QStringLiteral(".vnl")), texts, [] {});
            }
        }
    }
    QString at(const QString& name) const { return m_folder.filePath(name); }
    int run(const QStringList& arguments)
    {
        m_out.clear();
        QTextStream out(&m_out);
        QTextStream err(&m_err);
        return RunCommandLine(QStringList{"vornale-summary"} + arguments, out, err);
    }
    // Every name, every word of a name and every component of every path the pupils' files have.
    QStringList secrets() const
    {
        QStringList words = at("x").split(u'/', Qt::SkipEmptyParts);
        for (int pupil = 0; pupil < int(kSurnames.size()); ++pupil)
            words << kSurnames[pupil] << NameOf(pupil) + QStringLiteral(".vnl");
        words << QStringLiteral("Ярослав") << QStringLiteral("Лебедевой");
        words.removeAll(QStringLiteral("x"));
        return words;
    }
    void expectNoSecret(const QString& text, const char* where) const
    {
        EXPECT_FALSE(text.isEmpty()) << where;
        for (const QString& secret : secrets())
            EXPECT_FALSE(text.contains(secret, Qt::CaseInsensitive)) << where << ": " << secret.toStdString();
    }

    QTemporaryDir m_folder;
    ScopedRegionalSettings m_comma{QChar(u','), QChar(0x00A0)};
    QString m_out;
    QString m_err;
};

struct StageRow
{
    std::string name;
    bool files; // each stage given as one pupil's file, else as the folder
};

class NamesFreeStages : public NamesFreeHandOver, public ::testing::WithParamInterface<StageRow>
{
};

TEST_P(NamesFreeStages, NoOutputHoldsANameOrAPathComponent)
{
    const QString file = u'/' + NameOf(4) + QStringLiteral(".vnl");
    const QString logBefore = Read(ExportLogPath());
    const QStringList stages = GetParam().files
                                   ? QStringList{at("осень Лебедевой") + file, at("весна Лебедевой") + file}
                                   : QStringList{at("осень Лебедевой"), at("весна Лебедевой")};
    ASSERT_EQ(run(QStringList{"--compare", "--anonymise", "--csv", at("out.csv"), "--pdf", at("out.pdf"),
                              "--key", at("key.csv")} + stages),
              0)
        << m_err.toStdString();
    expectNoSecret(Read(at("out.csv")), "CSV");
    expectNoSecret(PdfText(at("out.pdf")), "PDF");
    expectNoSecret(m_out, "standard output");
    EXPECT_TRUE(Read(at("out.csv")).contains(QStringLiteral("Этап 1: ИФИ")));
    EXPECT_TRUE(PdfText(at("out.pdf")).contains(QStringLiteral("Этап 2")));

    // The same for the group summary's exports.
    ASSERT_EQ(run({"--anonymise", "--csv", at("sum.csv"), "--pdf", at("sum.pdf"), stages.front()}), 0);
    expectNoSecret(Read(at("sum.csv")), "summary CSV");
    expectNoSecret(PdfText(at("sum.pdf")), "summary PDF");
    expectNoSecret(m_out, "summary standard output");

    // The key alone holds the names, readable by its owner only; the log holds none.
    EXPECT_TRUE(Read(at("key.csv")).contains(NameOf(4)));
    EXPECT_EQ(FileMode(at("key.csv")), 0600);
    const QString log = ExportLogPath();
    EXPECT_EQ(FileMode(log), 0600);
    EXPECT_EQ(FileMode(QFileInfo(log).path()), 0700);
    const QString logged = Read(log).mid(logBefore.size());
    expectNoSecret(logged, "export log");
    // Other test runs may log at the same time: at least this run's five.
    EXPECT_GE(logged.count(QStringLiteral("\tкоды\t")), 5) << logged.toStdString();
}

INSTANTIATE_TEST_SUITE_P(Stages, NamesFreeStages,
                         ::testing::Values(StageRow{"folders", false}, StageRow{"files", true}), RowName());

// Codes come in a new order for every export, unrelated to the names'; within one export the
// key and the CSV agree on every pupil.
TEST_F(NamesFreeHandOver, CodesAreDealtAfreshAndKeptWithinOneExport)
{
    const QStringList stages{at("осень Лебедевой"), at("весна Лебедевой")};
    ASSERT_EQ(run(QStringList{"--compare", "--csv", at("named.csv")} + stages), 0);
    const std::map<QString, QString> nameByIndex = CodesByIndex(Read(at("named.csv")));
    std::vector<std::map<QString, QString>> exports;
    for (int time = 0; time < 2; ++time) {
        ASSERT_EQ(run(QStringList{"--compare", "--anonymise", "--csv", at("out.csv"), "--key", at("key.csv")} + stages),
                  0);
        exports.push_back(CodesByIndex(Read(at("out.csv"))));
        std::map<QString, QString> nameByCode;
        for (const QString& line : Read(at("key.csv")).split(QStringLiteral("\r\n")).mid(1))
            nameByCode[line.section(u';', 0, 0)] = line.section(u';', 1);
        ASSERT_EQ(exports.back().size(), kSurnames.size());
        for (const auto& [index, code] : exports.back())
            EXPECT_EQ(nameByCode[code], nameByIndex.at(index)) << code.toStdString();
        QStringList byCode; // the names in the codes' order
        for (const auto& [code, name] : nameByCode)
            byCode << name;
        byCode.removeAll(QString());
        QStringList alphabetical = byCode;
        alphabetical.sort();
        int inPlace = 0;
        for (qsizetype i = 0; i < byCode.size(); ++i)
            inPlace += byCode[i] == alphabetical[i];
        EXPECT_LT(inPlace, 10);
    }
    EXPECT_NE(exports[0], exports[1]);
}

// The window shows the codes its exports carry, and its CSV, the report and the command line's
// CSV list the pupils in one order.
TEST_F(NamesFreeHandOver, WindowAndCommandLineAgreeOnCodesAndOrder)
{
    CompareWindow window;
    QStringList failures;
    window.reportFailure = [&failures](const QString& message) { failures << message; };
    window.addStage({at("осень Лебедевой")});
    window.addStage({at("весна Лебедевой")});
    QSignalSpy compared(&window, &CompareWindow::comparisonFinished);
    window.compare();
    ASSERT_TRUE(compared.wait(20000));
    QSignalSpy reported(&window, &CompareWindow::reportFinished);
    window.exportCsv(at("window.csv"));
    ASSERT_TRUE(reported.wait(20000));
    ASSERT_EQ(run({"--compare", "--csv", at("cli.csv"), at("осень Лебедевой"), at("весна Лебедевой")}), 0);
    const auto firstColumn = [](const QString& csv) {
        QStringList column;
        for (const QString& line : csv.split(QStringLiteral("\r\n")).mid(1))
            column << line.section(u';', 0, 0);
        return column;
    };
    EXPECT_EQ(firstColumn(Read(at("cli.csv"))), firstColumn(Read(at("window.csv"))));
    const auto shared = std::make_shared<const Comparison>(
        RunComparison(ArrangeStages({{{at("осень Лебедевой")}, {}}, {{at("весна Лебедевой")}, {}}}), Separators::current()));
    const TableReport report = BuildComparisonReport({shared, false});
    QStringList printed;
    for (qsizetype row = 0; row < report.rowCount; ++row)
        printed << report.rowAt(row).front().text;
    printed << QString();
    EXPECT_EQ(printed, firstColumn(Read(at("window.csv"))));

    window.setAnonymised(true);
    window.exportCsv(at("coded.csv"));
    ASSERT_TRUE(reported.wait(20000));
    const std::map<QString, QString> exported = CodesByIndex(Read(at("coded.csv")));
    const QAbstractItemModel* shown = window.sortedModel();
    ASSERT_EQ(shown->rowCount(), int(kSurnames.size()));
    for (int row = 0; row < shown->rowCount(); ++row) {
        const QString index = shown->index(row, 3).data().toString();
        EXPECT_EQ(shown->index(row, 0).data().toString(), exported.at(index)) << index.toStdString();
    }
}

} // namespace
