// The entry window with 500 complete unsaved rows (offscreen): how long one committed cell takes
// until its row is recalculated and repainted, and how many rows the model reports as changed.
#include "entry/EntryTableModel.h"
#include "group_windows/EntryTableView.h"
#include "group_windows/EntryWindow.h"

#include <QApplication>
#include <QElapsedTimer>
#include <QTemporaryDir>

#include <algorithm>
#include <cstdio>
#include <vector>

int main(int argc, char** argv)
{
    if (qEnvironmentVariableIsEmpty("QT_QPA_PLATFORM"))
        qputenv("QT_QPA_PLATFORM", "offscreen");
    QApplication app(argc, argv);
    constexpr int kRows = 500;
    constexpr int kRuns = 400;
    QTemporaryDir dir;
    EntryWindow window(dir.filePath("stage"), nullptr, dir.filePath("journal"));
    window.resize(1240, 720);
    window.show();
    QApplication::processEvents();

    EntryRows rows;
    for (int i = 0; i < kRows; ++i) {
        EntryRow row;
        row.sex = i % 2 ? Sex::Male : Sex::Female;
        const QString texts[] = {QStringLiteral("Ученик %1").arg(i), "118", "76", "72", "54", "162", "15"};
        std::copy(std::begin(texts), std::end(texts), row.texts.begin());
        rows.append(row);
    }
    EntryTableModel& model = *window.model();
    model.setRows(rows);
    const QModelIndex cell = model.index(kRows / 2, EntryTableModel::ColPulse);
    window.view()->scrollTo(cell);
    QApplication::processEvents();

    int widestChange = 0;
    QObject::connect(&model, &QAbstractItemModel::dataChanged, [&](const QModelIndex& from, const QModelIndex& to) {
        widestChange = std::max(widestChange, to.row() - from.row() + 1);
    });
    std::vector<double> micros;
    QElapsedTimer clock;
    for (int run = 0; run < kRuns; ++run) {
        clock.start();
        model.setData(cell, run % 2 ? QStringLiteral("72") : QStringLiteral("131"));
        // The update the change asked for is painted here, with whatever else the change queued.
        QApplication::processEvents();
        micros.push_back(double(clock.nsecsElapsed()) / 1000.0);
    }
    std::sort(micros.begin(), micros.end());
    std::printf("rows %d, runs %d: cell committed to row repainted median %.0f us, 95th %.0f us, max %.0f us; "
                "widest dataChanged %d row(s)\n",
                kRows, kRuns, micros[micros.size() / 2], micros[micros.size() * 95 / 100], micros.back(), widestChange);
    return 0;
}
