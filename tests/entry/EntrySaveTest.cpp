#include "entry/EntryJournal.h"
#include "entry/EntryTableModel.h"
#include "entry/StageFolder.h"
#include "entry/StageSaver.h"
#include "tests/app/MainWindowTestSupport.h"

#include <QDir>
#include <QTest>

namespace {

using apptest::Subject;

// A class as a nurse types it: every level and balance the table must colour, both sexes, a
// name with every kind of Cyrillic letter, and one pupil out of range.
const Subject kGroup[] = {
    {"Иванов Иван", "120", "80", "70", false, "70", "175", "30"},
    {"Петрова Ёлка-Мария", "150", "95", "90", true, "85", "160", "55"},
    {"Сидоров Щ.", "185", "110", "110", false, "120", "170", "70"},
    {"Кузнецова Эльвира", "105", "60", "50", true, "50", "165", "17"},
    {"Orlov Jr", "200", "120", "140", false, "150", "180", "80"},
    {"Пульсов Ъ", "120", "80", "160", false, "70", "175", "30"},
};

class EntryMatchesMainWindow : public apptest::MainWindowTest
{
protected:
    void typeRow(EntryTableModel& model, int row, const Subject& s)
    {
        const std::pair<int, QString> cells[] = {
            {EntryTableModel::ColName, s.name},         {EntryTableModel::ColSex, s.female ? "ж" : "m"},
            {EntryTableModel::ColSystolic, s.systolic}, {EntryTableModel::ColDiastolic, s.diastolic},
            {EntryTableModel::ColPulse, s.pulse},       {EntryTableModel::ColWeight, s.weight},
            {EntryTableModel::ColHeight, s.height},     {EntryTableModel::ColAge, s.age},
        };
        for (const auto& [column, text] : cells)
            ASSERT_TRUE(model.setData(model.index(row, column), text));
    }

    QString cell(const EntryTableModel& model, int row, int column)
    {
        return model.data(model.index(row, column)).toString();
    }

    QString stage() const { return pathOf("stage/9 А"); }
};

TEST_F(EntryMatchesMainWindow, SavedFilesAndResultsAreTheMainWindows)
{
    EntryTableModel model(Separators::current());
    const int count = int(std::size(kGroup));
    for (int i = 0; i < count; ++i)
        typeRow(model, i, kGroup[i]);
    ASSERT_EQ(model.rowCount(), count + 1) << "one empty row follows the typed ones";
    EXPECT_TRUE(model.hasUnsavedRows());

    const std::vector<RowSaveOutcome> saved = StageSaver(stage()).save(model.rows());
    ASSERT_EQ(saved.size(), std::size_t(count));
    for (const RowSaveOutcome& outcome : saved) {
        ASSERT_EQ(outcome.kind, RowSaveOutcome::Saved) << outcome.message.toStdString();
        model.markSaved(outcome.row, outcome.path);
    }
    EXPECT_FALSE(model.hasUnsavedRows());

    for (int i = 0; i < count; ++i) {
        SCOPED_TRACE(kGroup[i].name.toStdString());
        trigger("AcNew");
        enterSubject(kGroup[i]);
        const QString windowFile = pathOf(QStringLiteral("window%1.vnl").arg(i));
        files->saveAnswers << windowFile;
        trigger("AcSave");
        EXPECT_EQ(readFile(saved[i].path), readFile(windowFile));

        trigger("AcNew");
        files->openAnswers << saved[i].path;
        // Open calculates at once, as the table does.
        const bool assessed = model.check(i).result.has_value();
        apptest::ErrorWindowSeen error;
        if (!assessed)
            expectErrorWindow(error);
        trigger("AcOpen");
        if (!assessed) {
            EXPECT_TRUE(QTest::qWaitFor([&] { return error.shown && !errorWindow().isVisible(); }, 5000));
            EXPECT_TRUE(cell(model, i, EntryTableModel::ColIndex).contains(u"Пульс вне 40–150"));
            continue;
        }
        EXPECT_EQ(cell(model, i, EntryTableModel::ColExpectedSystolic), edit(8)->text());
        EXPECT_EQ(cell(model, i, EntryTableModel::ColExpectedDiastolic), edit(9)->text());
        EXPECT_EQ(cell(model, i, EntryTableModel::ColOptimalWeight), edit(10)->text());
        EXPECT_EQ(cell(model, i, EntryTableModel::ColKerdo), edit(11)->text());
        EXPECT_EQ(cell(model, i, EntryTableModel::ColIndex), edit(12)->text());
        EXPECT_EQ(cell(model, i, EntryTableModel::ColLevel), levelLabel()->text());
        EXPECT_EQ(cell(model, i, EntryTableModel::ColBalance), label("Label15")->text());
    }

    // Reopened, the folder is the same table, each row bound to its file.
    const StageFolderContents reopened = ReadStageFolder(stage(), Separators::current());
    ASSERT_EQ(reopened.rows.size(), count);
    const EntryRows typed = model.rows();
    for (const EntryRow& row : reopened.rows) {
        const auto same = std::find_if(typed.begin(), typed.end(), [&](const EntryRow& t) { return t.filePath == row.filePath; });
        ASSERT_NE(same, typed.end());
        EXPECT_EQ(same->texts, row.texts);
        EXPECT_EQ(same->sex, row.sex);
    }

    // Edited and saved again, a row goes back to its own file and nowhere else.
    EntryTableModel again(Separators::current());
    again.setRows(reopened.rows);
    ASSERT_TRUE(again.setData(again.index(0, EntryTableModel::ColPulse), "72"));
    const std::vector<RowSaveOutcome> resaved = StageSaver(stage()).save(again.rows());
    EXPECT_EQ(resaved[0].kind, RowSaveOutcome::Saved);
    EXPECT_EQ(resaved[0].path, reopened.rows[0].filePath);
    EXPECT_EQ(QDir(stage()).entryList(QDir::Files).size(), count);
}

TEST(EntryJournal, UnsavedRowsSurviveACrashAndGoOnceSaved)
{
    QTemporaryDir dir;
    const QString stage = dir.filePath("stage");
    EntryRows rows(3);
    rows[0].text(EntryField::FullName) = "Иванов";
    rows[0].sex = Sex::Female;
    rows[0].text(EntryField::Age) = "14";
    rows[0].dirty = true;
    rows[1].text(EntryField::FullName) = "Сохранён";
    rows[1].filePath = dir.filePath("stage/Сохранён.vnl");
    rows[2].dirty = true; // typed into and cleared: nothing to keep
    rows.append(rows[0]);
    rows[3].filePath = rows[1].filePath;
    {
        const EntryJournal journal(stage, dir.filePath("journals"));
        EXPECT_EQ(journal.write(rows), QString());
    } // the program dies here
    const EntryJournal reopened(stage + "/", dir.filePath("journals"));
    const EntryRows back = reopened.read().rows;
    ASSERT_EQ(back.size(), 2);
    EXPECT_EQ(back[0].texts, rows[0].texts);
    EXPECT_EQ(back[0].sex, Sex::Female);
    EXPECT_TRUE(back[0].dirty);

    // Put back over the folder's rows: the edited file's row is replaced, the new one added.
    const EntryRows merged = EntryJournal::Merge({rows[1]}, back);
    ASSERT_EQ(merged.size(), 2);
    EXPECT_EQ(merged[0].text(EntryField::Age), "14");
    EXPECT_EQ(merged[0].filePath, rows[1].filePath);

    EXPECT_TRUE(EntryJournal(dir.filePath("other"), dir.filePath("journals")).read().rows.isEmpty());
    rows[0].dirty = rows[2].dirty = rows[3].dirty = false;
    EXPECT_EQ(reopened.write(rows), QString());
    EXPECT_FALSE(QFile::exists(reopened.path()));
}

} // namespace
