#pragma once

#include "compare/ComparisonWorker.h"
#include "reports/TableReport.h"
#include "group_windows/BackgroundReport.h"
#include "group_windows/GroupDialogs.h"
#include "ui_CompareWindow.h"

#include <QMainWindow>
#include <QSortFilterProxyModel>
#include <QThread>

#include <functional>
#include <memory>

class QPrinter;
class ComparisonTableModel;
class StageListModel;

// Examinations of one group side by side: choose the stages (add, label, reorder, remove), then
// see every person's course with the group's shares, transitions and tests and the two pictures;
// export CSV or PDF, print. The comparison, the PDF and printing run on worker threads, with
// progress and Отмена.
class CompareWindow : public QMainWindow, public GroupDialogs
{
    Q_OBJECT

public:
    explicit CompareWindow(QWidget* parent = nullptr);
    ~CompareWindow() override;

    void addStage(const QStringList& paths, const QString& label = {});
    // "Коды вместо имён": every output without names, under codes dealt afresh.
    void setAnonymised(bool anonymised);
    // Starts comparing the stages as listed (ordered by date when every label is one).
    void compare();
    void cancel();
    bool isBusy() const { return m_worker != nullptr || m_report.isRunning(); }

    // Start writing the CSV or the PDF off the GUI thread; reportFinished tells how it ended.
    // Without names, every output shows the codes the window shows (its hand-over); turning names
    // off again and on deals new codes.
    void exportCsv(const QString& path);
    void exportPdf(const QString& path);
    // Writes the key of the codes shown to a file of its own (0600). Empty text on success.
    QString saveKey(const QString& path);

    StageListModel* stages() const { return m_stages.get(); }
    ComparisonTableModel* model() const { return m_model.get(); }
    QSortFilterProxyModel* sortedModel() { return &m_sorted; }

    // Called on the working threads as work goes on; tests hold the work here.
    std::function<void()> workGate;

signals:
    void comparisonFinished(bool cancelled);
    void reportFinished(bool written);

private:
    void onProgress(qsizetype done, qsizetype total);
    void onFinished(const SharedComparison& comparison);
    void showComparison();
    void showFigures();
    void showSelectedPerson();
    void updateActions();
    void print();
    void showHandOver(bool anonymised);
    void startReport(const QString& what, const BackgroundReport::Draw& draw, const QString& logged);
    void onReportPage(int page, int pageCount);
    void onReportFinished(bool cancelled, const QString& failure);
    void showProgress(const QString& text);
    int selectedStage() const;

    Ui::CompareWindow ui;
    std::unique_ptr<StageListModel> m_stages;
    std::unique_ptr<ComparisonTableModel> m_model;
    QSortFilterProxyModel m_sorted;
    QThread m_thread;
    ComparisonWorker* m_worker = nullptr;
    ComparisonHandOver m_handOver;
    QString m_logged; // what the report being written is, for the export log
    BackgroundReport m_report{QStringLiteral("comparison report")};
};
