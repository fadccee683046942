#include "group_windows/EntryWindow.h"

#include "core/PersonIdentity.h"
#include "entry/EntryTableModel.h"
#include "entry/StageFolder.h"
#include "reports/HeaderCaption.h"
#include "summary/SummaryCounts.h"
#include "group_windows/ColumnWidths.h"
#include "group_windows/EntryCellDelegate.h"
#include "group_windows/ScreenFit.h"

#include <QCloseEvent>
#include <QDir>
#include <QFile>
#include <QHash>
#include <QLockFile>
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

// The entry window of each stage folder open in this program, by the folder's key.
QHash<QString, EntryWindow*>& OpenWindows()
{
    static QHash<QString, EntryWindow*> windows;
    return windows;
}

// The read folder and how many leftovers of a cut-off save went before the reading.
struct OpenedFolder
{
    StageFolderContents contents;
    int clearedLeftovers = 0;
};

// A row of the journal as the question about it lists it: the name, the sex and what is typed.
QString RowLine(const EntryRow& row)
{
    const QString name = row.text(EntryField::FullName).trimmed();
    QStringList values;
    for (const EntryFieldDefinition& definition : EntryFieldDefinitions()) {
        if (definition.field != EntryField::FullName && !row.text(definition.field).isEmpty())
            values << QStringLiteral("%1 %2").arg(EntryFieldCaption(definition.field), row.text(definition.field));
    }
    QString line = QStringLiteral("%1, %2: %3")
                       .arg(name.isEmpty() ? QStringLiteral("без имени") : name,
                            row.sex ? SexText(*row.sex) : QStringLiteral("пол не указан"),
                            values.join(QStringLiteral(", ")));
    if (!row.filePath.isEmpty())
        line += QStringLiteral(" (файл «%1»)").arg(QFileInfo(row.filePath).fileName());
    return line;
}

QString RowName(const EntryRow& row, int index)
{
    const QString name = row.text(EntryField::FullName).trimmed();
    return QStringLiteral("Строка %1 (%2)").arg(index + 1).arg(name.isEmpty() ? QStringLiteral("без имени") : name);
}

// The roster's people not in the table yet, after the table's rows. A row whose sex is not
// chosen yet is taken for the person of its name.
EntryRows WithRoster(EntryRows rows, const EntryRows& roster)
{
    for (const EntryRow& person : roster) {
        const PersonIdentity identity = IdentityOf(person.text(EntryField::FullName), *person.sex);
        const bool present = std::any_of(rows.begin(), rows.end(), [&identity](const EntryRow& row) {
            return IdentityOf(row.text(EntryField::FullName), row.sex.value_or(identity.sex)) == identity;
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
    if (orientation == Qt::Horizontal && role == Qt::DisplayRole)
        return WrapCaption(caption.toString(), 10);
    return caption;
}

EntryWindow::EntryWindow(const QString& folder, QWidget* parent, const QString& journalFolder)
    : QMainWindow(parent),
      m_folder(QDir(folder).absolutePath()),
      m_folderKey(StageFolderKey(m_folder)),
      m_journalFolder(journalFolder),
      m_journal(journalFolder.isEmpty() ? EntryJournal(m_folder) : EntryJournal(m_folder, journalFolder)),
      m_saver(m_folder),
      m_model(std::make_unique<EntryTableModel>(Separators::current())),
      m_delegate(std::make_unique<EntryCellDelegate>(&EntryTableModel::FieldOfColumn))
{
    ui.setupUi(this);
    serveFolder(m_folder);
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
    connect(ui.actionSaveElsewhere, &QAction::triggered, this, [this] {
        if (const QString chosen = dialogs.chooseFolder(); !chosen.isEmpty())
            saveToFolder(chosen);
    });
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

    m_lock = m_journal.lock(m_refusal);
    if (!m_lock) {
        // Another program types into this folder: two windows would overwrite each other's rows.
        setBusy(true, m_refusal);
        m_loadProblems << m_refusal;
        showProblems();
        return;
    }
    OpenWindows().insert(m_folderKey, this);
    if (const StageFolderProblem problem = CheckStageFolder(m_folder); problem.kind != StageFolderProblem::None)
        m_loadProblems << QStringLiteral("Сохранить в эту папку нельзя: %1. Строки можно сохранить в другую папку "
                                         "(Файл → Сохранить в другую папку…).")
                              .arg(problem.message);
    // A folder that does not exist yet is made by the first save.
    if (!QFileInfo(m_folder).isDir()) {
        QMetaObject::invokeMethod(this, [this] { onFolderRead({}, 0); }, Qt::QueuedConnection);
        return;
    }
    setBusy(true, QStringLiteral("Чтение папки…"));
    RunInBackground(
        this, m_work,
        [folder = m_folder, separators = Separators::current()] {
            // No other entry window has the folder, so what a save left half done is a leftover.
            const int cleared = ClearSaveLeftovers(folder);
            return OpenedFolder{ReadStageFolder(folder, separators), cleared};
        },
        [this](const OpenedFolder& opened) { onFolderRead(opened.contents, opened.clearedLeftovers); });
}

EntryWindow::~EntryWindow()
{
    if (OpenWindows().value(m_folderKey) == this)
        OpenWindows().remove(m_folderKey);
    if (auto* running = qobject_cast<QFutureWatcherBase*>(m_work.get()))
        running->waitForFinished();
    finishJournal();
}

EntryWindow* EntryWindow::BringForward(const QString& folder)
{
    EntryWindow* open = OpenWindows().value(StageFolderKey(folder));
    if (open != nullptr) {
        open->show();
        open->setWindowState(open->windowState() & ~Qt::WindowMinimized);
        open->raise();
        open->activateWindow();
    }
    return open;
}

void EntryWindow::serveFolder(const QString& folder)
{
    m_folder = QDir(folder).absolutePath();
    m_folderKey = StageFolderKey(m_folder);
    m_saver = StageSaver(m_folder);
    setWindowTitle(QStringLiteral("Ввод группы — %1").arg(QDir(m_folder).dirName()));
    ui.folderLabel->setText(QStringLiteral("Папка этапа: %1").arg(QDir::toNativeSeparators(m_folder)));
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
    dialogs.useStandardDialogs(this, QStringLiteral("Сохранить в папку"), QString());
    askUnsaved = [this] {
        QMessageBox box(QMessageBox::Question, windowTitle(),
                        QStringLiteral("Есть несохраненные строки. Сохранить их перед закрытием?\n\nЕсли не сохранять, "
                                       "строки будут отложены в папку журналов «%1».")
                            .arg(QDir::toNativeSeparators(QFileInfo(m_journal.path()).absolutePath())),
                        QMessageBox::NoButton, this);
        QPushButton* saveButton = box.addButton(QStringLiteral("Сохранить"), QMessageBox::AcceptRole);
        QPushButton* discardButton = box.addButton(QStringLiteral("Не сохранять"), QMessageBox::DestructiveRole);
        box.addButton(QStringLiteral("Отмена"), QMessageBox::RejectRole);
        box.setDefaultButton(saveButton);
        box.exec();
        if (box.clickedButton() == saveButton)
            return UnsavedAnswer::Save;
        return box.clickedButton() == discardButton ? UnsavedAnswer::Discard : UnsavedAnswer::Cancel;
    };
    offerJournalRows = [this](const QStringList& rows) {
        return dialogs.askAboutRows({QStringLiteral("В прошлый раз остались несохраненные строки: %1. Вернуть их в "
                                                    "таблицу? Если нет, они будут отложены в папку журналов «%2» и не "
                                                    "потеряются.")
                                         .arg(rows.size())
                                         .arg(QDir::toNativeSeparators(QFileInfo(m_journal.path()).absolutePath())),
                                     rows,
                                     {QStringLiteral("Вернуть"), QStringLiteral("Отложить")},
                                     0,
                                     0})
            == 0;
    };
    askClashes = [this](const QStringList& clashes) {
        static constexpr ClashAnswer kAnswers[] = {ClashAnswer::Skip, ClashAnswer::Overwrite, ClashAnswer::SaveBeside};
        // Enter and Escape leave the rows unsaved: neither replaces a file nor makes a second one.
        return kAnswers[std::clamp(dialogs.askAboutRows(
            {QStringLiteral("Файлы этих строк уже заняты (строк: %1). Заменить эти файлы, сохранить рядом под другим "
                            "именем или пропустить эти строки? Для человека, у которого файл уже есть, второй файл "
                            "рядом не создаётся.")
                 .arg(clashes.size()),
             clashes,
             {QStringLiteral("Пропустить"), QStringLiteral("Заменить"), QStringLiteral("Сохранить рядом")},
             0,
             0}),
            0, int(std::size(kAnswers)) - 1)];
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
    ui.actionSaveElsewhere->setEnabled(!busy);
    ui.actionRosterFromFolder->setEnabled(!busy);
    ui.actionRosterFromCsv->setEnabled(!busy);
    if (!busy)
        ui.tableView->setFocus(); // typing goes on where it stopped
    if (!message.isEmpty())
        ui.statusbar->showMessage(message);
}

void EntryWindow::onFolderRead(const StageFolderContents& contents, int clearedLeftovers)
{
    for (const QString& unreadable : contents.unreadable)
        m_loadProblems << QStringLiteral("Не прочитан: %1").arg(unreadable);
    for (const QStringList& files : contents.samePersonFiles) {
        QStringList names;
        for (const QString& path : files)
            names << QStringLiteral("«%1»").arg(QFileInfo(path).fileName());
        m_loadProblems << QStringLiteral("Один человек в нескольких файлах: %1").arg(names.join(QStringLiteral(", ")));
    }
    EntryRows rows = contents.rows;
    offerJournal(rows, contents.rows);
    m_model->setRows(rows);
    scheduleJournal();
    QString status = QFileInfo(m_folder).isDir() ? QStringLiteral("Строк в папке: %1").arg(contents.rows.size())
                                                 : QStringLiteral("Новая папка: она появится при первом сохранении");
    if (clearedLeftovers > 0)
        status += QStringLiteral("; удалено файлов прерванного сохранения: %1").arg(clearedLeftovers);
    setBusy(false, status);
    updateNameWarnings();
    focusFirstEmptyRow();
    emit folderLoaded();
}

void EntryWindow::offerJournal(EntryRows& rows, const EntryRows& folderRows)
{
    const EntryJournal::Contents journal = m_journal.read();
    if (!journal.problem.isEmpty()) {
        m_loadProblems << journal.problem;
        reportFailure(journal.problem);
    }
    const EntryRows offered = EntryJournal::StillUnsaved(journal.rows, folderRows);
    if (offered.isEmpty()) {
        m_journal.clear(); // everything in it is in the folder already
        return;
    }
    QStringList lines;
    for (const EntryRow& row : offered)
        lines << RowLine(row);
    if (offerJournalRows(lines)) {
        rows = EntryJournal::Merge(rows, offered);
        return;
    }
    // Declined rows are kept, out of the way, never deleted.
    const QString aside = m_journal.setAside();
    m_loadProblems << (aside.isEmpty() ? QStringLiteral("Строки прошлого раза не возвращены; они остались в журнале «%1».")
                                             .arg(m_journal.path())
                                       : QStringLiteral("Строки прошлого раза (%1) не возвращены и отложены в «%2».")
                                             .arg(offered.size())
                                             .arg(aside));
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
    if (!m_lock)
        return; // the journal is another program's
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
    if (!m_lock)
        return;
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
    return m_loadProblems + m_rosterProblems + m_nameWarnings + m_saveProblems;
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
    settleClearedRows();
    setBusy(true, QStringLiteral("Сохранение…"));
    const EntryRows rows = m_model->rows();
    RunInBackground(
        this, m_work, [saver = m_saver, rows] { return saver.plan(rows); },
        [this, rows](const std::vector<RowSaveOutcome>& plan) { onPlanned(rows, plan); });
}

void EntryWindow::settleClearedRows()
{
    // A row cleared after it came from a file is no save: its file goes only when the user says
    // so, else the row comes back from the file. Either way it does not stay unsaved.
    EntryRows rows = m_model->rows();
    std::vector<int> cleared;
    QStringList lines;
    for (int i = 0; i < rows.size(); ++i) {
        if (IsEmptyRow(rows[i]) && !rows[i].filePath.isEmpty() && rows[i].dirty) {
            cleared.push_back(i);
            lines << QStringLiteral("Строка %1: файл «%2»").arg(i + 1).arg(QFileInfo(rows[i].filePath).fileName());
        }
    }
    if (cleared.empty())
        return;
    const bool remove =
        dialogs.askAboutRows({QStringLiteral("Строки очищены, а их файлы остались в папке (строк: %1). Удалить эти "
                                             "файлы или вернуть строки из файлов?")
                                  .arg(cleared.size()),
                              lines,
                              {QStringLiteral("Вернуть строки"), QStringLiteral("Удалить файлы")},
                              0,
                              0})
        == 1;
    QStringList failures;
    for (auto at = cleared.rbegin(); at != cleared.rend(); ++at) {
        const QString path = rows[*at].filePath;
        if (remove && !QFile::remove(path) && QFileInfo::exists(path)) {
            failures << QStringLiteral("Не удалось удалить «%1».").arg(path);
            continue;
        }
        if (const std::optional<EntryRow> restored = remove ? std::nullopt : ReadStageFile(path, Separators::current()))
            rows[*at] = *restored;
        else if (!QFileInfo::exists(path))
            rows.removeAt(*at); // nothing left to keep it for
        else
            failures << QStringLiteral("Файл «%1» не прочитан; строка осталась пустой.").arg(path);
    }
    const QModelIndex current = ui.tableView->currentIndex();
    m_model->setRows(rows);
    ui.tableView->setCurrentIndex(m_model->index(std::min(current.row(), m_model->rowCount() - 1), current.column()));
    if (!failures.isEmpty())
        reportFailure(failures.join(u'\n'));
}

void EntryWindow::saveToFolder(const QString& folder)
{
    if (m_busy)
        return;
    ui.tableView->commitOpenEditor();
    if (const StageFolderProblem problem = CheckStageFolder(folder); problem.kind != StageFolderProblem::None) {
        reportFailure(QStringLiteral("Сохранить нельзя: %1.").arg(problem.message));
        return;
    }
    if (StageFolderKey(folder) != m_folderKey) {
        if (BringForward(folder) != nullptr) {
            reportFailure(QStringLiteral("Папка «%1» уже открыта в другом окне ввода.").arg(QDir::toNativeSeparators(folder)));
            return;
        }
        const EntryJournal journal = m_journalFolder.isEmpty() ? EntryJournal(folder) : EntryJournal(folder, m_journalFolder);
        QString refusal;
        std::unique_ptr<QLockFile> lock = journal.lock(refusal);
        if (!lock) {
            reportFailure(refusal);
            return;
        }
        finishJournal();
        // The unsaved rows become new rows of the other folder; the saved ones stay in their files.
        EntryRows moved;
        for (EntryRow row : m_model->rows()) {
            if (!IsUnsaved(row) || IsEmptyRow(row))
                continue;
            row.filePath.clear();
            moved.append(row);
        }
        const EntryJournal left = std::exchange(m_journal, journal);
        m_lock = std::move(lock);
        OpenWindows().remove(m_folderKey);
        serveFolder(folder);
        OpenWindows().insert(m_folderKey, this);
        m_loadProblems.clear();
        m_model->setRows(moved);
        // The rows are in the new journal before the old one goes.
        if (const QString failure = m_journal.write(m_model->rows()); failure.isEmpty())
            left.clear();
        else
            ui.statusbar->showMessage(failure);
    }
    save();
}

void EntryWindow::onPlanned(const EntryRows& rows, const std::vector<RowSaveOutcome>& plan)
{
    QStringList clashes;
    for (const RowSaveOutcome& outcome : plan) {
        if (outcome.kind == RowSaveOutcome::NameClash || outcome.kind == RowSaveOutcome::OtherPersonFile
            || outcome.kind == RowSaveOutcome::SamePersonFile)
            clashes << QStringLiteral("%1: %2").arg(RowName(rows[outcome.row], outcome.row), outcome.message);
    }
    const std::map<int, QString> confirmed =
        clashes.isEmpty() ? std::map<int, QString>() : ConfirmedPaths(plan, askClashes(clashes));
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
    const bool accepted = confirmRoster(roster);
    if (accepted || roster.rows.isEmpty()) {
        // The lines not taken stay in view, to be mended in the file and imported again.
        m_rosterProblems.clear();
        for (const QString& problem : roster.problems)
            m_rosterProblems << QStringLiteral("Список: %1").arg(problem);
        showProblems();
    }
    if (accepted) {
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
    if (!m_lock) {
        event->accept(); // a refused window holds nothing
        return;
    }
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
        // Not saved into the folder, yet not lost: the rows are set aside with the journals.
        finishJournal();
        m_journal.setAside();
        event->accept();
        return;
    case UnsavedAnswer::Cancel:
        event->ignore();
        return;
    }
}
