"""A test killed for its time leaves nothing behind: with_xvfb.py killed as CTest kills a test takes
its X server and its command with it."""
import os, signal, subprocess, sys, time

SUPPORT = os.path.join(os.path.dirname(os.path.abspath(__file__)), "..", "support")
COMMAND = "print('running', flush=True); import time; time.sleep(300)"


def alive(pid):
    try:
        with open("/proc/%d/stat" % pid) as stat:
            return stat.read().rsplit(")", 1)[1].split()[0] != "Z"
    except FileNotFoundError:
        return False


test = subprocess.Popen([sys.executable, os.path.join(SUPPORT, "with_xvfb.py"),
                         sys.executable, "-c", COMMAND], stdout=subprocess.PIPE, text=True)
assert test.stdout.readline() == "running\n"
with open("/proc/%d/task/%d/children" % (test.pid, test.pid)) as children:
    started = [int(pid) for pid in children.read().split()]  # the X server and the command
test.kill()
test.wait()
deadline = time.time() + 20
while any(map(alive, started)) and time.time() < deadline:
    time.sleep(0.05)
left = [pid for pid in started if alive(pid)]
for pid in left:
    os.kill(pid, signal.SIGKILL)
assert len(started) == 2 and not left, "left running: %s of %s" % (left, started)
print("nothing left behind")
