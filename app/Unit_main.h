#pragma once

#include "app/FileChooser.h"
#include "audio/WavePlayers.h"
#include "core/EntryFields.h"
#include "core/SubjectRecord.h"
#include "ui_Unit_main.h"

#include <QWidget>

#include <array>
#include <memory>

class QKeyEvent;
class StatusBarHints;
class TFrmAbout;
class TFrmError;
struct AssessmentResult;

// The main window: one subject's entry fields, the calculate command with its results, and the
// document commands (New, Open, Save, About) with the Modified flag that enables Save.
class TForm1 : public QWidget
{
    Q_OBJECT

public:
    explicit TForm1(QWidget* parent = nullptr);
    ~TForm1() override;

    // The auxiliary windows are created after the main window and handed over here.
    void setAuxiliaryWindows(TFrmError* frmError, TFrmAbout* frmAbout);
    // Replaces the file dialogs, e.g. by a test's own answers.
    void setFileChooser(std::unique_ptr<FileChooser> chooser);

    bool isModified() const { return Modified; }

    // The seven entry fields, in the order of EntryField (the tab order).
    std::array<TAdvEdit*, kEntryFieldCount> entryFields() const;
    TAdvEdit* entryField(EntryField field) const;

    // Opens a record file as the Open command does once the examiner has chosen `path`. Returns
    // false, having done nothing, when no file of that name exists. I/O failures are thrown.
    bool openRecordFile(const QString& path);
    // Opens the file named on the command line: what Open would do with it, its failures going
    // to the application's reporter. A name that does not exist is named in the status bar and
    // false returned.
    bool openFileFromCommandLine(const QString& path);

    // Handlers, named after the control or action and the event.
    void BtnCalcClick();
    bool RadioButtonKeyPress(const QKeyEvent& key);
    bool BtnCalcKeyPress(const QKeyEvent& key);
    void AcNewExecute();
    void FormCreate();
    void SomeModified();
    void CheckSexChange();
    void AcSaveUpdate();
    void AcOpenExecute();
    void AcSaveExecute();
    void AcAboutExecute();

protected:
    bool eventFilter(QObject* watched, QEvent* event) override;
    void showEvent(QShowEvent* event) override;

private:
    void bindCommand(QAction* action, void (TForm1::*execute)());
    void arrangeToolBar();
    Sex sexChoice() const;
    void setSexChoice(Sex sex);
    void keepCheckedSexTheTabStop();
    void showResults(const AssessmentResult& result);
    void nameLevelBar();
    void showInputError();
    void putSlotIntoField(int slot, const QString& text);
    void setBalanceText(const QString& text);
    void fitLabelsToText();

    Ui::TForm1 ui;
    TAudioPlayer AudioPlayer1;
    StatusBarHints* m_hints;
    std::unique_ptr<FileChooser> m_fileChooser;
    TFrmError* m_frmError = nullptr;
    TFrmAbout* m_frmAbout = nullptr;
    bool Modified = false;
    bool LastSexFemale = false;
    bool m_placed = false;
    QMetaObject::Connection m_focusWatch;
};
