#pragma once

#include "summary/SummaryRow.h"
#include "ui_SummaryWindow.h"

#include <QMainWindow>
#include <QSortFilterProxyModel>
#include <QThread>

#include <functional>

class EntryWindow;
class SummaryReader;
class SummaryTableModel;

// The group summary window: choose a folder or files, see every file as a row with the group's
// counts and chart above, export to CSV or PDF, print. Reading runs on a worker thread.
class SummaryWindow : public QMainWindow
{
    Q_OBJECT

public:
    explicit SummaryWindow(QWidget* parent = nullptr);
    ~SummaryWindow() override;

    // Starts reading these files and folders; a read in progress is cancelled first.
    void openPaths(const QStringList& paths);
    void cancelReading();
    bool isReading() const { return m_reader != nullptr; }

    // Opens the entry table of a stage folder beside this window.
    EntryWindow* openEntry(const QString& folder);

    bool exportCsv(const QString& path);
    bool exportPdf(const QString& path);

    SummaryTableModel* model() const { return m_model; }
    QSortFilterProxyModel* sortedModel() { return &m_sorted; }
    const QList<SkippedPath>& skippedPaths() const { return m_skipped; }

    // Dialogs, replaceable by tests: the answer to a question for a path (empty: cancelled).
    std::function<QString()> chooseFolder;
    std::function<QString()> chooseStageFolder;
    std::function<QStringList()> chooseFiles;
    std::function<QString(const QString& caption, const QString& filter)> chooseSavePath;
    std::function<void(const QString& message)> reportFailure;

signals:
    void readingFinished(bool cancelled);

private:
    bool fromCurrentReader() const;
    void onFilesFound(int total);
    void onRowsReady(const SummaryRows& rows);
    void onPathsSkipped(const QList<SkippedPath>& skipped);
    void onFinished(bool cancelled);
    void updateCounts();
    void updateActions();
    void print();

    Ui::SummaryWindow ui;
    SummaryTableModel* m_model;
    QSortFilterProxyModel m_sorted;
    QThread m_thread;
    SummaryReader* m_reader = nullptr;
    QStringList m_sources;
    QList<SkippedPath> m_skipped;
};
