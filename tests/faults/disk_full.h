#pragma once
// Regular files of this process may not grow past zero bytes while a DiskFull
// lives: what a full disk looks like to a writer (the kernel refuses the
// write), without filling a real disk. Works for root too.

#include <csignal>
#include <sys/resource.h>

class DiskFull {
  public:
    DiskFull() {
        getrlimit(RLIMIT_FSIZE, &saved);
        previous = std::signal(SIGXFSZ, SIG_IGN);
        rlimit full = saved;
        full.rlim_cur = 0;
        setrlimit(RLIMIT_FSIZE, &full);
    }
    ~DiskFull() {
        setrlimit(RLIMIT_FSIZE, &saved);
        std::signal(SIGXFSZ, previous);
    }

  private:
    rlimit saved{};
    void (*previous)(int) = nullptr;
};
