// Children forked by a test die with it: a test killed for its time leaves no editor behind.

#include <gtest/gtest.h>

#include "support/child_process.h"

TEST(ChildProcessTest, ChildrenDieWithTheTestThatStartedThem) {
  // Played in a child that adopts orphans: a stand-in for the test binary starts a child that
  // would wait for a minute, and is killed once that child runs, as CTest kills a test past its
  // time. The orphan comes to the adopter, which must see it killed at once.
  const ChildResult adopter = runInChild(
      [] {
        int ready[2];
        if (prctl(PR_SET_CHILD_SUBREAPER, 1) != 0 || pipe(ready) != 0) return 1;
        const pid_t test = fork();
        if (test == 0) {
          runInChild([&] { return write(ready[1], "!", 1) == 1 ? pause() : 1; }, 60);
          _exit(0);
        }
        char byte;
        if (read(ready[0], &byte, 1) != 1) return 2;
        int status = 0;
        if (kill(test, SIGKILL) != 0 || waitpid(test, &status, 0) != test) return 3;
        return wait(&status) > 0 && WIFSIGNALED(status) && WTERMSIG(status) == SIGKILL ? 0 : 4;
      },
      10);
  EXPECT_EQ(adopter.code, 0);
}
