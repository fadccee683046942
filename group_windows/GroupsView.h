#pragma once

#include "groups/GroupsComputation.h"
#include "group_windows/BackgroundReport.h"
#include "group_windows/GroupDialogs.h"
#include "group_windows/GroupsTables.h"
#include "ui_GroupsView.h"

#include <QThreadPool>
#include <QWidget>

#include <atomic>
#include <functional>
#include <memory>

// The summary's groups side by side: choose the grouping (folders, sex, age bands, any
// combination), then see a paper's first table with the level shares' chart, the tests and the
// risk list; export CSV, PDF or JSON, print the report or the risk list. The grouping, the PDF and
// printing run off the GUI thread, with progress and Отмена.
class GroupsView : public QWidget, public GroupDialogs
{
    Q_OBJECT

public:
    explicit GroupsView(QWidget* parent = nullptr);
    ~GroupsView() override;

    // The rows the summary read from these folders and files; what was worked out before goes.
    void setRows(const QStringList& sources, const SummaryRows& rows);
    // Starts working out the groups as chosen; false (told through reportFailure) when the age
    // bands do not read.
    bool compute();
    void cancel();
    bool isComputing() const { return m_cancel != nullptr; }
    bool isBusy() const { return isComputing() || m_report.isRunning(); }
    const std::shared_ptr<const GroupsResult>& result() const { return m_result; }

    TextTableModel* figures() { return &m_figures; }
    TextTableModel* tests() { return &m_tests; }
    TextTableModel* risk() { return &m_risk; }

    bool exportCsv(const QString& path);
    bool exportJson(const QString& path);
    // Starts writing the PDF; reportFinished tells how it ended.
    void exportPdf(const QString& path);

    // Called on the working thread as the grouping goes on; tests hold the work here.
    std::function<void()> workGate;
    // Called on the report's thread before each page; tests hold the drawing here.
    std::function<void(int page)> reportPageGate;

signals:
    void computed(bool cancelled);
    void reportFinished(bool written);

private:
    Grouping chosenGrouping(bool& valid);
    RiskCoder coder() const;
    void onProgress(const std::shared_ptr<std::atomic<bool>>& run, qsizetype done, qsizetype total);
    void onComputed(const std::shared_ptr<std::atomic<bool>>& run, const std::shared_ptr<const GroupsResult>& result);
    void showResult();
    void updateActions();
    void print(bool riskOnly);
    void startReport(const QString& what, const BackgroundReport::Draw& draw);
    QList<TableReport> reports(bool riskOnly) const;

    Ui::GroupsView ui;
    QStringList m_sources;
    SummaryRows m_rows;
    RiskCoder m_coder; // the codes the view shows and its exports carry, empty with names shown
    std::shared_ptr<const GroupsResult> m_result;
    std::shared_ptr<std::atomic<bool>> m_cancel; // the grouping under way, if any
    TextTableModel m_figures;
    TextTableModel m_tests;
    TextTableModel m_risk;
    BackgroundReport m_report{QStringLiteral("groups report")};
    QThreadPool m_pool; // destroyed first: waits for a cancelled grouping to end
};
