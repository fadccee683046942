#pragma once

#include <functional>
#include <sys/wait.h>
#include <unistd.h>

namespace testsupport {

// Root passes every permission check, so a test of one runs `body` in a child process that has
// become nobody (in the process itself when the tests already run unprivileged). Returns the
// body's result, which must fit an exit status (0..255), or -1 when the child failed otherwise.
inline int ResultAsUnprivileged(const std::function<int()>& body)
{
    if (::geteuid() != 0)
        return body();
    const pid_t child = ::fork();
    if (child == 0) {
        if (::setgid(65534) != 0 || ::setuid(65534) != 0)
            ::_exit(255);
        ::_exit(body() & 0xFF);
    }
    int status = 0;
    if (child < 0 || ::waitpid(child, &status, 0) != child || !WIFEXITED(status))
        return -1;
    return WEXITSTATUS(status);
}

} // namespace testsupport
