#pragma once
// Runs a piece of a test in a forked child, for faults that must not reach the
// test process: memory caps, SIGKILL and operations that might never return.
// The child ends with _exit, so nothing runs twice.

#include <signal.h>
#include <sys/resource.h>
#include <sys/wait.h>
#include <unistd.h>

#include <cstdio>
#include <functional>

struct ChildResult {
  int code = -1;      // the exit code, or -1 when a signal ended it
  long maxRssKb = 0;  // its peak resident memory
};

// `body` returns the child's exit code; a child still running after `seconds`
// is ended by SIGALRM. With `killAfterMicros`, the parent sends SIGKILL that
// long after the fork. With `memoryCap`, the child's address space is capped,
// so that a runaway allocation fails at once instead of taking the machine's
// memory (not under AddressSanitizer, which reserves terabytes up front).
inline ChildResult runInChild(const std::function<int()>& body, unsigned seconds = 30,
                              useconds_t killAfterMicros = 0, rlim_t memoryCap = 0) {
  std::fflush(nullptr);  // nothing buffered is written twice
  const pid_t pid = fork();
  if (pid == 0) {
    alarm(seconds);
#if !defined(__SANITIZE_ADDRESS__)
    const struct rlimit limit = {memoryCap, memoryCap};
    if (memoryCap) setrlimit(RLIMIT_AS, &limit);
#endif
    _exit(body());
  }
  if (pid > 0 && killAfterMicros > 0) usleep(killAfterMicros), kill(pid, SIGKILL);
  int status = 0;
  struct rusage usage {};
  if (pid < 0 || wait4(pid, &status, 0, &usage) != pid) return {};
  return {WIFEXITED(status) ? WEXITSTATUS(status) : -1, usage.ru_maxrss};
}
