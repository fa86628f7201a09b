#pragma once

#include <functional>

#include <csignal>
#include <sys/resource.h>
#include <sys/wait.h>
#include <unistd.h>

namespace brivanto::testing {

// Runs `action` in a child process and returns its exit code (99 when it did not exit, 98 when
// it threw). With
// `unprivileged` the child drops root's privileges first: the CI runs as root, and root writes
// into read-only files and folders (the folders concerned must be mode 0777). A `fileSizeLimit`
// above 0 makes the disk "fill up" at that size: the first write past it is cut short and the
// next one fails.
inline int runInChild(const std::function<int()>& action, bool unprivileged, long fileSizeLimit = 0)
{
    const pid_t child = ::fork();
    if (child == 0) {
        if (unprivileged && ::geteuid() == 0 && (::setgid(65534) != 0 || ::setuid(65534) != 0))
            ::_exit(90);
        if (fileSizeLimit > 0) {
            std::signal(SIGXFSZ, SIG_IGN);
            const rlimit fileSize{rlim_t(fileSizeLimit), rlim_t(fileSizeLimit)};
            if (::setrlimit(RLIMIT_FSIZE, &fileSize) != 0)
                ::_exit(91);
        }
        // An exception must not unwind into the test framework's copy in the child, whose crash
        // handler would then wait for ever.
        int code = 98;
        try {
            code = action();
        } catch (...) {
        }
        ::_exit(code);
    }
    int status = 0;
    ::waitpid(child, &status, 0);
    return WIFEXITED(status) ? WEXITSTATUS(status) : 99;
}

} // namespace brivanto::testing
