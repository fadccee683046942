#pragma once

#include <exception>
#include <functional>

// The one place where a failure that no command handles is reported (the program shows it in
// a message box). Components that run from the event loop, such as the sound device's
// notification handling, hand their exceptions here instead of letting them unwind Qt.
using ApplicationExceptionReporter = std::function<void(const std::exception&)>;

// Installs the reporter; returns the previous one. An empty reporter restores the default,
// which writes the message to standard error.
ApplicationExceptionReporter SetApplicationExceptionReporter(ApplicationExceptionReporter reporter);

void ReportApplicationException(const std::exception& failure);
