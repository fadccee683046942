#include "summary/RecordFileAssessment.h"

#include "core/Calculation.h"
#include "core/Cp1251.h"
#include "tests/app/MainWindowTestSupport.h"
#include "tests/core/RowName.h"

#include <QFile>
#include <QTemporaryDir>
#include <QTest>

#include <sys/stat.h>

#include <map>
#include <set>

namespace {

QByteArray Record(const QByteArray& name, const QByteArray& systolic, const QByteArray& diastolic,
                  const QByteArray& pulse, const QByteArray& sex, const QByteArray& weight, const QByteArray& height,
                  const QByteArray& age)
{
    return "Vornale 5\r\n" + name + "\r\n" + systolic + "\r\n" + diastolic + "\r\n" + pulse + "\r\n" + sex + "\r\n"
           + weight + "\r\n" + height + "\r\n" + age + "\r\n";
}

QByteArray Num(int value)
{
    return QByteArray::number(value);
}

struct GeneratedFile
{
    std::string name;
    QByteArray bytes;
};

// One accepted subject for every level and balance pair the assessment can reach, found by
// walking a grid of plausible inputs.
std::vector<GeneratedFile> EveryLevelAndBalance()
{
    std::vector<GeneratedFile> files;
    std::set<std::pair<int, int>> seen;
    for (int systolic = 90; systolic <= 200; systolic += 15)
        for (int diastolic = 50; diastolic <= 120; diastolic += 10)
            for (int pulse = 45; pulse <= 145; pulse += 20)
                for (int age : {16, 45, 80})
                    for (int weight : {45, 80, 130})
                        for (int height : {150, 185})
                            for (Sex sex : {Sex::Male, Sex::Female}) {
                                const QString s = QString::number(systolic), d = QString::number(diastolic),
                                              p = QString::number(pulse), w = QString::number(weight),
                                              h = QString::number(height), a = QString::number(age);
                                const auto result = CalculateFromEntryTexts(s, d, p, sex, w, h, a);
                                if (!result || !seen.insert({int(result->Level), int(result->Balance)}).second)
                                    continue;
                                files.push_back({"level" + std::to_string(int(result->Level)) + "_balance"
                                                     + std::to_string(int(result->Balance)),
                                                 Record("\xCF\xE5\xF2\xF0\xEE\xE2", Num(systolic), Num(diastolic),
                                                        Num(pulse), sex == Sex::Male ? "0" : "1", Num(weight),
                                                        Num(height), Num(age))});
                            }
    return files;
}

QByteArray EveryCp1251Character()
{
    QByteArray name;
    for (int byte = 0x20; byte <= 0xFF; ++byte)
        name.append(char(byte));
    return name;
}

std::vector<GeneratedFile> GeneratedSet()
{
    std::vector<GeneratedFile> files = EveryLevelAndBalance();
    const std::vector<GeneratedFile> more = {
        {"header_only", "Vornale 5\r\n"},
        {"four_lines_then_empty_sex", "Vornale 5\r\nX\r\n120\r\n80\r\n70\r\n\r\n"},
        {"letters_in_systolic", Record("A", "12a", "80", "70", "0", "70", "175", "30")},
        {"decimal_age", Record("A", "120", "80", "70", "0", "70", "175", "30,5")},
        {"decimal_point_age", Record("A", "120", "80", "70", "0", "70", "175", "30.5")},
        {"hex_pulse", Record("A", "120", "80", "$46", "0", "70", "175", "30")},
        {"negative_weight", Record("A", "120", "80", "70", "0", "-70", "175", "30")},
        {"hyphen_inside_number", Record("A", "1-20", "80", "70", "0", "70", "175", "30")},
        {"leading_space", Record("A", " 120", "80", "70", "0", "70", "175", "30")},
        {"empty_age", Record("A", "120", "80", "70", "0", "70", "175", "")},
        {"too_old", Record("A", "120", "80", "70", "0", "70", "175", "131")},
        {"sex_two_is_female", Record("A", "120", "80", "70", "2", "70", "175", "30")},
        {"sex_zero_space_is_female", Record("A", "120", "80", "70", "0 ", "70", "175", "30")},
        {"lf_only", "Vornale 5\nB\n120\n80\n70\n1\n70\n175\n30\n"},
        {"ctrl_z_ends_file", "Vornale 5\r\nB\r\n120\r\n80\r\n\x1A" "70\r\n"},
        {"header_inside_line", "xx Vornale 5 yy\r\nB\r\n130\r\n85\r\n90\r\n1\r\n60\r\n160\r\n50\r\n"},
        {"every_cp1251_character_in_name", Record(EveryCp1251Character(), "120", "80", "70", "0", "70", "175", "30")},
        {"name_with_separator_and_quotes", Record("a;b \"c\"", "120", "80", "70", "0", "70", "175", "30")},
        {"no_header", Record("A", "120", "80", "70", "0", "70", "175", "30").mid(11)},
        {"header_other_case", Record("A", "120", "80", "70", "0", "70", "175", "30").replace("Vornale", "VORNALE")},
        {"empty_file", ""},
        {"binary", QByteArray("\x00\x01\xFF\xFE\x7F\x80\x1A\x0D", 8).repeated(64)},
    };
    files.insert(files.end(), more.begin(), more.end());

    // Every numeric field with texts its normalisation changes: a hexadecimal text that would
    // convert to an accepted value but is shown as "0", a decimal text, a blank in front.
    const QByteArray accepted[] = {"120", "80", "70", "70", "175", "30"};
    const QByteArray hexadecimal[] = {"$78", "$50", "$46", "$46", "$AF", "$1E"};
    const char* fieldNames[] = {"systolic", "diastolic", "pulse", "weight", "height", "age"};
    for (int field = 0; field < 6; ++field) {
        for (const auto& [variant, text] : {std::pair<std::string, QByteArray>{"hexadecimal", hexadecimal[field]},
                                            {"decimal", accepted[field] + ",5"},
                                            {"leading_blank", " " + accepted[field]}}) {
            QByteArray v[6];
            std::copy(std::begin(accepted), std::end(accepted), v);
            v[field] = text;
            files.push_back({variant + "_" + fieldNames[field], Record("N", v[0], v[1], v[2], "0", v[3], v[4], v[5])});
        }
    }
    return files;
}

// What the main window shows after opening one file into a fresh state and calculating.
struct WindowView
{
    RowOutcome outcome = RowOutcome::Assessed;
    QString texts[7];
    bool female = false;
    QString results[5]; // AdvEdit8..AdvEdit12
    QString levelText;
    QString balanceText;
};

class RowMatchesMainWindow : public apptest::MainWindowTest
{
protected:
    WindowView openInWindow(const QString& path)
    {
        trigger("AcNew");
        files->openAnswers << path;
        apptest::ErrorWindowSeen seen;
        const SummaryRow expected = AssessRecordFile(path, Separators::current());
        const bool errorExpected = expected.outcome != RowOutcome::Assessed;
        if (errorExpected)
            expectErrorWindow(seen);
        trigger("AcOpen");
        WindowView view;
        if (errorExpected) {
            EXPECT_TRUE(QTest::qWaitFor([&] { return seen.shown; }, 5000));
            view.outcome = seen.heading == QStringLiteral("Ошибка чтения") ? RowOutcome::FormatError
                                                                            : RowOutcome::NotAcceptable;
        }
        for (int i = 0; i < 7; ++i)
            view.texts[i] = edit(i + 1)->text();
        view.female = radio(2)->isChecked();
        for (int i = 0; i < 5; ++i)
            view.results[i] = edit(i + 8)->text();
        view.levelText = levelLabel()->text();
        view.balanceText = label("Label15")->text();
        return view;
    }
};

TEST_F(RowMatchesMainWindow, ForEveryFileOfAGeneratedSet)
{
    const std::vector<GeneratedFile> set = GeneratedSet();
    std::set<AdaptationLevel> levels;
    std::set<VegetativeBalance> balances;
    std::map<RowOutcome, int> outcomes;
    for (const GeneratedFile& file : set) {
        SCOPED_TRACE(file.name);
        const QString path = writeFile(QString::fromStdString(file.name) + ".vnl", file.bytes);
        const SummaryRow row = AssessRecordFile(path, Separators::current());
        const WindowView view = openInWindow(path);
        ++outcomes[row.outcome];
        ASSERT_EQ(int(row.outcome), int(view.outcome));
        if (row.outcome == RowOutcome::FormatError)
            continue;
        const SubjectTexts& t = row.texts;
        const QString rowTexts[7] = {t.FullName, t.Systolic, t.Diastolic, t.Pulse, t.Weight, t.Height, t.Age};
        for (int i = 0; i < 7; ++i)
            EXPECT_EQ(rowTexts[i], view.texts[i]) << "entry field " << i + 1;
        EXPECT_EQ(t.Sex == Sex::Female, view.female);
        if (row.outcome != RowOutcome::Assessed)
            continue;
        const AssessmentResult& r = row.result;
        EXPECT_EQ(QString::number(r.ExpectedSystolic), view.results[0]);
        EXPECT_EQ(QString::number(r.ExpectedDiastolic), view.results[1]);
        EXPECT_EQ(QString::number(r.OptimalWeight), view.results[2]);
        EXPECT_EQ(QString::number(r.KerdoShown), view.results[3]);
        EXPECT_EQ(row.adaptationIndexShown, view.results[4]);
        EXPECT_EQ(LevelText(r.Level), view.levelText);
        EXPECT_EQ(BalanceText(r.Balance), view.balanceText);
        levels.insert(r.Level);
        balances.insert(r.Balance);
    }
    EXPECT_EQ(levels.size(), 4u) << "the generated set must reach every level";
    EXPECT_EQ(balances.size(), 3u) << "the generated set must reach every balance";
    EXPECT_GT(outcomes[RowOutcome::NotAcceptable], 5);
    EXPECT_GE(outcomes[RowOutcome::FormatError], 4);
}

// --- Files the window never gets to see ---------------------------------------------------------

struct RefusedCase
{
    std::string name;
    std::function<QString(const QTemporaryDir&)> make;
    RowOutcome outcome;
    QString reasonStart;
};

class RefusedFile : public ::testing::TestWithParam<RefusedCase>
{
};

TEST_P(RefusedFile, BecomesARowWithItsReason)
{
    QTemporaryDir folder;
    const QString path = GetParam().make(folder);
    const SummaryRow row = AssessRecordFile(path, Separators::current());
    EXPECT_EQ(int(row.outcome), int(GetParam().outcome));
    EXPECT_TRUE(row.reason.startsWith(GetParam().reasonStart)) << row.reason.toStdString();
    EXPECT_EQ(row.path, path);
}

QString WriteSparse(const QTemporaryDir& folder, qint64 size)
{
    QFile file(folder.filePath("huge.vnl"));
    EXPECT_TRUE(file.open(QIODevice::WriteOnly));
    file.write("Vornale 5\r\n");
    file.resize(size);
    return file.fileName();
}

INSTANTIATE_TEST_SUITE_P(
    Rows, RefusedFile,
    ::testing::Values(
        RefusedCase{"missing", [](const QTemporaryDir& d) { return d.filePath("none.vnl"); }, RowOutcome::ReadError,
                    "Ошибка чтения: File not found"},
        RefusedCase{"folder", [](const QTemporaryDir& d) { return d.path(); }, RowOutcome::ReadError,
                    "Ошибка чтения: File access denied"},
        // Opening a pipe for reading would wait for a writer forever.
        RefusedCase{"fifo_refused_without_blocking",
                    [](const QTemporaryDir& d) {
                        const QString path = d.filePath("pipe.vnl");
                        EXPECT_EQ(::mkfifo(QFile::encodeName(path).constData(), 0600), 0);
                        return path;
                    },
                    RowOutcome::ReadError, "Не обычный файл"},
        RefusedCase{"device_refused_unread", [](const QTemporaryDir&) { return QStringLiteral("/dev/zero"); },
                    RowOutcome::ReadError, "Не обычный файл"},
        RefusedCase{"huge_file_refused_unread", [](const QTemporaryDir& d) { return WriteSparse(d, 200LL << 20); },
                    RowOutcome::FormatError, "Неверный формат файла: слишком велик"},
        RefusedCase{"bad_header", [](const QTemporaryDir& d) {
                        QFile file(d.filePath("bad.vnl"));
                        EXPECT_TRUE(file.open(QIODevice::WriteOnly));
                        file.write("vornale 5\r\n");
                        return file.fileName();
                    },
                    RowOutcome::FormatError, "Неверный формат файла"}),
    RowName());

TEST(RecordFileAssessment, JustUnderTheSizeLimitIsStillRead)
{
    QTemporaryDir folder;
    const QString path = WriteSparse(folder, kLargestRecordFile);
    const SummaryRow row = AssessRecordFile(path, Separators::current());
    // Line 2 is the rest of the file, zero bytes: read as the name; nothing else follows.
    EXPECT_EQ(int(row.outcome), int(RowOutcome::NotAcceptable));
    EXPECT_EQ(row.texts.FullName.size(), kLargestRecordFile - 11);
}

} // namespace
