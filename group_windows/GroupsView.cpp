#include "group_windows/GroupsView.h"

#include "reports/ExportFile.h"
#include "reports/NamesFreeExport.h"

#include "groups/GroupsCsv.h"
#include "groups/GroupsJson.h"
#include "groups/GroupsReport.h"
#include "summary/SummaryReport.h"
#include "groups/GroupSources.h"

#include <QDateTime>
#include <QHeaderView>
#include <QPainter>
#include <QPrinter>
#include <QtConcurrent/QtConcurrentRun>

namespace {

QString Today()
{
    return QDateTime::currentDateTime().toString(QStringLiteral("dd.MM.yyyy HH:mm"));
}

void FitColumns(QTableView& view)
{
    view.resizeColumnsToContents();
    view.horizontalHeader()->setStretchLastSection(true);
}

} // namespace

GroupsView::GroupsView(QWidget* parent) : QWidget(parent)
{
    ui.setupUi(this);
    ui.figuresView->setModel(&m_figures);
    ui.testsView->setModel(&m_tests);
    ui.riskView->setModel(&m_risk);
    for (QTableView* view : {ui.figuresView, ui.testsView, ui.riskView}) {
        view->verticalHeader()->hide();
        view->verticalHeader()->setDefaultSectionSize(view->fontMetrics().height() + 4);
    }
    ui.figuresSplitter->setStretchFactor(0, 3);
    ui.figuresSplitter->setStretchFactor(1, 2);
    ui.figuresSplitter->setSizes({760, 480});
    ui.groupsProgressPanel->hide();
    m_pool.setMaxThreadCount(1);
    useStandardDialogs(this, QString(), QString());

    connect(ui.computeButton, &QPushButton::clicked, this, &GroupsView::compute);
    connect(ui.groupsCancelButton, &QPushButton::clicked, this, [this] {
        if (m_report.isRunning()) {
            m_report.cancel();
            ui.groupsProgressLabel->setText(QStringLiteral("Отмена…"));
        } else {
            cancel();
        }
    });
    connect(ui.byAge, &QCheckBox::toggled, ui.ageBands, &QWidget::setEnabled);
    ui.ageBands->setEnabled(ui.byAge->isChecked());
    // Codes are dealt afresh each time they are switched on; the groups are worked out again so
    // that no label is taken from a file's name, which is a person's.
    connect(ui.codesCheck, &QCheckBox::toggled, this, [this] {
        if (m_result)
            compute();
    });
    connect(ui.exportCsvButton, &QPushButton::clicked, this, [this] {
        if (const QString path = chooseSavePath(QStringLiteral("Группы в CSV"), QStringLiteral("CSV (*.csv)"));
            !path.isEmpty())
            exportCsv(path);
    });
    connect(ui.exportJsonButton, &QPushButton::clicked, this, [this] {
        if (const QString path = chooseSavePath(QStringLiteral("Группы в JSON"), QStringLiteral("JSON (*.json)"));
            !path.isEmpty())
            exportJson(path);
    });
    connect(ui.exportPdfButton, &QPushButton::clicked, this, [this] {
        if (const QString path = chooseSavePath(QStringLiteral("Группы в PDF"), QStringLiteral("PDF (*.pdf)"));
            !path.isEmpty())
            exportPdf(path);
    });
    connect(ui.printReportButton, &QPushButton::clicked, this, [this] { print(false); });
    connect(ui.printRiskButton, &QPushButton::clicked, this, [this] { print(true); });
    connect(&m_report, &BackgroundReport::pageStarted, this,
            [this](int page, int pageCount) { m_report.showPage(*ui.groupsProgressBar, *ui.groupsProgressLabel, page, pageCount); });
    connect(&m_report, &BackgroundReport::finished, this, [this](bool cancelled, const QString& failure) {
        const bool written =
            m_report.showOutcome(*ui.groupsProgressPanel, *ui.statusLine, reportFailure, cancelled, failure);
        updateActions();
        emit reportFinished(written);
    });
    updateActions();
}

GroupsView::~GroupsView()
{
    cancel();
    m_pool.waitForDone();
}

void GroupsView::setRows(const QStringList& sources, const SummaryRows& rows)
{
    cancel();
    m_sources = sources;
    m_rows = rows;
    m_result.reset();
    showResult();
    ui.statusLine->clearMessage();
    updateActions();
}

Grouping GroupsView::chosenGrouping(bool& valid)
{
    Grouping grouping;
    valid = true;
    if (ui.bySource->isChecked())
        grouping.keys.push_back(GroupingKey::Source);
    if (ui.bySex->isChecked())
        grouping.keys.push_back(GroupingKey::Sex);
    if (ui.byAge->isChecked()) {
        grouping.keys.push_back(GroupingKey::AgeBand);
        const std::optional<std::vector<int>> bands = ParseAgeBands(ui.ageBands->text());
        valid = bands.has_value();
        grouping.ageBands = bands.value_or(std::vector<int>{});
    }
    return grouping;
}

bool GroupsView::compute()
{
    bool valid = false;
    const Grouping grouping = chosenGrouping(valid);
    if (!valid) {
        reportFailure(QStringLiteral("Границы возрастов — целые числа лет по возрастанию через запятую, "
                                     "например 13, 16, 18"));
        return false;
    }
    cancel();
    auto run = std::make_shared<std::atomic<bool>>(false);
    m_cancel = run;
    ui.groupsProgressBar->setRange(0, std::max(int(m_rows.size()), 1));
    ui.groupsProgressBar->setValue(0);
    ui.groupsProgressLabel->setText(QStringLiteral("Расчет групп…"));
    ui.groupsProgressPanel->show();
    updateActions();
    const bool namesFree = ui.codesCheck->isChecked();
    (void)QtConcurrent::run(&m_pool, [this, run, grouping, namesFree, sources = m_sources, rows = m_rows,
                                      gate = workGate] {
        if (gate)
            gate();
        const GroupsProgress progress = [this, run, &gate](qsizetype done, qsizetype total) {
            if (gate)
                gate();
            QMetaObject::invokeMethod(
                this, [this, run, done, total] { onProgress(run, done, total); }, Qt::QueuedConnection);
        };
        auto result = std::make_shared<const GroupsResult>(
            ComputeGroups(SplitBySource(sources, {}, rows, namesFree), grouping, run.get(), progress));
        QMetaObject::invokeMethod(
            this, [this, run, result] { onComputed(run, result); }, Qt::QueuedConnection);
    });
    return true;
}

void GroupsView::cancel()
{
    if (!m_cancel)
        return;
    // The grouping stops on its own thread; what it still sends is ignored.
    m_cancel->store(true);
    m_cancel.reset();
    ui.groupsProgressPanel->hide();
    ui.statusLine->showMessage(QStringLiteral("Расчет групп отменен"));
    updateActions();
    emit computed(true);
}

void GroupsView::onProgress(const std::shared_ptr<std::atomic<bool>>& run, qsizetype done, qsizetype total)
{
    if (run != m_cancel)
        return;
    ui.groupsProgressBar->setRange(0, std::max(int(total), 1));
    ui.groupsProgressBar->setValue(int(done));
}

void GroupsView::onComputed(const std::shared_ptr<std::atomic<bool>>& run,
                            const std::shared_ptr<const GroupsResult>& result)
{
    if (run != m_cancel)
        return;
    m_cancel.reset();
    ui.groupsProgressPanel->hide();
    m_result = result;
    showResult();
    QString message = QStringLiteral("Групп: %1; группа риска: %2").arg(result->groups.size()).arg(result->risk.size());
    if (result->unplacedRows > 0)
        message += QStringLiteral("; вне групп (пол или возраст не прочитаны): %1").arg(result->unplacedRows);
    ui.statusLine->showMessage(message);
    updateActions();
    emit computed(false);
}

void GroupsView::showResult()
{
    m_coder = ui.codesCheck->isChecked() ? NamesFreeCoder(m_rows) : RiskCoder();
    m_figures.setTable(m_result ? FiguresTable(*m_result) : TextTable{});
    m_tests.setTable(m_result ? TestsTable(*m_result) : TextTable{});
    m_risk.setTable(m_result ? RiskTable(*m_result, coder()) : TextTable{});
    ui.sharesChart->setResult(m_result);
    for (QTableView* view : {ui.figuresView, ui.testsView, ui.riskView})
        FitColumns(*view);
}

void GroupsView::updateActions()
{
    const bool idle = !isBusy();
    ui.computeButton->setEnabled(idle && !m_rows.isEmpty());
    for (QPushButton* button : {ui.exportCsvButton, ui.exportPdfButton, ui.exportJsonButton, ui.printReportButton,
                                ui.printRiskButton})
        button->setEnabled(idle && m_result != nullptr);
}

RiskCoder GroupsView::coder() const
{
    return m_coder;
}

bool GroupsView::exportCsv(const QString& path)
{
    const QString failure = m_result ? WriteGroupsCsv(path, *m_result) : QStringLiteral("нет групп");
    if (!failure.isEmpty())
        reportFailure(QStringLiteral("Не удалось записать %1: %2").arg(path, failure));
    else
        RecordExport({QStringLiteral("группы, CSV"), bool(m_coder), m_rows.size()});
    return failure.isEmpty();
}

bool GroupsView::exportJson(const QString& path)
{
    if (!m_result)
        return false;
    const QByteArray json = GroupsJson(*m_result, coder());
    const QString failure = WriteExport(path, [&json](QIODevice& device) { return WriteBytes(device, json); });
    if (!failure.isEmpty())
        reportFailure(QStringLiteral("Не удалось записать %1: %2").arg(path, failure));
    else
        RecordExport({QStringLiteral("группы, JSON"), bool(m_coder), m_rows.size()});
    return failure.isEmpty();
}

QList<TableReport> GroupsView::reports(bool riskOnly) const
{
    const QString date = Today();
    if (riskOnly)
        return {RiskListReport(*m_result, date, coder())};
    return {GroupsFiguresReport(*m_result, date), GroupsTestsReport(*m_result, date),
            RiskListReport(*m_result, date, coder())};
}

void GroupsView::exportPdf(const QString& path)
{
    if (!m_result)
        return;
    const ExportRecord record{QStringLiteral("группы, PDF"), bool(m_coder), m_rows.size()};
    startReport(QStringLiteral("Запись PDF"), [path, record, reports = reports(false)](const PageProgress& progress) {
        const QString failure = WriteTableReportsPdf(path, reports, SummaryReportPageLayout(), progress);
        if (failure.isEmpty())
            RecordExport(record);
        return failure.isEmpty() ? failure : QStringLiteral("Не удалось записать %1: %2").arg(path, failure);
    });
}

void GroupsView::print(bool riskOnly)
{
    auto printer = std::make_shared<QPrinter>(QPrinter::HighResolution);
    printer->setPageLayout(SummaryReportPageLayout());
    if (!m_result || !choosePrinter(*printer))
        return;
    startReport(QStringLiteral("Печать"),
                PrintingDraw(printer, [reports = reports(riskOnly)](QPagedPaintDevice& device,
                                                                    const PageProgress& progress) {
                    QPainter painter;
                    if (!painter.begin(&device))
                        return false;
                    for (qsizetype i = 0; i < reports.size(); ++i) {
                        if ((i > 0 && !device.newPage()) || !PaintTableReport(painter, device, reports[i], progress))
                            return false;
                    }
                    return painter.end();
                }));
}

void GroupsView::startReport(const QString& what, const BackgroundReport::Draw& draw)
{
    ui.groupsProgressBar->setRange(0, 0);
    ui.groupsProgressLabel->setText(what + QStringLiteral("…"));
    ui.groupsProgressPanel->show();
    m_report.start(what, draw, reportPageGate);
    updateActions();
}
