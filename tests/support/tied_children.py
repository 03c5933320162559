"""Children that die with the process that started them. CTest ends a test past its time by killing
the one process it started; whatever that process started goes with it."""
import ctypes
import os
import signal

PR_SET_PDEATHSIG = 1


def dying_with_me(sig=signal.SIGKILL):
    """A preexec_fn for subprocess: the child gets `sig` when the thread that starts it ends, and
    ends at once if the starter is already gone."""
    parent = os.getpid()
    prctl = ctypes.CDLL(None, use_errno=True).prctl

    def tie():
        if prctl(PR_SET_PDEATHSIG, int(sig), 0, 0, 0) != 0 or os.getppid() != parent:
            os._exit(126)
    return tie
