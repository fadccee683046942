#pragma once

#include "summary/SummaryReport.h"
#include "summary/SummaryRow.h"
#include "reports/TableReport.h"
#include "group_windows/BackgroundReport.h"
#include "group_windows/GroupDialogs.h"
#include "ui_SummaryWindow.h"

#include <QMainWindow>
#include <QSortFilterProxyModel>
#include <QThread>

#include <functional>
#include <memory>

class QPrinter;
class EntryWindow;
class CompareWindow;
class SummaryReader;
class SummaryTableModel;

// The group summary window: choose a folder or files, see every file as a row with the group's
// counts and chart above, export to CSV or PDF, print. Reading, the PDF and printing run on
// worker threads, with progress and Отмена.
class SummaryWindow : public QMainWindow, public GroupDialogs
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
    // Starts writing the PDF; reportFinished tells how it ended.
    void exportPdf(const QString& path);
    void cancelReport();
    bool isReporting() const { return m_report.isRunning(); }

    SummaryTableModel* model() const { return m_model.get(); }
    QSortFilterProxyModel* sortedModel() { return &m_sorted; }
    const QList<SkippedPath>& skippedPaths() const { return m_skipped; }

    // The stage folder of a group to type in (empty: cancelled); replaceable like the other dialogs.
    std::function<QString()> chooseStageFolder;
    // Called on the report's thread before each page; tests hold the drawing here.
    std::function<void(int page)> reportPageGate;
    // Runs on the reader's thread after each batch of rows is sent; tests hold a read there.
    std::function<void()> batchGate;

signals:
    void readingFinished(bool cancelled);
    // `written`: the PDF replaced its file or the pages went to the printer.
    void reportFinished(bool written);

private:
    // What one export, print run included, hands over: the rows and heading, without names when
    // "Коды вместо имён" is on.
    struct HandOver
    {
        SummaryRows rows;
        ReportHeading heading;
        bool namesFree = false;
    };
    HandOver handOver() const;

    bool fromCurrentReader() const;
    void onFilesFound(int total);
    void onRowsReady(const SummaryRows& rows);
    void onPathsSkipped(const QList<SkippedPath>& skipped);
    void onFinished(bool cancelled);
    void updateCounts();
    void updateActions();
    void print();
    void openComparison();
    void startReport(const QString& what, const BackgroundReport::Draw& draw);
    void onReportPage(int page, int pageCount);
    void onReportFinished(bool cancelled, const QString& failure);

    Ui::SummaryWindow ui;
    std::unique_ptr<SummaryTableModel> m_model;
    QSortFilterProxyModel m_sorted;
    QThread m_thread;
    SummaryReader* m_reader = nullptr;
    BackgroundReport m_report{QStringLiteral("summary report")};
    QStringList m_sources;
    std::unique_ptr<CompareWindow> m_compare;
    QList<SkippedPath> m_skipped;
};
