// The record file dialogs, answered by the test as the examiner would answer them.
#include "app/FileChooser.h"

#include "tests/app/RowName.h"
#include "tests/support/ModalWatch.h"

#include <QAbstractButton>
#include <QApplication>
#include <QFile>
#include <QFileDialog>
#include <QMessageBox>
#include <QTemporaryDir>
#include <QTimer>
#include <gtest/gtest.h>

namespace {

const QString kOtherSubject = QStringLiteral("Волкова Ксения.vnl");

struct SaveCase
{
    const char* name;
    QString typed;                         // what the examiner types into the dialog
    QMessageBox::StandardButton answer;    // to the question; NoButton: no question expected
    bool chosen;                           // whether the dialog hands back a name
    QString chosenName;
};

const SaveCase saveCases[] = {
    {"NewNameIsNotQuestioned", QStringLiteral("Сидоров Петр.vnl"), QMessageBox::NoButton, true,
     QStringLiteral("Сидоров Петр.vnl")},
    {"RegressionExistingFileReplacedUnasked", kOtherSubject, QMessageBox::No, false, QString()},
    {"ExistingFileTypedWithoutExtensionIsQuestioned", QStringLiteral("Волкова Ксения"), QMessageBox::No, false, QString()},
    {"ExistingFileReplacedWhenConfirmed", kOtherSubject, QMessageBox::Yes, true, kOtherSubject},
};

class SaveDialog : public ::testing::TestWithParam<SaveCase>
{
protected:
    void SetUp() override
    {
        ASSERT_TRUE(folder.isValid());
        QFile existing(folder.filePath(kOtherSubject));
        ASSERT_TRUE(existing.open(QIODevice::WriteOnly));
        existing.write("Vornale 5\r\n");
    }

    QTemporaryDir folder;
};

TEST_P(SaveDialog, AsksBeforeReplacingAnExistingFile)
{
    const SaveCase& row = GetParam();
    bool asked = false;
    QString question;
    bool backInTheDialog = false;

    // The question is a modal window of its own, opened while the dialog accepts.
    QTimer answering;
    answering.setInterval(5);
    QObject::connect(&answering, &QTimer::timeout, [&] {
        auto* box = qobject_cast<QMessageBox*>(QApplication::activeModalWidget());
        if (box == nullptr)
            return;
        answering.stop();
        asked = true;
        question = box->text();
        if (QAbstractButton* button = box->button(row.answer == QMessageBox::NoButton ? QMessageBox::No : row.answer))
            button->click();
    });

    RecordFileDialogs dialogs;
    testsupport::onNextModal([&](QWidget* modal) {
        auto* dialog = qobject_cast<QFileDialog*>(modal);
        ASSERT_NE(dialog, nullptr);
        dialog->setDirectory(folder.path());
        dialog->selectFile(row.typed);
        answering.start();
        // As the dialog's own Save button does.
        QMetaObject::invokeMethod(dialog, "accept", Qt::DirectConnection);
        answering.stop();
        backInTheDialog = dialog->isVisible();
        if (backInTheDialog)
            dialog->reject();
    });
    const QString chosen = dialogs.chooseFileToSave(nullptr);

    EXPECT_EQ(asked, row.answer != QMessageBox::NoButton);
    if (asked) {
        EXPECT_TRUE(question.contains(kOtherSubject)) << question.toStdString();
    }
    EXPECT_EQ(backInTheDialog, row.answer == QMessageBox::No);
    EXPECT_EQ(chosen, row.chosen ? folder.filePath(row.chosenName) : QString());
    QFile existing(folder.filePath(kOtherSubject));
    ASSERT_TRUE(existing.open(QIODevice::ReadOnly));
    EXPECT_EQ(existing.readAll(), "Vornale 5\r\n");

    // The next save starts with the name chosen last, or as before when nothing was chosen.
    QString offered;
    testsupport::onNextModal([&](QWidget* modal) {
        auto* dialog = qobject_cast<QFileDialog*>(modal);
        ASSERT_NE(dialog, nullptr);
        offered = dialog->selectedFiles().value(0);
        dialog->reject();
    });
    dialogs.chooseFileToSave(nullptr);
    if (row.chosen) {
        EXPECT_EQ(offered, chosen);
    }
}

INSTANTIATE_TEST_SUITE_P(Names, SaveDialog, ::testing::ValuesIn(saveCases), RowName());

} // namespace
