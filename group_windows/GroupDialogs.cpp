#include "group_windows/GroupDialogs.h"

#include "ui_RowsQuestionDialog.h"

#include <QFileDialog>
#include <QMessageBox>
#include <QPrintDialog>
#include <QPrinter>
#include <QPushButton>
#include <QScreen>

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
    askAboutRows = [window](const RowsQuestion& question) { return AskAboutRows(window, question); };
}

int AskAboutRows(QWidget* window, const RowsQuestion& question)
{
    QDialog dialog(window);
    Ui::RowsQuestionDialog ui;
    ui.setupUi(&dialog);
    dialog.setWindowTitle(window != nullptr ? window->windowTitle() : QString());
    ui.textLabel->setText(question.text);
    ui.rowsList->addItems(question.rows);
    int chosen = question.escapeButton;
    QPushButton* defaultButton = nullptr;
    for (qsizetype i = 0; i < question.buttons.size(); ++i) {
        QPushButton* button = ui.buttonBox->addButton(question.buttons[i], QDialogButtonBox::ActionRole);
        // Only the default answers Enter, wherever the focus is.
        button->setAutoDefault(false);
        if (i == question.defaultButton)
            defaultButton = button;
        QObject::connect(button, &QPushButton::clicked, &dialog, [&dialog, &chosen, i] {
            chosen = int(i);
            dialog.accept();
        });
    }
    if (defaultButton != nullptr) {
        defaultButton->setDefault(true);
        defaultButton->setFocus();
    }
    // As tall as the rows need, never taller than the screen: the list scrolls instead.
    const QScreen* screen = window != nullptr ? window->screen() : QGuiApplication::primaryScreen();
    const QRect available = screen->availableGeometry();
    const int rowHeight = ui.rowsList->sizeHintForRow(0) > 0 ? ui.rowsList->sizeHintForRow(0) : dialog.fontMetrics().height();
    ui.rowsList->setMinimumHeight(rowHeight * int(std::min<qsizetype>(question.rows.size(), 4) + 1));
    const int listWidth = ui.rowsList->sizeHintForColumn(0) + 40;
    dialog.setMaximumSize(available.size() * 9 / 10);
    dialog.resize(std::clamp(listWidth, dialog.sizeHint().width(), available.width() * 9 / 10),
                  std::min(dialog.sizeHint().height() + rowHeight * int(question.rows.size()), available.height() * 9 / 10));
    dialog.exec();
    return chosen;
}
