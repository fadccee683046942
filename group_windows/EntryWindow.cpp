#include "group_windows/EntryWindow.h"

#include "entry/EntryTableModel.h"
#include "entry/StageFolder.h"
#include "summary/SummaryCounts.h"
#include "group_windows/ColumnWidths.h"
#include "group_windows/EntryCellDelegate.h"
#include "group_windows/ScreenFit.h"

#include <QCloseEvent>
#include <QDir>
#include <QFileInfo>
#include <QFileDialog>
#include <QHeaderView>
#include <QMessageBox>
#include <QPushButton>
#include <QtConcurrent/QtConcurrentRun>

namespace {

// Runs `work` on the thread pool and hands its result to `done` on the window's thread. The
// watcher is kept in `slot` while the work runs.
template <typename Work, typename Done>
void RunInBackground(QObject* context, std::unique_ptr<QObject>& slot, Work work, Done done)
{
    using Result = std::invoke_result_t<Work>;
    auto* watcher = new QFutureWatcher<Result>;
    slot.reset(watcher);
    QObject::connect(watcher, &QFutureWatcherBase::finished, context, [&slot, watcher, done] {
        const Result result = watcher->result();
        slot.release()->deleteLater();
        done(result);
    });
    watcher->setFuture(QtConcurrent::run(std::move(work)));
}

QString RowName(const EntryRow& row, int index)
{
    const QString name = row.text(EntryField::FullName).trimmed();
    return QStringLiteral("Строка %1 (%2)").arg(index + 1).arg(name.isEmpty() ? QStringLiteral("без имени") : name);
}

// The roster's people not in the table yet, after the table's rows.
EntryRows WithRoster(EntryRows rows, const EntryRows& roster)
{
    for (const EntryRow& person : roster) {
        const QString name = person.text(EntryField::FullName).trimmed();
        const bool present = std::any_of(rows.begin(), rows.end(), [&name](const EntryRow& row) {
            return row.text(EntryField::FullName).trimmed().compare(name, Qt::CaseInsensitive) == 0;
        });
        if (!present)
            rows.append(person);
    }
    return rows;
}

} // namespace

QVariant TwoLineHeaderModel::headerData(int section, Qt::Orientation orientation, int role) const
{
    QVariant caption = QIdentityProxyModel::headerData(section, orientation, role);
    if (orientation == Qt::Horizontal && role == Qt::DisplayRole) {
        QString text = caption.toString();
        if (const qsizetype blank = text.indexOf(u' '); blank > 0 && text.size() > 10)
            text[blank] = u'\n';
        return text;
    }
    return caption;
}

EntryWindow::EntryWindow(const QString& folder, QWidget* parent, const QString& journalFolder)
    : QMainWindow(parent),
      m_folder(QDir(folder).absolutePath()),
      m_journal(journalFolder.isEmpty() ? EntryJournal(m_folder) : EntryJournal(m_folder, journalFolder)),
      m_saver(m_folder),
      m_model(std::make_unique<EntryTableModel>(Separators::current())),
      m_delegate(std::make_unique<EntryCellDelegate>(&EntryTableModel::FieldOfColumn))
{
    ui.setupUi(this);
    setWindowTitle(QStringLiteral("Ввод группы — %1").arg(QDir(m_folder).dirName()));
    ui.folderLabel->setText(QStringLiteral("Папка этапа: %1").arg(QDir::toNativeSeparators(m_folder)));
    ui.tableView->setModel(m_model.get());
    // The header reads its captions through the proxy; the table edits the model itself.
    m_headerModel.setSourceModel(m_model.get());
    ui.tableView->horizontalHeader()->setModel(&m_headerModel);
    ui.tableView->horizontalHeader()->setHighlightSections(false);
    ui.tableView->setItemDelegate(m_delegate.get());
    ui.tableView->setSexColumn(EntryTableModel::ColSex);

    sizeColumns();
    FitToScreen(*this);
    connect(m_model.get(), &QAbstractItemModel::dataChanged, this,
            [this](const QModelIndex& topLeft, const QModelIndex& bottomRight) {
                for (int row = topLeft.row(); row <= bottomRight.row(); ++row)
                    spanProblem(row);
            });
    connect(m_model.get(), &QAbstractItemModel::modelReset, this, [this] {
        for (int row = 0; row < m_model->rowCount(); ++row)
            spanProblem(row);
    });
    showProblems();

    setupDialogs();
    connect(ui.actionSave, &QAction::triggered, this, &EntryWindow::save);
    connect(ui.actionClose, &QAction::triggered, this, &QWidget::close);
    connect(ui.actionRosterFromFolder, &QAction::triggered, this, [this] {
        if (const QString chosen = chooseRosterFolder(); !chosen.isEmpty())
            startRosterFromFolder(chosen);
    });
    connect(ui.actionRosterFromCsv, &QAction::triggered, this, [this] {
        if (const QString chosen = chooseRosterCsv(); !chosen.isEmpty())
            startRosterFromCsv(chosen);
    });
    connect(m_model.get(), &EntryTableModel::unsavedRowsChanged, this, [this] {
        scheduleJournal();
        updateNameWarnings();
    });

    // A folder that does not exist yet is made by the first save.
    if (!QFileInfo(m_folder).isDir()) {
        QMetaObject::invokeMethod(this, [this] { onFolderRead({}); }, Qt::QueuedConnection);
        return;
    }
    setBusy(true, QStringLiteral("Чтение папки…"));
    RunInBackground(
        this, m_work, [folder = m_folder, separators = Separators::current()] { return ReadStageFolder(folder, separators); },
        [this](const StageFolderContents& contents) { onFolderRead(contents); });
}

EntryWindow::~EntryWindow()
{
    if (auto* running = qobject_cast<QFutureWatcherBase*>(m_work.get()))
        running->waitForFinished();
    finishJournal();
}

void EntryWindow::sizeColumns()
{
    // Every header whole; the level and balance columns as wide as their longest texts, the name wider.
    QHeaderView* header = ui.tableView->horizontalHeader();
    const QFontMetrics metrics = ui.tableView->fontMetrics();
    for (int column = 0; column < EntryTableModel::ColumnCount; ++column)
        ui.tableView->setColumnWidth(column, std::max(header->sectionSizeHint(column), metrics.horizontalAdvance(u'0') * 5));
    ui.tableView->setColumnWidth(EntryTableModel::ColLevel, LevelColumnWidth(metrics));
    ui.tableView->setColumnWidth(EntryTableModel::ColBalance, BalanceColumnWidth(metrics));
    ui.tableView->setColumnWidth(EntryTableModel::ColName, metrics.horizontalAdvance(u'Ш') * 15);
    ui.tableView->verticalHeader()->setDefaultSectionSize(metrics.height() + 8);
}

void EntryWindow::spanProblem(int row)
{
    // What keeps a row from its results is read across the result columns, not cut in one cell.
    const bool problem = row < m_model->rowCount() && !m_model->index(row, EntryTableModel::FirstResultColumn)
                                                         .data(EntryTableModel::ProblemRole)
                                                         .toString()
                                                         .isEmpty();
    const int span = problem ? EntryTableModel::ColumnCount - EntryTableModel::FirstResultColumn : 1;
    if (ui.tableView->columnSpan(row, EntryTableModel::FirstResultColumn) != span)
        ui.tableView->setSpan(row, EntryTableModel::FirstResultColumn, 1, span);
}

void EntryWindow::setupDialogs()
{
    askUnsaved = [this] {
        QMessageBox box(QMessageBox::Question, windowTitle(),
                        QStringLiteral("Есть несохраненные строки. Сохранить их перед закрытием?"), QMessageBox::NoButton,
                        this);
        QPushButton* saveButton = box.addButton(QStringLiteral("Сохранить"), QMessageBox::AcceptRole);
        QPushButton* discardButton = box.addButton(QStringLiteral("Не сохранять"), QMessageBox::DestructiveRole);
        box.addButton(QStringLiteral("Отмена"), QMessageBox::RejectRole);
        box.setDefaultButton(saveButton);
        box.exec();
        if (box.clickedButton() == saveButton)
            return UnsavedAnswer::Save;
        return box.clickedButton() == discardButton ? UnsavedAnswer::Discard : UnsavedAnswer::Cancel;
    };
    offerJournalRows = [this](int rows) {
        return QMessageBox::question(
                   this, windowTitle(),
                   QStringLiteral("В прошлый раз остались несохраненные строки: %1. Вернуть их в таблицу?").arg(rows),
                   QMessageBox::Yes | QMessageBox::No, QMessageBox::Yes)
               == QMessageBox::Yes;
    };
    askClashes = [this](const QStringList& clashes) {
        QMessageBox box(QMessageBox::Warning, windowTitle(),
                        QStringLiteral("Файлы этих строк уже заняты:\n\n%1\n\nЗаменить файлы других людей, "
                                       "сохранить рядом под другим именем или пропустить эти строки?")
                            .arg(clashes.join(u'\n')),
                        QMessageBox::NoButton, this);
        QPushButton* overwrite = box.addButton(QStringLiteral("Заменить"), QMessageBox::DestructiveRole);
        QPushButton* beside = box.addButton(QStringLiteral("Сохранить рядом"), QMessageBox::AcceptRole);
        box.addButton(QStringLiteral("Пропустить"), QMessageBox::RejectRole);
        box.setDefaultButton(beside);
        box.exec();
        if (box.clickedButton() == overwrite)
            return ClashAnswer::Overwrite;
        return box.clickedButton() == beside ? ClashAnswer::SaveBeside : ClashAnswer::Skip;
    };
    confirmRoster = [this](const Roster& roster) {
        QMessageBox box(QMessageBox::Question, windowTitle(),
                        QStringLiteral("В списке человек: %1. Не взято строк: %2.")
                            .arg(roster.rows.size())
                            .arg(roster.problems.size()),
                        QMessageBox::NoButton, this);
        if (!roster.problems.isEmpty())
            box.setDetailedText(roster.problems.join(u'\n'));
        QPushButton* accept = box.addButton(QStringLiteral("Принять"), QMessageBox::AcceptRole);
        box.addButton(QStringLiteral("Отмена"), QMessageBox::RejectRole);
        box.exec();
        return box.clickedButton() == accept && !roster.rows.isEmpty();
    };
    chooseRosterFolder = [this] {
        return QFileDialog::getExistingDirectory(this, QStringLiteral("Папка прошлого этапа"));
    };
    chooseRosterCsv = [this] {
        return QFileDialog::getOpenFileName(this, QStringLiteral("Список группы"), QString(),
                                            QStringLiteral("CSV (*.csv *.txt);;Все файлы (*)"));
    };
    reportFailure = [this](const QString& message) { QMessageBox::critical(this, windowTitle(), message); };
}

void EntryWindow::setBusy(bool busy, const QString& message)
{
    m_busy = busy;
    ui.tableView->setEnabled(!busy);
    ui.actionSave->setEnabled(!busy);
    ui.actionRosterFromFolder->setEnabled(!busy);
    ui.actionRosterFromCsv->setEnabled(!busy);
    if (!busy)
        ui.tableView->setFocus(); // typing goes on where it stopped
    if (!message.isEmpty())
        ui.statusbar->showMessage(message);
}

void EntryWindow::onFolderRead(const StageFolderContents& contents)
{
    m_loadProblems.clear();
    for (const QString& unreadable : contents.unreadable)
        m_loadProblems << QStringLiteral("Не прочитан: %1").arg(unreadable);
    EntryRows rows = contents.rows;
    if (const EntryRows journal = m_journal.read(); !journal.isEmpty()) {
        if (offerJournalRows(int(journal.size())))
            rows = EntryJournal::Merge(rows, journal);
        else
            m_journal.clear();
    }
    m_model->setRows(rows);
    scheduleJournal();
    setBusy(false, QFileInfo(m_folder).isDir()
                       ? QStringLiteral("Строк в папке: %1").arg(contents.rows.size())
                       : QStringLiteral("Новая папка: она появится при первом сохранении"));
    updateNameWarnings();
    focusFirstEmptyRow();
    emit folderLoaded();
}

void EntryWindow::focusFirstEmptyRow()
{
    int row = 0;
    while (row + 1 < m_model->rowCount() && !IsEmptyRow(m_model->row(row)))
        ++row;
    const QModelIndex first = m_model->index(row, EntryTableModel::ColName);
    ui.tableView->setCurrentIndex(first);
    ui.tableView->scrollTo(first);
    ui.tableView->setFocus();
}

void EntryWindow::scheduleJournal()
{
    // After the changed row has been painted; a burst of changes makes one write.
    m_journalDirty = true;
    if (m_journalQueued)
        return;
    m_journalQueued = true;
    QMetaObject::invokeMethod(this, [this] {
        m_journalQueued = false;
        writeJournal();
    }, Qt::QueuedConnection);
}

void EntryWindow::writeJournal()
{
    if (m_journalWork != nullptr || !m_journalDirty)
        return; // the running write is followed by another when it ends
    m_journalDirty = false;
    RunInBackground(
        this, m_journalWork, [journal = m_journal, rows = m_model->rows()] { return journal.write(rows); },
        [this](const QString& failure) {
            if (!failure.isEmpty())
                ui.statusbar->showMessage(failure);
            writeJournal();
        });
}

void EntryWindow::finishJournal()
{
    // The last changes reach the journal even when the window goes before the queued write.
    if (auto* running = qobject_cast<QFutureWatcherBase*>(m_journalWork.get()))
        running->waitForFinished();
    if (m_journalDirty) {
        m_journalDirty = false;
        m_journal.write(m_model->rows());
    }
}

void EntryWindow::updateNameWarnings()
{
    m_nameWarnings.clear();
    const EntryRows rows = m_model->rows();
    for (int i = 0; i < rows.size(); ++i) {
        if (const QString refused = UnstorableNameMessage(rows[i].text(EntryField::FullName)); !refused.isEmpty())
            m_nameWarnings << QStringLiteral("%1: %2").arg(RowName(rows[i], i), refused);
    }
    showProblems();
}

QStringList EntryWindow::problems() const
{
    return m_loadProblems + m_nameWarnings + m_saveProblems;
}

void EntryWindow::showProblems()
{
    const QStringList lines = problems();
    ui.problemsList->clear();
    ui.problemsList->addItems(lines);
    ui.problemsCaption->setVisible(!lines.isEmpty());
    ui.problemsList->setVisible(!lines.isEmpty());
}

void EntryWindow::save()
{
    if (m_busy)
        return;
    ui.tableView->commitOpenEditor();
    setBusy(true, QStringLiteral("Сохранение…"));
    const EntryRows rows = m_model->rows();
    RunInBackground(
        this, m_work, [saver = m_saver, rows] { return saver.plan(rows); },
        [this, rows](const std::vector<RowSaveOutcome>& plan) { onPlanned(rows, plan); });
}

void EntryWindow::onPlanned(const EntryRows& rows, const std::vector<RowSaveOutcome>& plan)
{
    QStringList clashes;
    for (const RowSaveOutcome& outcome : plan) {
        if (outcome.kind == RowSaveOutcome::NameClash || outcome.kind == RowSaveOutcome::OtherPersonFile)
            clashes << QStringLiteral("%1: %2").arg(RowName(rows[outcome.row], outcome.row), outcome.message);
    }
    std::map<int, QString> confirmed;
    if (!clashes.isEmpty()) {
        const ClashAnswer answer = askClashes(clashes);
        for (const RowSaveOutcome& outcome : plan) {
            // Another row of this table is never replaced: its twin goes beside it.
            if (answer == ClashAnswer::Overwrite && outcome.kind == RowSaveOutcome::OtherPersonFile)
                confirmed[outcome.row] = outcome.path;
            else if (answer != ClashAnswer::Skip && !outcome.freePath.isEmpty())
                confirmed[outcome.row] = outcome.freePath;
        }
    }
    RunInBackground(
        this, m_work, [saver = m_saver, rows, confirmed] { return saver.save(rows, confirmed); },
        [this](const std::vector<RowSaveOutcome>& outcomes) { onSaved(outcomes); });
}

void EntryWindow::onSaved(const std::vector<RowSaveOutcome>& outcomes)
{
    const EntryRows rows = m_model->rows();
    m_saveProblems.clear();
    int saved = 0;
    QStringList failures;
    for (const RowSaveOutcome& outcome : outcomes) {
        if (outcome.kind == RowSaveOutcome::Saved) {
            m_model->markSaved(outcome.row, outcome.path);
            ++saved;
            continue;
        }
        if (outcome.kind == RowSaveOutcome::Skipped && outcome.message.isEmpty())
            continue;
        const QString line = QStringLiteral("%1: %2").arg(RowName(rows[outcome.row], outcome.row), outcome.message);
        m_saveProblems << line;
        if (outcome.kind == RowSaveOutcome::Failed)
            failures << line;
    }
    scheduleJournal();
    updateNameWarnings();
    setBusy(false, QStringLiteral("Сохранено строк: %1; не сохранено: %2").arg(saved).arg(m_saveProblems.size()));
    if (!failures.isEmpty())
        reportFailure(QStringLiteral("Не удалось сохранить строк: %1. Строки остались в таблице.\n\n%2")
                          .arg(failures.size())
                          .arg(failures.join(u'\n')));
    const bool allSaved = !m_model->hasUnsavedRows();
    emit saveFinished(allSaved);
    if (m_closeAfterSave) {
        m_closeAfterSave = false;
        if (allSaved)
            close();
    }
}

void EntryWindow::startRosterFromFolder(const QString& folder)
{
    setBusy(true, QStringLiteral("Чтение списка…"));
    RunInBackground(
        this, m_work, [folder, separators = Separators::current()] { return RosterFromStageFolder(folder, separators); },
        [this](const Roster& roster) { offerRoster(roster); });
}

void EntryWindow::startRosterFromCsv(const QString& path)
{
    setBusy(true, QStringLiteral("Чтение списка…"));
    RunInBackground(
        this, m_work, [path] { return ReadRosterCsv(path); }, [this](const Roster& roster) { offerRoster(roster); });
}

void EntryWindow::offerRoster(const Roster& roster)
{
    setBusy(false, QString());
    if (confirmRoster(roster)) {
        m_model->setRows(WithRoster(m_model->rows(), roster.rows));
        ui.statusbar->showMessage(QStringLiteral("Список принят: %1 чел.").arg(roster.rows.size()));
        updateNameWarnings();
        focusFirstEmptyRow();
    } else {
        ui.statusbar->showMessage(QStringLiteral("Список не принят"));
    }
    emit rosterOffered();
}

void EntryWindow::closeEvent(QCloseEvent* event)
{
    ui.tableView->commitOpenEditor();
    if (m_busy || !m_model->hasUnsavedRows()) {
        if (m_busy)
            event->ignore();
        else
            event->accept();
        return;
    }
    switch (askUnsaved()) {
    case UnsavedAnswer::Save:
        event->ignore();
        m_closeAfterSave = true;
        save();
        return;
    case UnsavedAnswer::Discard:
        finishJournal();
        m_journal.clear();
        event->accept();
        return;
    case UnsavedAnswer::Cancel:
        event->ignore();
        return;
    }
}
