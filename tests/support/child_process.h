#pragma once
// Runs part of a test in a forked child (ended by _exit): memory caps, SIGKILL, hangs.

#include <signal.h>
#include <sys/prctl.h>
#include <sys/resource.h>
#include <sys/wait.h>
#include <unistd.h>

#include <chrono>
#include <cstdio>
#include <functional>

struct ChildResult {
  int code = -1;                                   // the exit code, or -1 when a signal ended it
  long maxRssKb = 0;                               // its peak resident memory
  std::chrono::steady_clock::time_point killedAt;  // when SIGKILL was sent
};

// `body` returns the exit code; SIGALRM ends it after `seconds`; SIGKILL after `killAfterMicros`;
// `memoryCap` caps its address space (not under AddressSanitizer, which reserves terabytes).
// The child dies with the thread that started it, so a test killed for its time (or its binary's
// crash) leaves no editor behind.
inline ChildResult runInChild(const std::function<int()>& body, unsigned seconds = 30,
                              useconds_t killAfterMicros = 0, rlim_t memoryCap = 0) {
  std::fflush(nullptr);
  const pid_t parent = getpid();
  const pid_t pid = fork();
  if (pid == 0) {
    // A parent that died before the signal was asked for has left us already.
    if (prctl(PR_SET_PDEATHSIG, SIGKILL) != 0 || getppid() != parent) _exit(126);
    alarm(seconds);
#if defined(__SANITIZE_ADDRESS__) || defined(__SANITIZE_THREAD__)
    static_cast<void>(memoryCap);
#else
    const struct rlimit limit = {memoryCap, memoryCap};
    if (memoryCap) setrlimit(RLIMIT_AS, &limit);
#endif
    _exit(body());
  }
  std::chrono::steady_clock::time_point killedAt;
  if (pid > 0 && killAfterMicros > 0) {
    usleep(killAfterMicros);
    killedAt = std::chrono::steady_clock::now();
    kill(pid, SIGKILL);
  }
  int status = 0;
  struct rusage usage {};
  if (pid < 0 || wait4(pid, &status, 0, &usage) != pid) return {};
  return {WIFEXITED(status) ? WEXITSTATUS(status) : -1, usage.ru_maxrss, killedAt};
}
