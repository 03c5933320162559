#pragma once
// Runs a piece of a test in a forked child, for faults that must not reach
// the test process itself: dropped privileges, resource limits, signals and
// operations that might never return. The child ends with _exit, so nothing
// of the test framework runs twice.

#include <signal.h>
#include <sys/resource.h>
#include <sys/wait.h>
#include <unistd.h>

#include <cstdio>
#include <functional>

struct ChildResult {
  bool exited = false;  // ended by _exit, with `code`
  int code = -1;
  int signal = 0;     // the signal that ended it otherwise
  long maxRssKb = 0;  // its peak resident memory
};

// `body` returns the child's exit code; a child still running after
// `seconds` is ended by SIGALRM.
inline ChildResult runInChild(const std::function<int()>& body, unsigned seconds = 30) {
  std::fflush(nullptr);  // nothing buffered is written twice
  const pid_t pid = fork();
  if (pid == 0) {
    alarm(seconds);
    _exit(body());
  }
  ChildResult result;
  int status = 0;
  struct rusage usage {};
  if (pid < 0 || wait4(pid, &status, 0, &usage) != pid) return result;
  result.exited = WIFEXITED(status);
  result.code = result.exited ? WEXITSTATUS(status) : -1;
  result.signal = WIFSIGNALED(status) ? WTERMSIG(status) : 0;
  result.maxRssKb = usage.ru_maxrss;
  return result;
}

// Caps the child's address space, so that a runaway allocation fails at once
// instead of taking the machine's memory. AddressSanitizer reserves terabytes
// of address space up front, so under it the cap is left off.
inline void limitChildMemory(rlim_t bytes) {
#if !defined(__SANITIZE_ADDRESS__)
  struct rlimit limit = {bytes, bytes};
  setrlimit(RLIMIT_AS, &limit);
#else
  (void)bytes;
#endif
}
