"""Plays a user's journey against the real program on the current X display.

A journey is a list of steps; coordinates are the window's own (origin top
left, y down), buttons X's (1 left, 2 middle, 3 right), keys X key names.
  ("file", name, text)                 writes a file where the program runs
  ("click", x, y[, button])            presses and releases a button there
  ("drag", x0, y0, x1, y1[, button[, modifier]])
  ("key", name, ...)                   e.g. "Home", "F5", "ctrl+s", "Delete"
  ("type", text) / ("line", text)      typed characters; a line ends with Return
  ("trace", line)                      waits for this exact line on standard output
  ("saved", name, text)                waits for the file to hold exactly this text
  ("close", status)                    closes the window as a window manager would
Steps are synchronised on trace lines and files, never on sleeps.
"""
import os
import queue
import shutil
import subprocess
import sys
import tempfile
import threading
import time

TIMEOUT = 20.0


def xdotool(*args):
    subprocess.run(["xdotool"] + [str(a) for a in args], check=True)


def text_of(path):
    return open(path).read() if os.path.exists(path) else None


class Program:
    def __init__(self, binary, workdir):
        self.lines, self.cursor, self.ended, self.new = [], 0, False, queue.Queue()
        self.proc = subprocess.Popen([binary], cwd=workdir, stdout=subprocess.PIPE, text=True,
                                     bufsize=1)
        threading.Thread(target=self._read, daemon=True).start()
        found = subprocess.run(["xdotool", "search", "--sync", "--onlyvisible", "--name",
                                "^Vantorel$"], capture_output=True, text=True, timeout=TIMEOUT)
        self.window = found.stdout.split()[0]
        xdotool("windowfocus", "--sync", self.window)
        # Input reaches the program once a click in the Full view is traced.
        for _ in range(int(TIMEOUT)):
            xdotool("mousemove", "--window", self.window, 600, 150, "click", 1)
            if self.trace("Rotating on 3.", 1.0):
                break
        else:
            raise AssertionError("the program takes no input")

    def _read(self):
        for line in self.proc.stdout:
            self.lines.append(line.rstrip("\n"))
            self.new.put(None)
        self.ended = True
        self.new.put(None)

    def trace(self, wanted, timeout=TIMEOUT):
        """Waits for the exact line among those not yet passed; False if it never comes."""
        deadline = time.time() + timeout
        while True:
            while self.cursor < len(self.lines):
                self.cursor += 1
                if self.lines[self.cursor - 1] == wanted:
                    return True
            if self.ended and self.cursor >= len(self.lines) or time.time() >= deadline:
                return False
            try:
                self.new.get(timeout=deadline - time.time())
            except (queue.Empty, ValueError):
                pass


def play(steps):
    binary, close_helper = (os.path.abspath(a) for a in sys.argv[1:3])
    workdir = tempfile.mkdtemp(prefix="vantorel-e2e-")
    program = None
    try:
        for step in steps:
            kind, args = step[0], step[1:]
            if kind == "file":
                with open(os.path.join(workdir, args[0]), "w") as f:
                    f.write(args[1])
            elif program is None:
                program = Program(binary, workdir)
            window = program.window if program else None
            if kind == "click":
                xdotool("mousemove", "--window", window, args[0], args[1], "click",
                        args[2] if len(args) > 2 else 1)
            elif kind == "drag":
                x0, y0, x1, y1, button, modifier = (args + (1, None))[:6]
                keys = ["keydown", modifier] if modifier else []
                path = [a for i in range(1, 6) for a in ("mousemove", "--window", window,
                                                        x0 + (x1 - x0) * i // 5,
                                                        y0 + (y1 - y0) * i // 5)]
                xdotool("mousemove", "--window", window, x0, y0, *keys, "mousedown", button,
                        *path, "mouseup", button, *(["keyup", modifier] if modifier else []))
            elif kind == "key":
                xdotool("key", "--delay", 30, *args)
            elif kind in ("type", "line"):
                xdotool("type", "--delay", 30, args[0])
                if kind == "line":
                    xdotool("key", "Return")
            elif kind == "trace":
                assert program.trace(args[0]), "no line %r" % args[0]
            elif kind == "saved":  # written under another name, then renamed
                path, deadline = os.path.join(workdir, args[0]), time.time() + TIMEOUT
                while text_of(path) != args[1]:
                    assert time.time() < deadline, "%s holds:\n%s" % (args[0], text_of(path))
                    time.sleep(0.05)
            elif kind == "close":
                subprocess.run([close_helper, window], check=True)
                status = program.proc.wait(timeout=TIMEOUT)
                assert status == args[0], "exit status %r" % status
    except BaseException:
        if program:
            print("trace:\n" + "\n".join(program.lines[-40:]), file=sys.stderr)
        raise
    finally:
        if program and program.proc.poll() is None:
            program.proc.kill()
            program.proc.wait()
        shutil.rmtree(workdir, ignore_errors=True)
    print("journey played: %d steps" % len(steps))
