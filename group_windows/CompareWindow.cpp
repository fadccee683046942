#include "group_windows/CompareWindow.h"

#include "compare/ComparisonCharts.h"
#include "compare/ComparisonReport.h"
#include "compare/GroupFigures.h"
#include "summary/CountsChart.h"
#include "summary/SummaryReport.h"
#include "group_windows/ColumnWidths.h"
#include "group_windows/ComparisonTableModel.h"
#include "group_windows/ScreenFit.h"
#include "group_windows/StageListModel.h"
#include "reports/CsvFile.h"
#include "reports/HeaderCaption.h"
#include "reports/NamesFreeExport.h"

#include <QFileDialog>
#include <QHeaderView>
#include <QMessageBox>
#include <QPrintDialog>
#include <QPrinter>
#include <QScrollBar>

namespace {

using PersonColumn = ComparisonTable::PersonColumn;
using StageColumn = ComparisonTable::StageColumn;

QTableWidgetItem* Item(const QString& text, Qt::Alignment alignment = Qt::AlignCenter)
{
    auto* item = new QTableWidgetItem(text);
    item->setTextAlignment(alignment);
    return item;
}

// As tall as its rows, so no empty space hangs below a short table.
void FitHeight(QTableWidget& table)
{
    table.resizeColumnsToContents();
    table.resizeRowsToContents();
    int height = table.horizontalHeader()->sizeHint().height() + 2 * table.frameWidth();
    for (int row = 0; row < table.rowCount(); ++row)
        height += table.rowHeight(row);
    if (table.horizontalHeader()->length() > table.viewport()->width())
        height += table.horizontalScrollBar()->sizeHint().height();
    table.setMaximumHeight(height);
}

void FillShares(QTableWidget& table, const Comparison& comparison, const GroupFigures& figures)
{
    QStringList captions{QStringLiteral("Файлов"), QStringLiteral("Рассчитано")};
    for (AdaptationLevel level : kAllLevels)
        captions << WrapCaption(LevelText(level), 1);
    for (VegetativeBalance balance : kAllBalances)
        captions << WrapCaption(BalanceText(balance), 1);
    table.clear();
    table.setColumnCount(int(captions.size()));
    table.setHorizontalHeaderLabels(captions);
    table.setRowCount(int(comparison.stages.size()));
    for (int s = 0; s < int(comparison.stages.size()); ++s) {
        const SummaryCounts& counts = figures.stages[std::size_t(s)].counts;
        table.setVerticalHeaderItem(s, new QTableWidgetItem(comparison.stages[std::size_t(s)].input.label));
        table.setItem(s, 0, Item(QString::number(comparison.stages[std::size_t(s)].rows.size())));
        table.setItem(s, 1, Item(QString::number(counts.assessed)));
        int column = 2;
        const auto share = [&](int count) {
            return Item(QStringLiteral("%1 (%2 %)").arg(count).arg(PercentText(count, counts.assessed)));
        };
        for (AdaptationLevel level : kAllLevels)
            table.setItem(s, column++, share(counts.level(level)));
        for (VegetativeBalance balance : kAllBalances)
            table.setItem(s, column++, share(counts.balance(balance)));
    }
    FitHeight(table);
}

void FillTransitions(QTableWidget& table, const GroupFigures& figures, const QString& first, const QString& last)
{
    const int n = int(kAllLevels.size());
    table.clear();
    table.setRowCount(n + 1);
    table.setColumnCount(n + 1);
    QStringList captions;
    for (int i = 0; i < n; ++i)
        captions << QString::number(i + 1);
    captions << QStringLiteral("Всего");
    table.setHorizontalHeaderLabels(captions);
    QStringList rows;
    for (int i = 0; i < n; ++i)
        rows << QStringLiteral("%1  %2").arg(i + 1).arg(LevelText(kAllLevels[std::size_t(i)]));
    rows << QStringLiteral("Всего");
    table.setVerticalHeaderLabels(rows);
    const TransitionTable counts = TransitionsWithTotals(figures);
    for (int from = 0; from <= n; ++from) {
        for (int to = 0; to <= n; ++to) {
            const int count = counts[std::size_t(from)][std::size_t(to)];
            QTableWidgetItem* item = Item(QString::number(count));
            if (count > 0 && to != from && from < n && to < n)
                item->setBackground(to > from ? QColor(0xff, 0xd0, 0xd0) : QColor(0xd8, 0xf0, 0xd8));
            table.setItem(from, to, item);
        }
    }
    for (int i = 0; i < n; ++i) {
        const QColor color = LevelQColor(kAllLevels[std::size_t(i)]);
        table.horizontalHeaderItem(i)->setBackground(color);
        table.horizontalHeaderItem(i)->setForeground(TextColorOn(color));
        // The number stands for the level the eye finds in the row captions; a reader hears it whole.
        table.horizontalHeaderItem(i)->setData(Qt::AccessibleTextRole,
                                               QStringLiteral("%1 на этапе «%2»").arg(LevelText(kAllLevels[std::size_t(i)]), last));
    }
    table.setToolTip(QStringLiteral("Строка — уровень на этапе «%1», столбец — на этапе «%2»").arg(first, last));
    FitHeight(table);
}

} // namespace

CompareWindow::CompareWindow(QWidget* parent)
    : QMainWindow(parent), m_stages(std::make_unique<StageListModel>()), m_model(std::make_unique<ComparisonTableModel>())
{
    ui.setupUi(this);
    RegisterComparisonTypes();
    ui.stageView->setModel(m_stages.get());
    ui.stageView->horizontalHeader()->setStretchLastSection(true);
    ui.stageView->setColumnWidth(StageListModel::ColLabel, CharsWidth(ui.stageView->fontMetrics(), 22));
    ui.stageView->verticalHeader()->setDefaultSectionSize(ui.stageView->fontMetrics().height() + 6);
    m_sorted.setSourceModel(m_model.get());
    m_sorted.setSortRole(ComparisonTableModel::SortRole);
    m_sorted.setSortLocaleAware(true);
    ui.personView->setModel(&m_sorted);
    ui.personView->setSortingEnabled(true);
    ui.personView->horizontalHeader()->setDefaultSectionSize(CharsWidth(ui.personView->fontMetrics(), 9));
    ui.personView->verticalHeader()->hide();
    ui.personView->verticalHeader()->setDefaultSectionSize(ui.personView->fontMetrics().height() + 6);
    ui.sharesTable->verticalHeader()->setSectionResizeMode(QHeaderView::ResizeToContents);
    ui.mainSplitter->setStretchFactor(0, 3);
    ui.mainSplitter->setStretchFactor(1, 1);
    ui.leftSplitter->setStretchFactor(0, 3);
    ui.leftSplitter->setStretchFactor(1, 2);
    ui.progressPanel->hide();
    FitToScreen(*this);

    useStandardDialogs(this, QStringLiteral("Папка этапа"), QStringLiteral("Файлы этапа"));

    connect(ui.addFolderButton, &QPushButton::clicked, this, [this] {
        if (const QString folder = chooseFolder(); !folder.isEmpty())
            addStage({folder});
    });
    connect(ui.addFilesButton, &QPushButton::clicked, this, [this] {
        if (const QStringList files = chooseFiles(); !files.isEmpty())
            addStage(files);
    });
    connect(ui.upButton, &QPushButton::clicked, this, [this] {
        const int row = selectedStage();
        if (m_stages->moveStage(row, -1))
            ui.stageView->selectRow(row - 1);
    });
    connect(ui.downButton, &QPushButton::clicked, this, [this] {
        const int row = selectedStage();
        if (m_stages->moveStage(row, +1))
            ui.stageView->selectRow(row + 1);
    });
    connect(ui.removeButton, &QPushButton::clicked, this, [this] { m_stages->removeStage(selectedStage()); });
    connect(ui.compareButton, &QPushButton::clicked, this, &CompareWindow::compare);
    connect(ui.anonymiseBox, &QCheckBox::toggled, this, [this](bool anonymised) {
        if (!m_handOver.named)
            return;
        showHandOver(anonymised);
    });
    connect(ui.actionSaveKey, &QAction::triggered, this, [this] {
        if (const QString path = chooseSavePath(QStringLiteral("Ключ кодов"), QStringLiteral("CSV (*.csv)"));
            !path.isEmpty()) {
            if (const QString failure = saveKey(path); !failure.isEmpty())
                reportFailure(QStringLiteral("Не удалось записать ключ: %1").arg(failure));
            else
                ui.statusbar->showMessage(QStringLiteral("Ключ кодов записан"));
        }
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
    connect(ui.actionPrint, &QAction::triggered, this, &CompareWindow::print);
    connect(ui.cancelButton, &QPushButton::clicked, this, &CompareWindow::cancel);
    connect(&m_report, &BackgroundReport::pageStarted, this, &CompareWindow::onReportPage);
    connect(&m_report, &BackgroundReport::finished, this, &CompareWindow::onReportFinished);
    connect(m_stages.get(), &QAbstractItemModel::rowsInserted, this, &CompareWindow::updateActions);
    connect(m_stages.get(), &QAbstractItemModel::rowsRemoved, this, &CompareWindow::updateActions);
    connect(m_stages.get(), &QAbstractItemModel::dataChanged, this, &CompareWindow::updateActions);
    connect(ui.stageView->selectionModel(), &QItemSelectionModel::selectionChanged, this,
            &CompareWindow::updateActions);
    connect(ui.personView->selectionModel(), &QItemSelectionModel::currentRowChanged, this,
            &CompareWindow::showSelectedPerson);

    m_thread.setObjectName(QStringLiteral("comparison"));
    m_thread.start();
    updateActions();
}

CompareWindow::~CompareWindow()
{
    if (m_worker != nullptr)
        m_worker->cancel();
    m_thread.quit();
    m_thread.wait();
}

void CompareWindow::addStage(const QStringList& paths, const QString& label)
{
    m_stages->addStage(paths, label);
    ui.stageView->selectRow(m_stages->rowCount() - 1);
}

void CompareWindow::setAnonymised(bool anonymised)
{
    ui.anonymiseBox->setChecked(anonymised);
}

int CompareWindow::selectedStage() const
{
    const QModelIndexList rows = ui.stageView->selectionModel()->selectedRows();
    return rows.isEmpty() ? -1 : rows.front().row();
}

void CompareWindow::showProgress(const QString& text)
{
    ui.progressBar->setRange(0, 0);
    ui.progressBar->setValue(0);
    ui.progressLabel->setText(text);
    ui.progressPanel->show();
}

void CompareWindow::compare()
{
    if (isBusy() || m_stages->rowCount() < 2)
        return;
    const ArrangedStages stages = ArrangeStages(m_stages->stages());
    m_worker = new ComparisonWorker;
    m_worker->moveToThread(&m_thread);
    connect(&m_thread, &QThread::finished, m_worker, &QObject::deleteLater);
    connect(m_worker, &ComparisonWorker::progress, this, &CompareWindow::onProgress);
    connect(m_worker, &ComparisonWorker::finished, this, &CompareWindow::onFinished);
    showProgress(QStringLiteral("Поиск файлов…"));
    updateActions();
    QMetaObject::invokeMethod(
        m_worker,
        [worker = m_worker, stages, separators = Separators::current(), gate = workGate] {
            if (gate)
                gate();
            worker->run(stages, separators);
        },
        Qt::QueuedConnection);
}

void CompareWindow::cancel()
{
    // Either worker stops soon on its own thread; until it reports, the panel stays.
    if (m_worker != nullptr)
        m_worker->cancel();
    m_report.cancel();
    ui.progressLabel->setText(QStringLiteral("Отмена…"));
}

void CompareWindow::onProgress(qsizetype done, qsizetype total)
{
    if (m_worker == nullptr || sender() != m_worker)
        return;
    ui.progressBar->setRange(0, int(std::max<qsizetype>(total, 1)));
    ui.progressBar->setValue(int(done));
    ui.progressLabel->setText(QStringLiteral("Чтение файлов: %1 из %2").arg(done).arg(total));
}

void CompareWindow::onFinished(const SharedComparison& comparison)
{
    if (m_worker == nullptr || sender() != m_worker)
        return;
    m_worker->deleteLater();
    m_worker = nullptr;
    ui.progressPanel->hide();
    if (comparison->cancelled) {
        // A part of the files would give wrong figures: the earlier comparison stays.
        ui.statusbar->showMessage(QStringLiteral("Сравнение отменено"));
    } else {
        m_handOver.named = comparison;
        showHandOver(ui.anonymiseBox->isChecked());
    }
    updateActions();
    emit comparisonFinished(comparison->cancelled);
}

void CompareWindow::showHandOver(bool anonymised)
{
    m_handOver = MakeHandOver(m_handOver.named, anonymised);
    m_model->setComparison(m_handOver.shown, anonymised);
    showComparison();
}

void CompareWindow::showComparison()
{
    const SharedComparison comparison = m_model->comparison();
    // The table starts with those who got worse first.
    ui.personView->sortByColumn(m_model->column(PersonColumn::Change), Qt::AscendingOrder);
    const QFontMetrics metrics = ui.personView->fontMetrics();
    for (std::size_t s = 0; s < m_model->stageCount(); ++s) {
        ui.personView->setColumnWidth(m_model->column(s, StageColumn::Level), LevelColumnWidth(metrics));
        ui.personView->setColumnWidth(m_model->column(s, StageColumn::Balance), BalanceColumnWidth(metrics));
        ui.personView->setColumnWidth(m_model->column(s, StageColumn::State), CharsWidth(metrics, 18));
        ui.personView->setColumnWidth(m_model->column(s, StageColumn::Index), CharsWidth(metrics, 7));
        ui.personView->setColumnWidth(m_model->column(s, StageColumn::Kerdo), CharsWidth(metrics, 8));
    }
    ui.personView->setColumnWidth(m_model->column(PersonColumn::Person), CharsWidth(metrics, 28));
    ui.personView->setColumnWidth(m_model->column(PersonColumn::Sex), CharsWidth(metrics, 3));
    ui.personView->setColumnWidth(m_model->column(PersonColumn::Marks), CharsWidth(metrics, 16));
    ui.personView->setColumnWidth(m_model->column(PersonColumn::Change), CharsWidth(metrics, 14));
    ui.personView->setColumnWidth(m_model->column(PersonColumn::Direction), CharsWidth(metrics, 13));
    FitCaptions(*ui.personView);
    // The change and the direction next to the name, where the eye starts.
    QHeaderView* header = ui.personView->horizontalHeader();
    header->moveSection(header->visualIndex(m_model->column(PersonColumn::Change)), 3);
    header->moveSection(header->visualIndex(m_model->column(PersonColumn::Direction)), 4);
    showFigures();
    if (m_sorted.rowCount() > 0)
        ui.personView->selectRow(0);
    else
        showSelectedPerson();
    std::size_t files = 0;
    for (const StageResult& stage : comparison->stages)
        files += std::size_t(stage.rows.size());
    ui.statusbar->showMessage(
        QStringLiteral("Этапов: %1; файлов: %2; людей: %3").arg(comparison->stages.size()).arg(files).arg(m_model->rowCount()));
}

void CompareWindow::showFigures()
{
    const Comparison& comparison = *m_model->comparison();
    const GroupFigures figures = ComputeGroupFigures(comparison);
    FillShares(*ui.sharesTable, comparison, figures);
    FillTransitions(*ui.transitionTable, figures, comparison.stages.front().input.label,
                    comparison.stages.back().input.label);
    QStringList lines = StatisticsLines(figures);
    lines << StageOrderLine(comparison) << RowOrderText(m_model->table()->anonymised());
    for (std::size_t s = 0; s < comparison.stages.size(); ++s) {
        for (const QString& note : StageNoteLines(comparison, s))
            lines << QStringLiteral("Этап «%1»: %2").arg(comparison.stages[s].input.label, note);
    }
    ui.statisticsLabel->setText(lines.join(u'\n'));
    ui.statisticsLabel->setAccessibleDescription(ui.statisticsLabel->text()); // the name says what it is
    ui.sharesChart->setStages(StageLevelCountsOf(comparison, figures));
    // The group's tables as tall as they need; the persons get the rest.
    ui.figuresPanel->setMaximumHeight(ui.figuresPanel->sizeHint().height());
}

void CompareWindow::showSelectedPerson()
{
    const QModelIndex current = m_sorted.mapToSource(ui.personView->currentIndex());
    const ComparisonTable* table = m_model->table();
    if (!current.isValid() || table == nullptr) {
        ui.courseChart->setCourse({}, {}, {});
        return;
    }
    QStringList labels;
    for (const StageResult& stage : m_model->comparison()->stages)
        labels << stage.input.label;
    ui.courseChart->setCourse(QStringLiteral("ИФИ по этапам: %1").arg(table->personText(current.row())), labels,
                              CoursePointsOf(*table, m_model->stageCount(), current.row()));
}

void CompareWindow::updateActions()
{
    const bool idle = !isBusy();
    const bool haveResult = idle && m_model->table() != nullptr;
    const int stage = selectedStage();
    ui.actionExportCsv->setEnabled(haveResult);
    ui.actionExportPdf->setEnabled(haveResult);
    ui.actionPrint->setEnabled(haveResult);
    ui.compareButton->setEnabled(idle && m_stages->rowCount() >= 2);
    ui.addFolderButton->setEnabled(idle);
    ui.addFilesButton->setEnabled(idle);
    ui.removeButton->setEnabled(idle && stage >= 0);
    const bool reorderable = !m_stages->orderedByDate();
    ui.upButton->setEnabled(idle && reorderable && stage > 0);
    ui.downButton->setEnabled(idle && reorderable && stage >= 0 && stage + 1 < m_stages->rowCount());
    ui.anonymiseBox->setEnabled(idle);
    ui.actionSaveKey->setEnabled(haveResult && m_handOver.anonymised);
    ui.stageOrderLabel->setText(m_stages->orderText());
    ui.stageOrderLabel->setVisible(!ui.stageOrderLabel->text().isEmpty());
}

void CompareWindow::exportCsv(const QString& path)
{
    if (m_model->table() == nullptr)
        return;
    // The texts are made here, where the regional settings are read; the worker only writes them.
    ComparisonTable worseFirst(*m_handOver.shown, m_handOver.anonymised);
    worseFirst.setOrder(ComparisonTable::Order::WorseFirst);
    auto rows = std::make_shared<std::vector<QStringList>>();
    rows->reserve(std::size_t(worseFirst.rowCount()));
    for (qsizetype r = 0; r < worseFirst.rowCount(); ++r)
        rows->push_back(worseFirst.cells(r));
    const QStringList captions = worseFirst.captions();
    startReport(QStringLiteral("Запись CSV"), [path, captions, rows](const PageProgress& progress) {
        constexpr qsizetype kBlock = 4096;
        const auto count = qsizetype(rows->size());
        const int blocks = int(count / kBlock) + 1;
        std::atomic<bool> stop{!progress(0, blocks)};
        const QString failure = WriteCsvFile(path, captions, count, [&](qsizetype r) {
            if (r > 0 && r % kBlock == 0 && !progress(int(r / kBlock), blocks))
                stop.store(true);
            return (*rows)[std::size_t(r)];
        }, &stop);
        return failure.isEmpty() ? failure : QStringLiteral("Не удалось записать %1: %2").arg(path, failure);
    }, QStringLiteral("сравнение, CSV"));
}

void CompareWindow::exportPdf(const QString& path)
{
    if (m_model->table() == nullptr)
        return;
    const TableReport report = BuildComparisonReport({m_handOver.shown, m_handOver.anonymised});
    startReport(QStringLiteral("Запись PDF"), [path, report](const PageProgress& progress) {
        const QString failure = WriteComparisonPdf(path, report, progress);
        return failure.isEmpty() ? failure : QStringLiteral("Не удалось записать %1: %2").arg(path, failure);
    }, QStringLiteral("сравнение, PDF"));
}

QString CompareWindow::saveKey(const QString& path)
{
    const QString failure = m_handOver.writeKey(path);
    if (failure.isEmpty())
        RecordExport({QStringLiteral("сравнение, ключ кодов"), true, qsizetype(m_handOver.codes.size())});
    return failure;
}

void CompareWindow::print()
{
    if (m_model->table() == nullptr)
        return;
    auto printer = std::make_shared<QPrinter>(QPrinter::HighResolution);
    printer->setPageLayout(SummaryReportPageLayout());
    if (!choosePrinter(*printer))
        return;
    const TableReport report = BuildComparisonReport({m_handOver.shown, m_handOver.anonymised});
    startReport(QStringLiteral("Печать"),
                PrintingDraw(printer, [report](QPagedPaintDevice& device, const PageProgress& progress) {
                    return PrintTableReport(device, report, progress);
                }),
                QStringLiteral("сравнение, печать"));
}

void CompareWindow::startReport(const QString& what, const BackgroundReport::Draw& draw, const QString& logged)
{
    m_logged = logged;
    showProgress(what + QStringLiteral("…"));
    m_report.start(what, draw, [gate = workGate](int) {
        if (gate)
            gate();
    });
    updateActions();
}

void CompareWindow::onReportPage(int page, int pageCount)
{
    m_report.showPage(*ui.progressBar, *ui.progressLabel, page, pageCount);
}

void CompareWindow::onReportFinished(bool cancelled, const QString& failure)
{
    const bool written = m_report.showOutcome(*ui.progressPanel, *ui.statusbar, reportFailure, cancelled, failure);
    if (written)
        RecordExport({m_logged, m_handOver.anonymised, qsizetype(m_handOver.shown->persons.size())});
    updateActions();
    emit reportFinished(written);
}
