#pragma once

#include "entry/EntryJournal.h"
#include "entry/Roster.h"
#include "entry/StageSaver.h"
#include "group_windows/GroupDialogs.h"
#include "ui_EntryWindow.h"

#include <QFutureWatcher>
#include <QIdentityProxyModel>
#include <QMainWindow>

#include <functional>
#include <memory>

class EntryCellDelegate;
class QLockFile;

// The entry table's column captions for its header, the long ones on two lines, so the result
// columns take no more width than their numbers need.
class TwoLineHeaderModel : public QIdentityProxyModel
{
    Q_OBJECT

public:
    using QIdentityProxyModel::QIdentityProxyModel;
    QVariant headerData(int section, Qt::Orientation orientation, int role = Qt::DisplayRole) const override;
};
class EntryTableModel;
struct StageFolderContents;

// A screening day's table for one stage folder: the group typed row by row, each row's results
// beside it, saved as one record file a row. The rows not yet saved are kept in a journal, so a
// crash loses nothing, and are offered again at the next start. Reading and saving the folder run
// on a worker thread; the table waits meanwhile. One window a stage folder: the journal is locked
// while the window is open, so another program cannot open the folder for entry too.
class EntryWindow : public QMainWindow
{
    Q_OBJECT

public:
    // `journalFolder` only for tests: where the journal lives instead of the application's data.
    // When another program has the folder open the window is refused: see refusal().
    explicit EntryWindow(const QString& folder, QWidget* parent = nullptr, const QString& journalFolder = {});
    ~EntryWindow() override;

    // The window this program has open for `folder`, brought forward; null when there is none.
    static EntryWindow* BringForward(const QString& folder);
    // Why the folder could not be opened for entry (another program has it); empty when open.
    QString refusal() const { return m_refusal; }

    EntryTableModel* model() const { return m_model.get(); }
    EntryTableView* view() const { return ui.tableView; }
    QString folder() const { return m_folder; }
    bool isBusy() const { return m_busy; }
    // True while a change is not yet in the journal.
    bool journalPending() const { return m_journalDirty || m_journalWork != nullptr; }
    // The lines of the problem list under the table.
    QStringList problems() const;

    // Saves every complete unsaved row; reported by saveFinished.
    void save();
    // Saves the unsaved rows into `folder` instead, which the window then serves.
    void saveToFolder(const QString& folder);
    void startRosterFromFolder(const QString& folder);
    void startRosterFromCsv(const QString& path);

    enum class UnsavedAnswer { Save, Discard, Cancel };
    // For rows whose file is taken: replace the file, save beside it, or leave them.
    using ClashAnswer = ::ClashAnswer;
    // Dialogs, replaceable by tests.
    std::function<UnsavedAnswer()> askUnsaved;
    // True: put the journal's rows (one line each) back; false: set them aside.
    std::function<bool(const QStringList& rows)> offerJournalRows;
    std::function<ClashAnswer(const QStringList& clashes)> askClashes;
    std::function<bool(const Roster& roster)> confirmRoster;
    std::function<QString()> chooseRosterFolder;
    std::function<QString()> chooseRosterCsv;
    std::function<void(const QString& message)> reportFailure;
    // The question about many rows (cleared rows of files) and the folder to save elsewhere.
    GroupDialogs dialogs;

signals:
    void folderLoaded();
    // True when nothing unsaved is left.
    void saveFinished(bool allSaved);
    void rosterOffered();

protected:
    void closeEvent(QCloseEvent* event) override;

private:
    void setBusy(bool busy, const QString& message = {});
    void onFolderRead(const StageFolderContents& contents, int clearedLeftovers);
    void offerJournal(EntryRows& rows, const EntryRows& folderRows);
    void settleClearedRows();
    void serveFolder(const QString& folder);
    void onPlanned(const EntryRows& rows, const std::vector<RowSaveOutcome>& plan);
    void onSaved(const std::vector<RowSaveOutcome>& outcomes);
    void offerRoster(const Roster& roster);
    void scheduleJournal();
    void writeJournal();
    void finishJournal();
    void updateNameWarnings();
    void showProblems();
    void focusFirstEmptyRow();
    void setupDialogs();
    void sizeColumns();
    void spanProblem(int row);

    Ui::EntryWindow ui;
    QString m_folder;
    QString m_folderKey;
    QString m_journalFolder;
    EntryJournal m_journal;
    std::unique_ptr<QLockFile> m_lock;
    QString m_refusal;
    StageSaver m_saver;
    std::unique_ptr<EntryTableModel> m_model;
    std::unique_ptr<EntryCellDelegate> m_delegate;
    TwoLineHeaderModel m_headerModel;
    QStringList m_loadProblems;
    QStringList m_rosterProblems; // the last accepted roster's lines not taken
    QStringList m_saveProblems;
    QStringList m_nameWarnings;
    bool m_busy = false;
    bool m_closeAfterSave = false;
    std::unique_ptr<QObject> m_work; // the watcher of the running background step
    // The journal is written off the GUI thread, one write at a time, the latest rows each time.
    std::unique_ptr<QObject> m_journalWork;
    bool m_journalDirty = false;
    bool m_journalQueued = false;
};
