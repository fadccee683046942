#include "summary_app/SignalCancellation.h"

#include "tests/core/RowName.h"

#include <gtest/gtest.h>

#include <csignal>
#include <sys/wait.h>
#include <unistd.h>

#include <vector>

namespace {

struct SignalRow
{
    std::string name;
    bool ignoredAtStart; // as a shell starts a background job: SIGINT ignored
    std::vector<int> signals;
    int killedBy; // 0: the export lives on
    bool cancelled;
};

class ExportSignals : public ::testing::TestWithParam<SignalRow>
{
};

// Each row runs in a child process, which a signal may end.
TEST_P(ExportSignals, CancelOnceEndOnTheSecondAndRespectAnIgnoredInterrupt)
{
    const pid_t child = ::fork();
    if (child == 0) {
        if (GetParam().ignoredAtStart)
            std::signal(SIGINT, SIG_IGN);
        {
            const SignalCancellation cancelling;
            for (const int signal : GetParam().signals)
                std::raise(signal);
            if (cancelling.flag()->load())
                ::_exit(10);
        }
        struct sigaction after {};
        ::sigaction(SIGINT, nullptr, &after);
        ::_exit(GetParam().ignoredAtStart && after.sa_handler != SIG_IGN ? 12 : 11);
    }
    int status = 0;
    ASSERT_EQ(::waitpid(child, &status, 0), child);
    if (GetParam().killedBy != 0) {
        ASSERT_TRUE(WIFSIGNALED(status)) << status;
        EXPECT_EQ(WTERMSIG(status), GetParam().killedBy);
        return;
    }
    ASSERT_TRUE(WIFEXITED(status)) << status;
    EXPECT_EQ(WEXITSTATUS(status), GetParam().cancelled ? 10 : 11);
}

INSTANTIATE_TEST_SUITE_P(
    Rows, ExportSignals,
    ::testing::Values(SignalRow{"interrupt_cancels", false, {SIGINT}, 0, true},
                      SignalRow{"terminate_cancels", false, {SIGTERM}, 0, true},
                      SignalRow{"second_interrupt_ends_at_once", false, {SIGINT, SIGINT}, SIGINT, false},
                      SignalRow{"terminate_after_interrupt_ends_at_once", false, {SIGINT, SIGTERM}, SIGTERM, false},
                      SignalRow{"ignored_interrupt_stays_ignored", true, {SIGINT, SIGINT}, 0, false},
                      SignalRow{"terminate_still_cancels_a_background_job", true, {SIGTERM}, 0, true}),
    RowName());

} // namespace
