"""Plays a user against the real program: starts it on the current X display,
moves the mouse, clicks and types with xdotool, follows the trace it prints on
standard output and reads pixels off the screen.

Coordinates given to the driver are the window's own, origin at the top left,
as xdotool and GLUT count them.
"""
import os
import queue
import re
import shutil
import subprocess
import sys
import tempfile
import threading
import time

DEFAULT_TIMEOUT = 20.0


class Failure(Exception):
    pass


class Editor:
    def __init__(self, binary, close_helper, workdir=None):
        self.binary = binary
        self.close_helper = close_helper
        self.workdir = workdir or tempfile.mkdtemp(prefix="vantorel-e2e-")
        self.lines = []
        self._new = queue.Queue()
        self.proc = subprocess.Popen([binary], cwd=self.workdir, stdout=subprocess.PIPE,
                                     stderr=subprocess.PIPE, text=True, bufsize=1)
        threading.Thread(target=self._read, daemon=True).start()
        self.window = self._find_window()
        self._cursor = 0

    def _read(self):
        for line in self.proc.stdout:
            line = line.rstrip("\n")
            self.lines.append(line)
            self._new.put(line)
        self._new.put(None)

    def _find_window(self):
        deadline = time.time() + DEFAULT_TIMEOUT
        while time.time() < deadline:
            out = subprocess.run(["xdotool", "search", "--onlyvisible", "--name", "^Vantorel$"],
                                 capture_output=True, text=True)
            ids = out.stdout.split()
            if ids:
                wid = ids[0]
                # The first mapping may precede the first frame: wait for the
                # window to report its size.
                time.sleep(0.3)
                return wid
            if self.proc.poll() is not None:
                raise Failure("program exited early: " + self.proc.stderr.read())
            time.sleep(0.1)
        raise Failure("window did not appear")

    # --- input -------------------------------------------------------------
    def move(self, x, y):
        subprocess.run(["xdotool", "mousemove", "--window", self.window, str(x), str(y)],
                       check=True)
        time.sleep(0.05)

    def press(self, button=1):
        subprocess.run(["xdotool", "mousedown", str(button)], check=True)
        time.sleep(0.05)

    def release(self, button=1):
        subprocess.run(["xdotool", "mouseup", str(button)], check=True)
        time.sleep(0.05)

    def click(self, x, y, button=1, modifiers=()):
        self.move(x, y)
        for m in modifiers:
            subprocess.run(["xdotool", "keydown", m], check=True)
        self.press(button)
        self.release(button)
        for m in reversed(modifiers):
            subprocess.run(["xdotool", "keyup", m], check=True)

    def drag(self, start, end, button=1, modifiers=(), steps=5):
        self.move(*start)
        for m in modifiers:
            subprocess.run(["xdotool", "keydown", m], check=True)
        self.press(button)
        for i in range(1, steps + 1):
            x = start[0] + (end[0] - start[0]) * i // steps
            y = start[1] + (end[1] - start[1]) * i // steps
            self.move(x, y)
        self.release(button)
        for m in reversed(modifiers):
            subprocess.run(["xdotool", "keyup", m], check=True)

    def key(self, *names):
        """Keys by X keysym name, e.g. "Home", "F8", "ctrl+s", "z"."""
        for name in names:
            subprocess.run(["xdotool", "key", "--delay", "30", name], check=True)
        time.sleep(0.05)

    def type(self, text):
        subprocess.run(["xdotool", "type", "--delay", "30", text], check=True)
        time.sleep(0.05)

    # --- trace ---------------------------------------------------------------
    def wait_for(self, pattern, timeout=DEFAULT_TIMEOUT):
        """Waits for a trace line matching the regular expression, after the
        lines already consumed; returns the match."""
        regex = re.compile(pattern)
        deadline = time.time() + timeout
        while True:
            while self._cursor < len(self.lines):
                line = self.lines[self._cursor]
                self._cursor += 1
                m = regex.search(line)
                if m:
                    return m
            remaining = deadline - time.time()
            if remaining <= 0:
                raise Failure("no line matching %r; trace tail:\n%s" %
                              (pattern, "\n".join(self.lines[-20:])))
            try:
                if self._new.get(timeout=min(remaining, 0.2)) is None and \
                        self._cursor >= len(self.lines):
                    raise Failure("program ended before %r" % pattern)
            except queue.Empty:
                pass

    def sync(self):
        """Waits until everything sent so far has been handled: a click on a
        spot that prints nothing would not do, so F-keys are not used; we use
        a motion and a short settle."""
        time.sleep(0.3)

    # --- screen --------------------------------------------------------------
    def screenshot(self):
        """The window as a list of rows of (r, g, b), top row first."""
        path = os.path.join(self.workdir, "shot.ppm")
        subprocess.run(["import", "-window", self.window, "-depth", "8", "ppm:" + path],
                       check=True, capture_output=True)
        return read_ppm(path)

    # --- end -----------------------------------------------------------------
    def close(self, timeout=10):
        subprocess.run([self.close_helper, self.window], check=True)
        return self.proc.wait(timeout=timeout)

    def kill(self):
        if self.proc.poll() is None:
            self.proc.kill()
            self.proc.wait()


def read_ppm(path):
    with open(path, "rb") as f:
        data = f.read()
    parts = []
    pos = 0
    while len(parts) < 4:
        while data[pos:pos + 1].isspace():
            pos += 1
        if data[pos:pos + 1] == b"#":
            pos = data.index(b"\n", pos)
            continue
        end = pos
        while not data[end:end + 1].isspace():
            end += 1
        parts.append(data[pos:end])
        pos = end
    pos += 1
    width, height = int(parts[1]), int(parts[2])
    pixels = data[pos:]
    rows = []
    for y in range(height):
        row = []
        for x in range(width):
            i = (y * width + x) * 3
            row.append(tuple(pixels[i:i + 3]))
        rows.append(row)
    return rows


def run(test):
    """Runs test(editor) against a fresh program; exits non-zero on failure."""
    binary, close_helper = os.path.abspath(sys.argv[1]), os.path.abspath(sys.argv[2])
    editor = Editor(binary, close_helper)
    try:
        test(editor)
    except Exception:
        print("trace:\n" + "\n".join(editor.lines[-40:]), file=sys.stderr)
        raise
    finally:
        editor.kill()
        shutil.rmtree(editor.workdir, ignore_errors=True)
    print("1 passed, 0 failed")
