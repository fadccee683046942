// The group entry's costs at 500 rows: one typed cell (stored as shown and the row recalculated),
// saving every row as a record file, and reading a folder of record files back as a table.
// Prints the median of several runs of each.
#include "entry/EntryTableModel.h"
#include "entry/StageFolder.h"
#include "entry/StageSaver.h"

#include <QCoreApplication>
#include <QElapsedTimer>
#include <QTemporaryDir>

#include <algorithm>
#include <cstdio>
#include <vector>

namespace {

constexpr int kRows = 500;

EntryRows Group()
{
    EntryRows rows;
    for (int i = 0; i < kRows; ++i) {
        EntryRow row;
        row.text(EntryField::FullName) = QStringLiteral("Ученик %1 Тестович").arg(i);
        row.sex = i % 2 ? Sex::Female : Sex::Male;
        row.text(EntryField::Systolic) = QString::number(100 + i % 60);
        row.text(EntryField::Diastolic) = QString::number(60 + i % 30);
        row.text(EntryField::Pulse) = QString::number(50 + i % 70);
        row.text(EntryField::Weight) = QString::number(40 + i % 60);
        row.text(EntryField::Height) = QString::number(140 + i % 50);
        row.text(EntryField::Age) = QString::number(14 + i % 50);
        row.dirty = true;
        rows.append(row);
    }
    return rows;
}

double Median(std::vector<double> values)
{
    std::sort(values.begin(), values.end());
    return values[values.size() / 2];
}

} // namespace

int main(int argc, char** argv)
{
    QCoreApplication app(argc, argv);
    const Separators separators = Separators::current();
    const EntryRows group = Group();

    EntryTableModel model(separators);
    model.setRows(group);
    std::vector<double> cell;
    int assessed = 0;
    for (int i = 0; i < 2000; ++i) {
        QElapsedTimer clock;
        clock.start();
        model.setData(model.index(kRows / 2, EntryTableModel::ColPulse), QString::number(60 + i % 40));
        // What the repainted row reads: every cell's text.
        for (int column = 0; column < EntryTableModel::ColumnCount; ++column)
            model.data(model.index(kRows / 2, column));
        cell.push_back(double(clock.nsecsElapsed()) / 1e3);
        assessed += model.check(kRows / 2).result.has_value();
    }
    if (assessed != 2000)
        std::printf("the row was not assessed every time (%d)\n", assessed);
    std::printf("typed cell at %d rows (setData, row recalculated, its cells read): median %.1f us, max %.1f us\n", kRows,
                Median(cell), *std::max_element(cell.begin(), cell.end()));

    std::vector<double> save, resave, open;
    for (int run = 0; run < 5; ++run) {
        QTemporaryDir dir;
        const QString stage = dir.filePath(QStringLiteral("stage"));
        QElapsedTimer clock;
        clock.start();
        const std::vector<RowSaveOutcome> outcomes = StageSaver(stage).save(group);
        save.push_back(double(clock.nsecsElapsed()) / 1e6);
        if (std::any_of(outcomes.begin(), outcomes.end(), [](const RowSaveOutcome& o) { return o.kind != RowSaveOutcome::Saved; }))
            std::printf("a row was not saved\n");

        clock.restart();
        const StageFolderContents contents = ReadStageFolder(stage, separators);
        EntryTableModel opened(separators);
        opened.setRows(contents.rows);
        open.push_back(double(clock.nsecsElapsed()) / 1e6);
        if (contents.rows.size() != kRows)
            std::printf("read %lld rows\n", static_cast<long long>(contents.rows.size()));

        // Every row changed and saved back over its own file.
        EntryRows reopened = contents.rows;
        for (EntryRow& row : reopened)
            row.dirty = true;
        clock.restart();
        StageSaver(stage).save(reopened);
        resave.push_back(double(clock.nsecsElapsed()) / 1e6);
    }
    std::printf("save %d rows into a new folder: median %.0f ms\n", kRows, Median(save));
    std::printf("save %d rows over their own files: median %.0f ms\n", kRows, Median(resave));
    std::printf("open a folder of %d record files as a table: median %.0f ms\n", kRows, Median(open));
    return 0;
}
