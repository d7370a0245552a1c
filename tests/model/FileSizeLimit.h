#pragma once

#include <csignal>
#include <sys/resource.h>

// Runs `f` with every write past `bytes` failing, as on a full disk (even for root, whom
// directory permissions do not stop); the limit and the signal it raises are put back after.
template <class F> auto WithFileSizeLimit(rlim_t bytes, F f) {
    rlimit saved{};
    getrlimit(RLIMIT_FSIZE, &saved);
    auto oldHandler = std::signal(SIGXFSZ, SIG_IGN);
    rlimit limit = saved;
    limit.rlim_cur = bytes;
    setrlimit(RLIMIT_FSIZE, &limit);
    const auto result = f();
    setrlimit(RLIMIT_FSIZE, &saved);
    std::signal(SIGXFSZ, oldHandler);
    return result;
}
