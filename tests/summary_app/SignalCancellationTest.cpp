#include "summary_app/SignalCancellation.h"

#include "tests/core/RowName.h"

#include <csignal>
#include <sys/wait.h>
#include <unistd.h>

namespace {

struct SignalRow
{
    std::string name;
    bool interruptIgnored; // as a shell starts a script's background job
    std::vector<int> signals;
    int status; // the exit status (10 when cancelled, 11 when not), or minus the ending signal
};

using ExportSignals = ::testing::TestWithParam<SignalRow>;

TEST_P(ExportSignals, CancelOnceEndOnTheSecondAndLeaveAnIgnoredInterrupt)
{
    const pid_t child = ::fork();
    if (child == 0) {
        if (GetParam().interruptIgnored)
            std::signal(SIGINT, SIG_IGN);
        const SignalCancellation cancelling;
        for (const int signal : GetParam().signals)
            std::raise(signal);
        ::_exit(cancelling.flag()->load() ? 10 : 11);
    }
    int status = 0;
    ASSERT_EQ(::waitpid(child, &status, 0), child);
    EXPECT_EQ(WIFSIGNALED(status) ? -WTERMSIG(status) : WEXITSTATUS(status), GetParam().status);
}

INSTANTIATE_TEST_SUITE_P(Rows, ExportSignals,
                         ::testing::Values(SignalRow{"interrupt_cancels", false, {SIGINT}, 10},
                                           SignalRow{"second_interrupt_ends_at_once", false, {SIGINT, SIGINT}, -SIGINT},
                                           SignalRow{"then_terminate_ends_at_once", false, {SIGINT, SIGTERM}, -SIGTERM},
                                           SignalRow{"ignored_interrupt_stays_ignored", true, {SIGINT, SIGINT}, 11},
                                           SignalRow{"background_job_still_terminates", true, {SIGTERM}, 10}),
                         RowName());

} // namespace
