#include "entry/EntryTableModel.h"
#include "entry/RecordFileName.h"
#include "entry/StageSaver.h"
#include "tests/core/RowName.h"

#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QTemporaryDir>
#include <gtest/gtest.h>

namespace {

const Separators kComma{u',', u' '};

// A complete, accepted row with one cell replaced.
struct TypedCase
{
    const char* name;
    int column;
    QString typed;
    QString shown;   // what the cell holds afterwards
    QString problem; // in the row's problem text; empty when the row is assessed
};

class TypedCell : public ::testing::TestWithParam<TypedCase>
{};

TEST_P(TypedCell, ShowsWhatTheFieldWouldAndSaysWhyNotAssessed)
{
    EntryTableModel model(kComma);
    const std::pair<int, const char*> group[] = {{EntryTableModel::ColName, "Иванов"}, {EntryTableModel::ColSex, "М"},
                                                 {EntryTableModel::ColSystolic, "120"}, {EntryTableModel::ColDiastolic, "80"},
                                                 {EntryTableModel::ColPulse, "70"},     {EntryTableModel::ColWeight, "70"},
                                                 {EntryTableModel::ColHeight, "175"},   {EntryTableModel::ColAge, "30"}};
    for (const auto& [column, text] : group)
        ASSERT_TRUE(model.setData(model.index(0, column), QString::fromUtf8(text)));
    ASSERT_TRUE(model.check(0).result);

    const TypedCase& c = GetParam();
    const bool sexRefused = c.column == EntryTableModel::ColSex && !c.typed.isEmpty() && c.shown == "М";
    EXPECT_EQ(model.setData(model.index(0, c.column), c.typed), !sexRefused);
    EXPECT_EQ(model.data(model.index(0, c.column)).toString(), c.shown);
    EXPECT_EQ(model.rowCount(), 2);
    const QString problem = model.data(model.index(0, EntryTableModel::ColIndex), EntryTableModel::ProblemRole).toString();
    if (c.column == EntryTableModel::ColName) {
        EXPECT_TRUE(model.check(0).result.has_value()); // assessed all the same: the name plays no part
        EXPECT_TRUE(model.data(model.index(0, c.column), EntryTableModel::ProblemRole).toString().contains(c.problem));
    } else if (c.problem.isEmpty()) {
        EXPECT_TRUE(model.check(0).result.has_value()) << problem.toStdString();
    } else {
        EXPECT_FALSE(model.check(0).result.has_value());
        EXPECT_TRUE(problem.contains(c.problem)) << problem.toStdString();
        // The result cells hold no stale values.
        EXPECT_EQ(model.data(model.index(0, EntryTableModel::ColLevel)).toString(), QString());
    }
}

INSTANTIATE_TEST_SUITE_P(
    Cells, TypedCell,
    ::testing::Values(TypedCase{"Letters", EntryTableModel::ColPulse, "abc", "0", "Пульс вне 40–150"},
                      TypedCase{"Negative", EntryTableModel::ColWeight, "-70", "-70", "Вес вне 30–200"},
                      TypedCase{"PastedLineBreak", EntryTableModel::ColHeight, "17\n5", "0", "Рост вне 100–250"},
                      TypedCase{"TooHigh", EntryTableModel::ColSystolic, "281", "281", "Сист. АД выше 280"},
                      TypedCase{"PulsePressure", EntryTableModel::ColDiastolic, "115", "115", "меньше 10"},
                      TypedCase{"Deleted", EntryTableModel::ColAge, "", "", "Возраст: не указано"},
                      TypedCase{"SexLatinLower", EntryTableModel::ColSex, "f", "Ж", ""},
                      TypedCase{"SexRefused", EntryTableModel::ColSex, "x", "М", ""},
                      TypedCase{"SexDeleted", EntryTableModel::ColSex, "", "", "Пол не указан"},
                      TypedCase{"NameNotInCp1251", EntryTableModel::ColName, "Иванов ☺", "Иванов ☺", "«☺» (U+263A)"}),
    RowName());

// Rows that must not be written as typed, each with what the nurse is told.
struct SaveCase
{
    const char* name;
    QString fullName;
    RowSaveOutcome::Kind kind;
    QString message;
};

class RowNotSaved : public ::testing::TestWithParam<SaveCase>
{};

TEST_P(RowNotSaved, IsReportedAndLeavesNoFile)
{
    QTemporaryDir dir;
    const QString stage = dir.filePath("stage");
    // Another pupil's record already sits where "Петров" would go, and a folder where "Занято" would.
    ASSERT_TRUE(QDir().mkpath(stage + "/Занято.vnl"));
    EntryRow other;
    other.text(EntryField::FullName) = "Петров";
    other.sex = Sex::Female;
    other.texts[1] = other.texts[2] = other.texts[3] = other.texts[4] = other.texts[5] = other.texts[6] = "1";
    WriteRecordFile(stage + "/Петров.vnl", ToSubjectTexts(other), nullptr);
    const QByteArray otherBytes = [&] { QFile f(stage + "/Петров.vnl"); f.open(QIODevice::ReadOnly); return f.readAll(); }();

    EntryRows rows(2);
    for (EntryRow& row : rows) {
        row.text(EntryField::FullName) = GetParam().fullName;
        row.sex = Sex::Male;
        row.texts[1] = row.texts[2] = row.texts[3] = row.texts[4] = row.texts[5] = row.texts[6] = "70";
        row.dirty = true;
    }
    rows[0].text(EntryField::FullName) = "Первый";
    const QString folder = GetParam().kind == RowSaveOutcome::Failed && GetParam().fullName == "Папка" ? stage + "/Петров.vnl/x" : stage;
    const std::vector<RowSaveOutcome> outcomes = StageSaver(folder).save(rows);
    EXPECT_EQ(outcomes[1].kind, GetParam().kind);
    EXPECT_TRUE(outcomes[1].message.contains(GetParam().message)) << outcomes[1].message.toStdString();
    QFile kept(stage + "/Петров.vnl");
    ASSERT_TRUE(kept.open(QIODevice::ReadOnly));
    EXPECT_EQ(kept.readAll(), otherBytes);
    for (const QString& name : QDir(stage).entryList(QDir::Files | QDir::Hidden))
        EXPECT_TRUE(name == "Петров.vnl" || name == "Первый.vnl" || name == "Иванов.vnl") << name.toStdString();
}

INSTANTIATE_TEST_SUITE_P(
    Rows, RowNotSaved,
    ::testing::Values(SaveCase{"EmptyName", "  ", RowSaveOutcome::Skipped, "Не заполнено: ФИО"},
                      SaveCase{"NotInCp1251_EmojiNamedOnce", "Иванов 😀", RowSaveOutcome::Refused, "хранить: «😀» (U+1F600). Исправьте"},
                      SaveCase{"DuplicateName", "Первый", RowSaveOutcome::NameClash, "строка 1"},
                      SaveCase{"DuplicateInOtherCase", "первый", RowSaveOutcome::NameClash, "строка 1"},
                      SaveCase{"AnotherPersonsFile", "Петров", RowSaveOutcome::OtherPersonFile, "Петров, Ж"},
                      SaveCase{"FolderInTheWay", "Занято", RowSaveOutcome::OtherPersonFile, "не является записью"},
                      SaveCase{"UnwritableFolder", "Папка", RowSaveOutcome::Failed, "Не удалось создать папку"}),
    RowName());

struct NameCase
{
    const char* name;
    QString fullName;
    QString fileName;
};

class FileName : public ::testing::TestWithParam<NameCase>
{};

TEST_P(FileName, StaysInTheFolderAndFitsIt)
{
    const QString fileName = RecordFileNameFor(GetParam().fullName);
    EXPECT_EQ(fileName, GetParam().fileName);
    EXPECT_LE(fileName.toUtf8().size(), 255);
}

INSTANTIATE_TEST_SUITE_P(
    Names, FileName,
    ::testing::Values(NameCase{"Plain", "Иванов Иван", "Иванов Иван.vnl"},
                      NameCase{"Separators", "a/b\\c", "a_b_c.vnl"},
                      NameCase{"ParentFolder", "..", "без имени.vnl"},
                      NameCase{"LeadingDotsTrailingBlanks", " ..x. . ", "x.vnl"},
                      NameCase{"ControlAndNul", QString("a\tb") + QChar(0) + "c\n", "a b c.vnl"},
                      NameCase{"BlanksOfOneSpelling", QString(" Иванов \u00A0 Иван\u2009"), "Иванов Иван.vnl"},
                      NameCase{"Device", "con", "_con.vnl"},
                      NameCase{"Long", QString(200, u'Ж'), QString(125, u'Ж') + ".vnl"}),
    RowName());

// A row typed cell by cell ("" clears): its problem text and its tinted cells.
struct ShownCase { const char* name; std::vector<std::pair<int, QString>> typed; QStringList problems; std::vector<int> pink; };
class RowShown : public ::testing::TestWithParam<ShownCase> {};

TEST_P(RowShown, NamesEveryProblemAndTintsEveryCellInvolved)
{
    EntryTableModel model(kComma);
    for (const auto& [column, text] : GetParam().typed)
        ASSERT_TRUE(model.setData(model.index(0, column), text));
    const QString problem = model.data(model.index(0, EntryTableModel::ColIndex), EntryTableModel::ProblemRole).toString();
    EXPECT_EQ(problem.split(QStringLiteral("; "), Qt::SkipEmptyParts), GetParam().problems);
    std::vector<int> pink;
    for (int column = 0; column < EntryTableModel::ColLevel; ++column) {
        if (model.data(model.index(0, column), Qt::BackgroundRole).isValid())
            pink.push_back(column);
    }
    EXPECT_EQ(pink, GetParam().pink);
}
using M = EntryTableModel;
INSTANTIATE_TEST_SUITE_P(
    Rows, RowShown,
    ::testing::Values(
        ShownCase{"RegressionTrailingEmptyRow", {}, {}, {}},
        ShownCase{"RegressionClearedAfterTyping", {{M::ColName, "Иванов"}, {M::ColPulse, "7"}, {M::ColName, ""}, {M::ColPulse, ""}}, {}, {}},
        ShownCase{"RegressionSeveralNumbersMissing", {{M::ColName, "Иванов"}, {M::ColSex, "М"}, {M::ColPulse, "70"}},
                  {"Сист. АД: не указано", "Диаст. АД: не указано", "Вес: не указано", "Рост: не указано", "Возраст: не указано"},
                  {M::ColIndex}},
        ShownCase{"RegressionOnlyPulsePressureBroken",
                  {{M::ColSex, "М"}, {M::ColSystolic, "120"}, {M::ColDiastolic, "115"}, {M::ColPulse, "70"}, {M::ColWeight, "70"}, {M::ColHeight, "175"}, {M::ColAge, "30"}},
                  {"Сист. АД − Диаст. АД меньше 10"}, {M::ColSystolic, M::ColDiastolic, M::ColIndex}}),
    RowName());

// Rows (all М; "~" a roster's untyped row) saved into a stage holding `files`, with one answer.
struct PersonCase { const char* name; QStringList files, rows; ClashAnswer answer; std::vector<RowSaveOutcome::Kind> kinds; int filesAfter; };
class OnePerson : public ::testing::TestWithParam<PersonCase> {};

TEST_P(OnePerson, NeverGetsASecondFileAndNoRowIsLostUnsaid)
{
    QTemporaryDir dir;
    for (const QString& name : GetParam().files)
        WriteRecordFile(dir.filePath(RecordFileNameFor(name)), {name, "1", "1", "1", Sex::Male, "1", "1", "1"}, nullptr);
    EntryRows rows;
    for (const QString& name : GetParam().rows)
        rows.append(name.startsWith(u'~') ? EntryRow{{name.mid(1)}, Sex::Male, {}, false}
                                          : EntryRow{{name, "70", "70", "70", "70", "70", "70"}, Sex::Male, {}, true});
    const StageSaver saver(dir.path());
    std::vector<RowSaveOutcome::Kind> kinds;
    for (const RowSaveOutcome& outcome : saver.save(rows, ConfirmedPaths(saver.plan(rows), GetParam().answer)))
        kinds.push_back(outcome.kind);
    EXPECT_EQ(kinds, GetParam().kinds);
    EXPECT_EQ(QDir(dir.path()).entryList(QDir::Files | QDir::Hidden).size(), GetParam().filesAfter);
}

using K = RowSaveOutcome::Kind;
const QStringList kThreeSpellings{"елкина анна", "Ёлкина\u00A0Анна", "ЁЛКИНА  АННА"};
INSTANTIATE_TEST_SUITE_P(
    Rows, OnePerson,
    ::testing::Values(
        PersonCase{"ThreeSpellingsBeside", {"Ёлкина Анна"}, kThreeSpellings, ClashAnswer::SaveBeside, {K::SamePersonFile, K::NameClash, K::NameClash}, 1},
        PersonCase{"ThreeSpellingsOverwrite", {"Ёлкина Анна"}, kThreeSpellings, ClashAnswer::Overwrite, {K::Saved, K::NameClash, K::NameClash}, 1},
        PersonCase{"RegressionCaseOnlyWasAnotherPerson", {"Иванов Иван"}, {"иванов иван"}, ClashAnswer::SaveBeside, {K::SamePersonFile}, 1},
        PersonCase{"RegressionThreeRowsIntoOneFile", {}, {"Петров", "Петров", "Петров"}, ClashAnswer::SaveBeside, {K::Saved, K::NameClash, K::NameClash}, 1},
        PersonCase{"RegressionThreePersonsIntoOneFile", {"А*Б"}, {"А/Б", "А\\Б", "А:Б"}, ClashAnswer::SaveBeside, {K::Saved, K::Saved, K::Saved}, 4},
        PersonCase{"RosterRowTakesNoName", {}, {"~Петров", "Петров"}, ClashAnswer::Skip, {K::Skipped, K::Saved}, 1}),
    RowName());

} // namespace

namespace {

TEST(StageSave, AskedRowsGoWhereTheUserChoseAndAFailedOneLeavesNothing)
{
    QTemporaryDir dir;
    const QString stage = dir.filePath("stage");
    ASSERT_TRUE(QDir().mkpath(stage + "/Занято.vnl"));
    EntryRows rows(4);
    const char* names[] = {"Петров", "Петров", "Занято", "Иванов"};
    for (int i = 0; i < 4; ++i) {
        rows[i].text(EntryField::FullName) = names[i];
        rows[i].sex = Sex(i % 2);
        rows[i].texts[1] = rows[i].texts[2] = rows[i].texts[3] = rows[i].texts[4] = rows[i].texts[5] = rows[i].texts[6] = "7";
        rows[i].dirty = true;
    }
    const StageSaver saver(stage);
    const std::vector<RowSaveOutcome> planned = saver.plan(rows);
    ASSERT_EQ(planned[1].kind, RowSaveOutcome::NameClash);
    EXPECT_EQ(QFileInfo(planned[1].freePath).fileName(), "Петров (2).vnl");
    ASSERT_EQ(planned[2].kind, RowSaveOutcome::OtherPersonFile);

    const std::vector<RowSaveOutcome> saved = saver.save(rows, {{1, planned[1].freePath}, {2, planned[2].path}});
    EXPECT_EQ(saved[0].kind, RowSaveOutcome::Saved);
    EXPECT_EQ(saved[1].kind, RowSaveOutcome::Saved);
    EXPECT_EQ(saved[2].kind, RowSaveOutcome::Failed);
    EXPECT_TRUE(saved[2].message.contains("Строка осталась")) << saved[2].message.toStdString();
    EXPECT_EQ(saved[3].kind, RowSaveOutcome::Saved);
    EXPECT_EQ(QDir(stage).entryList(QDir::Files | QDir::Hidden),
              QStringList({"Иванов.vnl", "Петров (2).vnl", "Петров.vnl"}));
}

} // namespace
