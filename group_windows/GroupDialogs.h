#pragma once

#include <QString>
#include <QStringList>

#include <functional>

class QPrinter;
class QWidget;

// A question about many rows at once: the rows are listed in a box that scrolls, so the question
// and its buttons fit the screen however many rows there are.
struct RowsQuestion
{
    QString text;
    QStringList rows;
    QStringList buttons;   // left to right
    int defaultButton = 0; // Enter; never one that writes a second file for a person
    int escapeButton = 0;  // Escape or closing the window
};

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
    // The index of the button chosen.
    std::function<int(const RowsQuestion& question)> askAboutRows;

    // The standard dialogs, owned by `window`, with the captions of its folder and files choices.
    void useStandardDialogs(QWidget* window, const QString& folderCaption, const QString& filesCaption);
};

// Shows the question as a modal dialog over `window` and returns the button chosen.
int AskAboutRows(QWidget* window, const RowsQuestion& question);
