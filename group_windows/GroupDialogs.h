#pragma once

#include <QString>
#include <QStringList>

#include <functional>

class QPrinter;
class QWidget;

// The questions a group window asks the user, each replaceable by tests: a folder or files to
// read (empty: cancelled), where to save an export, the print dialog, and how a failure is told.
struct GroupDialogs
{
    std::function<QString()> chooseFolder;
    std::function<QStringList()> chooseFiles;
    std::function<QString(const QString& caption, const QString& filter)> chooseSavePath;
    std::function<void(const QString& message)> reportFailure;
    // The print dialog on a printer set up with the report's defaults; false: cancelled.
    std::function<bool(QPrinter& printer)> choosePrinter;

    // The standard dialogs, owned by `window`, with the captions of its folder and files choices.
    void useStandardDialogs(QWidget* window, const QString& folderCaption, const QString& filesCaption);
};
