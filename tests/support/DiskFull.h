#pragma once

// Limits the size of files this process may write, as a full disk would.
// SIGXFSZ is ignored, as the program ignores it, so a write fails instead.

#include <csignal>
#include <sys/resource.h>

namespace morvela::test {

struct DiskFull {
    explicit DiskFull(rlim_t bytes)
    {
        std::signal(SIGXFSZ, SIG_IGN);
        getrlimit(RLIMIT_FSIZE, &saved);
        rlimit small = saved;
        small.rlim_cur = bytes;
        setrlimit(RLIMIT_FSIZE, &small);
    }
    ~DiskFull() { setrlimit(RLIMIT_FSIZE, &saved); }
    DiskFull(const DiskFull&) = delete;
    DiskFull& operator=(const DiskFull&) = delete;
    rlimit saved{};
};

} // namespace morvela::test
