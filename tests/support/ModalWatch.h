#pragma once

#include <QWidget>
#include <functional>

// Helpers for tests that open modal windows: nothing may be left hanging.
namespace testsupport {

// When the next modal window appears, hands it to `inspect` and then closes it.
// Fails the running test if no modal window appears within `timeoutMs`.
void onNextModal(std::function<void(QWidget*)> inspect, int timeoutMs = 5000);

// Closes a modal window the way its own OK/Close would.
void closeModal(QWidget* modal);

// Started by the test main: a modal window that nobody expected is closed after a grace
// period and recorded as a test failure, so a test fails instead of hanging.
void startUnexpectedModalWatchdog(int graceMs = 3000);

} // namespace testsupport
