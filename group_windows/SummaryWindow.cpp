#include "group_windows/SummaryWindow.h"

#include "reports/NamesFreeExport.h"
#include "summary/CsvExport.h"
#include "summary/SummaryCounts.h"
#include "summary/SummaryReader.h"
#include "summary/SummaryReport.h"
#include "summary/SummaryTableModel.h"
#include "group_windows/ColumnWidths.h"
#include "group_windows/CompareWindow.h"
#include "group_windows/ElidedTextDelegate.h"
#include "group_windows/EntryWindow.h"
#include "group_windows/ScreenFit.h"

#include <QFileDialog>
#include <QHeaderView>
#include <QMessageBox>
#include <QPrintDialog>
#include <QPrinter>

SummaryWindow::SummaryWindow(QWidget* parent) : QMainWindow(parent), m_model(std::make_unique<SummaryTableModel>())
{
    ui.setupUi(this);
    RegisterSummaryTypes();
    m_sorted.setSourceModel(m_model.get());
    m_sorted.setSortRole(SummaryTableModel::SortRole);
    m_sorted.setSortLocaleAware(true);
    ui.tableView->setModel(&m_sorted);
    ui.tableView->setSortingEnabled(true);
    ui.tableView->sortByColumn(-1, Qt::AscendingOrder); // file order until a column is chosen
    QHeaderView* header = ui.tableView->horizontalHeader();
    header->setSectionResizeMode(QHeaderView::Interactive);
    const QFontMetrics metrics = ui.tableView->fontMetrics();
    header->setDefaultSectionSize(CharsWidth(metrics, 7));
    // The results first, right after the name; the entry texts and the expected values follow.
    using M = SummaryTableModel;
    const int shownOrder[] = {M::ColPath,     M::ColName,     M::ColOutcome,  M::ColIndex,
                              M::ColLevel,    M::ColBalance,  M::ColKerdo,    M::ColSex,
                              M::ColSystolic, M::ColDiastolic, M::ColPulse,   M::ColWeight,
                              M::ColHeight,   M::ColAge,      M::ColExpectedSystolic,
                              M::ColExpectedDiastolic, M::ColOptimalWeight};
    for (int visual = 0; visual < int(std::size(shownOrder)); ++visual)
        header->moveSection(header->visualIndex(shownOrder[visual]), visual);
    ui.tableView->setColumnWidth(M::ColPath, CharsWidth(metrics, 24));
    ui.tableView->setColumnWidth(M::ColName, CharsWidth(metrics, 28));
    ui.tableView->setColumnWidth(M::ColOutcome, CharsWidth(metrics, 20));
    ui.tableView->setColumnWidth(M::ColLevel, LevelColumnWidth(metrics));
    ui.tableView->setColumnWidth(M::ColKerdo, CharsWidth(metrics, 10));
    ui.tableView->setColumnWidth(M::ColBalance, BalanceColumnWidth(metrics));
    ui.tableView->setColumnWidth(M::ColSex, CharsWidth(metrics, 3));
    FitCaptions(*ui.tableView);
    // Names keep their start (the surname); a path its first folder and the file's own name.
    auto* elided = new ElidedTextDelegate(ui.tableView);
    elided->setElideMode(M::ColPath, Qt::ElideMiddle);
    ui.tableView->setItemDelegate(elided);
    ui.tableView->verticalHeader()->setDefaultSectionSize(metrics.height() + 6);
    ui.progressPanel->hide();
    ui.skippedPanel->hide();
    ui.skippedList->header()->resizeSection(0, CharsWidth(metrics, 60));
    FitToScreen(*this);

    useStandardDialogs(this, QStringLiteral("Папка с файлами записей"), QStringLiteral("Файлы записей"));
    chooseStageFolder = [this] {
        return QFileDialog::getExistingDirectory(this, QStringLiteral("Папка этапа для ввода группы"));
    };

    connect(ui.actionOpenFolder, &QAction::triggered, this, [this] {
        if (const QString folder = chooseFolder(); !folder.isEmpty())
            openPaths({folder});
    });
    connect(ui.actionOpenFiles, &QAction::triggered, this, [this] {
        if (const QStringList files = chooseFiles(); !files.isEmpty())
            openPaths(files);
    });
    connect(ui.actionEnterGroup, &QAction::triggered, this, [this] {
        if (const QString folder = chooseStageFolder(); !folder.isEmpty())
            openEntry(folder);
    });
    connect(ui.actionExportCsv, &QAction::triggered, this, [this] {
        if (const QString path = chooseSavePath(QStringLiteral("Экспорт в CSV"), QStringLiteral("CSV (*.csv)"));
            !path.isEmpty())
            exportCsv(path);
    });
    connect(ui.actionExportPdf, &QAction::triggered, this, [this] {
        if (const QString path = chooseSavePath(QStringLiteral("Экспорт в PDF"), QStringLiteral("PDF (*.pdf)"));
            !path.isEmpty())
            exportPdf(path);
    });
    connect(ui.actionPrint, &QAction::triggered, this, &SummaryWindow::print);
    connect(ui.actionCompare, &QAction::triggered, this, &SummaryWindow::openComparison);
    connect(ui.cancelButton, &QPushButton::clicked, this, [this] {
        if (isReporting())
            cancelReport();
        else
            cancelReading();
    });
    connect(&m_report, &BackgroundReport::pageStarted, this, &SummaryWindow::onReportPage);
    connect(&m_report, &BackgroundReport::finished, this, &SummaryWindow::onReportFinished);
    connect(m_model.get(), &SummaryTableModel::countsChanged, this, &SummaryWindow::updateCounts);

    m_thread.setObjectName(QStringLiteral("summary reader"));
    m_thread.start();
    updateCounts();
    updateActions();
}

SummaryWindow::~SummaryWindow()
{
    cancelReading();
    m_thread.quit();
    m_thread.wait();
}

void SummaryWindow::openPaths(const QStringList& paths)
{
    cancelReading();
    m_model->clear();
    m_skipped.clear();
    ui.skippedList->clear();
    ui.skippedPanel->hide();
    m_sources = paths;
    ui.groupsView->setRows(paths, {});
    ui.sourceLabel->setText(paths.join(QStringLiteral(", ")));

    m_reader = new SummaryReader;
    m_reader->setBatchGate(batchGate);
    m_reader->moveToThread(&m_thread);
    connect(&m_thread, &QThread::finished, m_reader, &QObject::deleteLater);
    connect(m_reader, &SummaryReader::filesFound, this, &SummaryWindow::onFilesFound);
    connect(m_reader, &SummaryReader::rowsReady, this, &SummaryWindow::onRowsReady);
    connect(m_reader, &SummaryReader::pathsSkipped, this, &SummaryWindow::onPathsSkipped);
    connect(m_reader, &SummaryReader::finished, this, &SummaryWindow::onFinished);
    ui.progressBar->setRange(0, 0);
    ui.progressBar->setValue(0);
    ui.progressLabel->setText(QStringLiteral("Поиск файлов…"));
    ui.progressPanel->show();
    updateActions();
    QMetaObject::invokeMethod(
        m_reader, [reader = m_reader, paths, separators = Separators::current()] { reader->read(paths, separators); },
        Qt::QueuedConnection);
}

void SummaryWindow::cancelReading()
{
    if (m_reader == nullptr)
        return;
    // The reader finishes on its own thread and deletes itself; what it still sends is ignored.
    SummaryReader* reader = m_reader;
    reader->cancel();
    disconnect(reader, nullptr, this, nullptr);
    connect(reader, &SummaryReader::finished, reader, &QObject::deleteLater);
    m_reader = nullptr;
    ui.progressPanel->hide();
    ui.statusbar->showMessage(QStringLiteral("Чтение отменено: прочитано файлов %1").arg(m_model->rowCount()));
    updateActions();
    emit readingFinished(true);
}

bool SummaryWindow::fromCurrentReader() const
{
    // sender() is null for a call still queued from a reader that was disconnected on cancel.
    return m_reader != nullptr && sender() == m_reader;
}

void SummaryWindow::onFilesFound(int total)
{
    if (!fromCurrentReader())
        return;
    ui.progressBar->setRange(0, std::max(total, 1));
    ui.progressLabel->setText(QStringLiteral("Чтение файлов: %1").arg(total));
}

void SummaryWindow::onRowsReady(const SummaryRows& rows)
{
    if (!fromCurrentReader())
        return;
    m_model->appendRows(rows);
    ui.progressBar->setValue(m_model->rowCount());
}

void SummaryWindow::onPathsSkipped(const QList<SkippedPath>& skipped)
{
    if (!fromCurrentReader())
        return;
    m_skipped += skipped;
    for (const SkippedPath& path : skipped)
        ui.skippedList->addTopLevelItem(new QTreeWidgetItem(QStringList{path.path, path.reason}));
    ui.skippedLabel->setText(QStringLiteral("Пропущено путей: %1").arg(SkippedCountText(m_skipped)));
    ui.skippedPanel->show();
}

void SummaryWindow::onFinished(bool cancelled)
{
    if (!fromCurrentReader())
        return;
    m_reader->deleteLater();
    m_reader = nullptr;
    ui.progressPanel->hide();
    ui.groupsView->setRows(m_sources, m_model->rows());
    QString message = QStringLiteral("Прочитано файлов: %1").arg(m_model->rowCount());
    if (!m_skipped.isEmpty())
        message += QStringLiteral("; пропущено путей: %1").arg(SkippedCountText(m_skipped));
    ui.statusbar->showMessage(message);
    updateActions();
    emit readingFinished(cancelled);
}

void SummaryWindow::updateCounts()
{
    const SummaryCounts& counts = m_model->counts();
    ui.chart->setCounts(counts);
    // One count a line beside the chart, so none is broken across lines.
    ui.countsLabel->setText(QStringLiteral("Файлов: %1\nРассчитано: %2\nОшибка ввода: %3\n"
                                           "Неверный формат: %4\nОшибка чтения: %5")
                                .arg(counts.files)
                                .arg(counts.assessed)
                                .arg(counts.notAcceptable)
                                .arg(counts.formatErrors)
                                .arg(counts.readErrors));
    updateActions();
}

void SummaryWindow::updateActions()
{
    const bool haveRows = m_model->rowCount() > 0 && m_reader == nullptr && !m_report.isRunning();
    ui.actionExportCsv->setEnabled(haveRows);
    ui.actionExportPdf->setEnabled(haveRows);
    ui.actionPrint->setEnabled(haveRows);
    // The progress panel serves one piece of work at a time.
    ui.actionOpenFolder->setEnabled(!m_report.isRunning());
    ui.actionOpenFiles->setEnabled(!m_report.isRunning());
}

EntryWindow* SummaryWindow::openEntry(const QString& folder)
{
    if (EntryWindow* open = EntryWindow::BringForward(folder))
        return open;
    // A window of its own, closed and freed with the summary at the latest.
    auto* entry = new EntryWindow(folder, this);
    if (!entry->refusal().isEmpty()) {
        reportFailure(entry->refusal());
        delete entry;
        return nullptr;
    }
    entry->setWindowFlag(Qt::Window);
    entry->setAttribute(Qt::WA_DeleteOnClose);
    entry->show();
    return entry;
}

SummaryWindow::HandOver SummaryWindow::handOver() const
{
    const bool namesFree = ui.actionNamesFree->isChecked();
    HandOver out{m_model->rows(), ReportHeading{namesFree ? QStringList() : m_sources}, namesFree};
    out.heading.namesFree = namesFree;
    // Codes dealt afresh for each export, so their order says nothing of the names.
    if (namesFree)
        out.rows = NamesFreeRows(out.rows, PersonCodes(std::size_t(out.rows.size())));
    return out;
}

bool SummaryWindow::exportCsv(const QString& path)
{
    const HandOver shown = handOver();
    const QString failure = WriteSummaryCsv(path, shown.rows, nullptr, shown.namesFree);
    if (!failure.isEmpty())
        reportFailure(QStringLiteral("Не удалось записать %1: %2").arg(path, failure));
    else
        RecordExport({QStringLiteral("сводка, CSV"), shown.namesFree, shown.rows.size()});
    return failure.isEmpty();
}

void SummaryWindow::exportPdf(const QString& path)
{
    const HandOver shown = handOver();
    startReport(QStringLiteral("Запись PDF"), [path, shown](const PageProgress& progress) {
        const QString failure = WriteSummaryPdf(path, shown.rows, shown.heading, progress);
        if (!failure.isEmpty())
            return QStringLiteral("Не удалось записать %1: %2").arg(path, failure);
        RecordExport({QStringLiteral("сводка, PDF"), shown.namesFree, shown.rows.size()});
        return QString();
    });
}

void SummaryWindow::print()
{
    // The report's page set-up is offered first; what the user then chooses is kept.
    auto printer = std::make_shared<QPrinter>(QPrinter::HighResolution);
    printer->setPageLayout(SummaryReportPageLayout());
    if (!choosePrinter(*printer))
        return;
    startReport(QStringLiteral("Печать"),
                PrintingDraw(printer, [shown = handOver()](QPagedPaintDevice& device, const PageProgress& progress) {
                    return PrintSummaryReport(shown.rows, shown.heading, device, progress);
                }));
}

void SummaryWindow::startReport(const QString& what, const BackgroundReport::Draw& draw)
{
    ui.progressBar->setRange(0, 0);
    ui.progressBar->setValue(0);
    ui.progressLabel->setText(what + QStringLiteral("…"));
    ui.progressPanel->show();
    m_report.start(what, draw, reportPageGate);
    updateActions();
}

void SummaryWindow::cancelReport()
{
    // The worker stops before its next page; until it has (and its file is gone) the panel stays.
    if (!m_report.isRunning())
        return;
    m_report.cancel();
    ui.progressLabel->setText(QStringLiteral("Отмена…"));
}

void SummaryWindow::onReportPage(int page, int pageCount)
{
    m_report.showPage(*ui.progressBar, *ui.progressLabel, page, pageCount);
}

void SummaryWindow::onReportFinished(bool cancelled, const QString& failure)
{
    const bool written = m_report.showOutcome(*ui.progressPanel, *ui.statusbar, reportFailure, cancelled, failure);
    updateActions();
    emit reportFinished(written);
}

void SummaryWindow::openComparison()
{
    // The group shown here is the natural first stage.
    if (!m_compare) {
        m_compare = std::make_unique<CompareWindow>();
        if (!m_sources.isEmpty())
            m_compare->addStage(m_sources);
    }
    m_compare->show();
    m_compare->raise();
    m_compare->activateWindow();
}
