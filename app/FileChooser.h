#pragma once

#include <QString>

class QWidget;

// Asks the examiner for the name of a record file. An empty name means the examiner cancelled.
// The main window's commands go through this, so tests can answer without a native dialog.
class FileChooser
{
public:
    virtual ~FileChooser() = default;
    virtual QString chooseFileToOpen(QWidget* parent) = 0;
    virtual QString chooseFileToSave(QWidget* parent) = 0;
};

// The program's open and save dialogs for record files: one "*.vnl" filter, "vnl" appended to a
// name typed without an extension, and a question before an existing file is replaced. Each
// dialog starts with the name last chosen in it; the two do not share it.
class RecordFileDialogs final : public FileChooser
{
public:
    QString chooseFileToOpen(QWidget* parent) override;
    QString chooseFileToSave(QWidget* parent) override;

private:
    QString m_lastOpened;
    QString m_lastSaved;
};
