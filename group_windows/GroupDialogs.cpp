#include "group_windows/GroupDialogs.h"

#include <QFileDialog>
#include <QMessageBox>
#include <QPrintDialog>
#include <QPrinter>

void GroupDialogs::useStandardDialogs(QWidget* window, const QString& folderCaption, const QString& filesCaption)
{
    chooseFolder = [window, folderCaption] { return QFileDialog::getExistingDirectory(window, folderCaption); };
    chooseFiles = [window, filesCaption] {
        return QFileDialog::getOpenFileNames(window, filesCaption, QString(),
                                             QStringLiteral("Файлы Vornale (*.vnl);;Все файлы (*)"));
    };
    chooseSavePath = [window](const QString& caption, const QString& filter) {
        return QFileDialog::getSaveFileName(window, caption, QString(), filter);
    };
    reportFailure = [window](const QString& message) { QMessageBox::critical(window, window->windowTitle(), message); };
    choosePrinter = [window](QPrinter& printer) {
        QPrintDialog dialog(&printer, window);
        return dialog.exec() == QDialog::Accepted;
    };
}
