#include "summary_app/SignalCancellation.h"

#include <csignal>

namespace {

std::atomic<bool> g_cancelled{false};
std::atomic<int> g_signal{0};
struct sigaction g_previousInterrupt {};
struct sigaction g_previousTerminate {};

extern "C" void OnCancelSignal(int signal)
{
    if (!g_cancelled.exchange(true)) {
        g_signal.store(signal);
        return;
    }
    // Asked again: the run ends at once, as if nothing had caught the signal. It is blocked
    // until this handler returns, and then its default action ends the process.
    struct sigaction byDefault {};
    byDefault.sa_handler = SIG_DFL;
    sigemptyset(&byDefault.sa_mask);
    ::sigaction(signal, &byDefault, nullptr);
    ::raise(signal);
}

// A signal the shell told us to ignore (SIGINT for a background job) stays ignored.
void Install(int signal, const struct sigaction& action, struct sigaction& previous)
{
    ::sigaction(signal, nullptr, &previous);
    if (previous.sa_handler != SIG_IGN)
        ::sigaction(signal, &action, nullptr);
}

} // namespace

SignalCancellation::SignalCancellation()
{
    g_cancelled.store(false);
    g_signal.store(0);
    struct sigaction action {};
    action.sa_handler = OnCancelSignal;
    action.sa_flags = SA_RESTART;
    sigemptyset(&action.sa_mask);
    Install(SIGINT, action, g_previousInterrupt);
    Install(SIGTERM, action, g_previousTerminate);
}

SignalCancellation::~SignalCancellation()
{
    ::sigaction(SIGINT, &g_previousInterrupt, nullptr);
    ::sigaction(SIGTERM, &g_previousTerminate, nullptr);
}

const std::atomic<bool>* SignalCancellation::flag() const
{
    return &g_cancelled;
}

int SignalCancellation::exitCode(int code, int cancelledCode) const
{
    return code == cancelledCode && g_signal.load() != 0 ? 128 + g_signal.load() : code;
}
