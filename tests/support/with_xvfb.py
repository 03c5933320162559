#!/usr/bin/env python3
"""Runs a command on a private Xvfb server: with_xvfb.py COMMAND [ARGS...]

Two things once made clients fail to open the display:
- an X server resets when its last client (the probe below) leaves and refuses
  connections meanwhile: `-noreset`;
- `Xvfb -displayfd` reuses numbers parallel runs are just giving up: each run
  takes a random number no X server holds and keeps a file lock on it until
  its own server has exited.
"""
import fcntl
import os
import random
import signal
import subprocess
import sys
import time

from tied_children import dying_with_me

FIRST, LAST = 120, 919


def in_use(number):
    if os.path.exists(f"/tmp/.X{number}-lock") or os.path.exists(f"/tmp/.X11-unix/X{number}"):
        return True
    try:
        with open("/proc/net/unix") as table:
            return f"@/tmp/.X11-unix/X{number}\n" in table.read()
    except OSError:
        return False


def claim():
    """An open, locked file for a display number no one else uses, and the number."""
    numbers = list(range(FIRST, LAST + 1))
    random.SystemRandom().shuffle(numbers)
    for number in numbers:
        handle = open(f"/tmp/.vantorel-xvfb-{number}.lock", "a")
        try:
            fcntl.flock(handle, fcntl.LOCK_EX | fcntl.LOCK_NB)
        except OSError:
            handle.close()
            continue
        if not in_use(number):
            return handle, number
        handle.close()
    raise RuntimeError("no free X display number")


def start(number):
    """The running server on `number`, or None when it did not come up."""
    read_fd, write_fd = os.pipe()
    server = subprocess.Popen(
        ["Xvfb", f":{number}", "-displayfd", str(write_fd), "-screen", "0", "1024x768x24",
         "-nolisten", "tcp", "-noreset", "-ardelay", "10000", "-arinterval", "1000"],
        pass_fds=(write_fd,), stdout=subprocess.DEVNULL, stderr=subprocess.DEVNULL,
        preexec_fn=dying_with_me(signal.SIGTERM))  # which it ends tidily, lock file and all
    os.close(write_fd)
    announced = b""
    while not announced.endswith(b"\n"):
        chunk = os.read(read_fd, 16)  # empty once the server has closed the pipe or died
        if not chunk:
            break
        announced += chunk
    os.close(read_fd)
    if announced.strip() == str(number).encode():
        return server
    stop(server)
    return None


def stop(server):
    server.terminate()
    try:
        server.wait(timeout=10)
    except subprocess.TimeoutExpired:
        server.kill()
        server.wait()


def main():
    if len(sys.argv) < 2:
        print(__doc__, file=sys.stderr)
        return 2
    for _ in range(20):
        lock, number = claim()
        server = start(number)
        if server:
            break
        lock.close()
    else:
        print("with_xvfb: Xvfb did not start", file=sys.stderr)
        return 1
    env = dict(os.environ, DISPLAY=f":{number}")
    try:
        # The server announces its number as it starts listening; make sure a
        # client gets through before handing it over.
        for _ in range(50):
            probe = subprocess.run(["xdotool", "getdisplaygeometry"], env=env,
                                   stdout=subprocess.DEVNULL, stderr=subprocess.DEVNULL)
            if probe.returncode == 0:
                break
            time.sleep(0.1)
        return subprocess.call(sys.argv[1:], env=env, preexec_fn=dying_with_me())
    finally:
        stop(server)
        lock.close()  # only now may another run take this number


if __name__ == "__main__":
    sys.exit(main())
