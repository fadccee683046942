#pragma once

#include <QString>
#include <exception>
#include <functional>

class QWidget;

// The text the failure message box shows for a failure's message: "." is appended unless the
// message is empty or already ends in a character whose code is at most that of ".".
QString FailureMessageText(const QString& message);

// Shows a failure the way the program reports every failure no command handles: a message box
// with the application title as caption, a stop icon and one OK button. Returns when it closes.
void ShowFailureMessageBox(const std::exception& failure);

// Runs a command and hands any failure that leaves it to ReportApplicationException, so that
// no exception unwinds through the toolkit's signal delivery.
void RunReportingFailures(const std::function<void()>& command);
