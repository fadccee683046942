#include "app/FileChooser.h"

#include <QFileDialog>

namespace {

QString askForRecordFile(QWidget* parent, QFileDialog::AcceptMode mode, QString& lastName)
{
    QFileDialog dialog(parent);
    dialog.setAcceptMode(mode);
    // The open dialog accepts a name that does not exist; the command then does nothing.
    dialog.setFileMode(QFileDialog::AnyFile);
    dialog.setNameFilter(QStringLiteral("Vornale files (*.vnl)"));
    dialog.setDefaultSuffix(QStringLiteral("vnl"));
    // The save dialog asks with the toolkit's own question before a chosen file is replaced;
    // "No" returns to the dialog.
    if (!lastName.isEmpty())
        dialog.selectFile(lastName);
    if (dialog.exec() != QDialog::Accepted)
        return {};
    const QStringList chosen = dialog.selectedFiles();
    if (chosen.isEmpty())
        return {};
    lastName = chosen.first();
    return lastName;
}

} // namespace

QString RecordFileDialogs::chooseFileToOpen(QWidget* parent)
{
    return askForRecordFile(parent, QFileDialog::AcceptOpen, m_lastOpened);
}

QString RecordFileDialogs::chooseFileToSave(QWidget* parent)
{
    return askForRecordFile(parent, QFileDialog::AcceptSave, m_lastSaved);
}
