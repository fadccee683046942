#include "app/FailureReport.h"

#include "app/ApplicationTitle.h"
#include "core/ApplicationErrors.h"

#include <QApplication>
#include <QMessageBox>
#include <stdexcept>

QString FailureMessageText(const QString& message)
{
    if (message.isEmpty() || message.back().unicode() <= u'.')
        return message;
    return message + QLatin1Char('.');
}

void ShowFailureMessageBox(const std::exception& failure)
{
    QMessageBox box(QMessageBox::Critical, ApplicationTitle(),
                    FailureMessageText(QString::fromUtf8(failure.what())), QMessageBox::Ok,
                    QApplication::activeWindow());
    box.exec();
}

void RunReportingFailures(const std::function<void()>& command)
{
    try {
        command();
    } catch (const std::exception& failure) {
        ReportApplicationException(failure);
    } catch (...) {
        ReportApplicationException(std::runtime_error("Unknown failure"));
    }
}
