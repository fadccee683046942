#pragma once

#include <atomic>

// For its lifetime the first SIGINT or SIGTERM only sets a cancel flag, so a command-line export
// can stop cleanly: earlier outputs kept, no temporary file left. A second one ends the process at
// once. A signal the process was started ignoring stays ignored. One at a time.
class SignalCancellation
{
public:
    SignalCancellation();
    ~SignalCancellation();
    SignalCancellation(const SignalCancellation&) = delete;
    SignalCancellation& operator=(const SignalCancellation&) = delete;

    const std::atomic<bool>* flag() const;
    // 128 + the signal for a run the signal cancelled (as the shell reports a killed command);
    // `code` otherwise.
    int exitCode(int code, int cancelledCode) const;
};
