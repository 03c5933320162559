#!/usr/bin/env python3
"""Runs a command on a private Xvfb server of its own (no window manager).

Usage: with_xvfb.py COMMAND [ARGS...]
The server gets a free display number, a 1024x768x24 screen and no key
auto-repeat worth speaking of; it is stopped when the command ends.
"""
import os
import subprocess
import sys
import time


def main():
    if len(sys.argv) < 2:
        print(__doc__, file=sys.stderr)
        return 2
    read_fd, write_fd = os.pipe()
    server = subprocess.Popen(
        ["Xvfb", "-displayfd", str(write_fd), "-screen", "0", "1024x768x24",
         "-nolisten", "tcp", "-ardelay", "10000", "-arinterval", "1000"],
        pass_fds=(write_fd,), stdout=subprocess.DEVNULL, stderr=subprocess.DEVNULL)
    os.close(write_fd)
    number = b""
    while not number.endswith(b"\n"):
        chunk = os.read(read_fd, 16)
        if not chunk:
            break
        number += chunk
    os.close(read_fd)
    if not number.strip():
        print("with_xvfb: Xvfb did not start", file=sys.stderr)
        server.kill()
        return 1
    env = dict(os.environ, DISPLAY=":" + number.decode().strip())
    # The server announces its number as it starts listening; make sure a
    # client gets through before handing it over.
    for _ in range(50):
        probe = subprocess.run(["xdotool", "getdisplaygeometry"], env=env,
                               stdout=subprocess.DEVNULL, stderr=subprocess.DEVNULL)
        if probe.returncode == 0:
            break
        time.sleep(0.1)
    try:
        return subprocess.call(sys.argv[1:], env=env)
    finally:
        server.terminate()
        try:
            server.wait(timeout=10)
        except subprocess.TimeoutExpired:
            server.kill()


if __name__ == "__main__":
    sys.exit(main())
