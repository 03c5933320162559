"""Plays a user's journey against the real program on the X display, window coordinates (y down),
X buttons and key names. Steps: ("file", name, text); ("run", args, status, out start, err) with
no display; ("start", arg, ...); ("click", x, y[, button]); ("drag", x0, y0, x1, y1[, button[,
modifier]]); ("key", name, ...); ("type", text); ("line", text) adds Return; ("trace", line);
("saved", name, text); ("picture", check) until check(pixels) holds for the window's 800 x 600
RGB bytes, rows from the top; ("check", function) calls function(folder of the journey); ("close",
status) as a window manager would, or ("ends", status) by itself, after which "start" starts the
program again; "{dir}" in a
trace line stands for the folder of the journey. Steps wait for lines
and files, never for a fixed time."""
import ctypes, os, shutil, subprocess, sys, tempfile, threading, time

sys.path.append(os.path.join(os.path.dirname(os.path.abspath(__file__)), "..", "support"))
from tied_children import dying_with_me  # noqa: E402


def xdotool(*args):
    return subprocess.run(["xdotool"] + [str(a) for a in args], check=True, capture_output=True,
                          text=True, timeout=20).stdout


def wait_until(done, failure, timeout=20.0):
    deadline = time.time() + timeout
    while not done():
        if time.time() > deadline:
            raise AssertionError(failure())
        time.sleep(0.02)


def close(window):
    """Sends WM_DELETE_WINDOW, an XClientMessageEvent laid out in longs."""
    x = ctypes.CDLL("libX11.so.6")
    x.XOpenDisplay.restype = x.XInternAtom.restype = ctypes.c_void_p
    x.XInternAtom.argtypes = [ctypes.c_void_p, ctypes.c_char_p, ctypes.c_int]
    x.XSendEvent.argtypes = [ctypes.c_void_p, ctypes.c_ulong, ctypes.c_int, ctypes.c_long, ctypes.c_void_p]
    x.XCloseDisplay.argtypes = [ctypes.c_void_p]
    display = x.XOpenDisplay(None)
    event = (ctypes.c_long * 24)(33, 0, 0, 0, int(window), x.XInternAtom(display, b"WM_PROTOCOLS", 0),
                                 32, x.XInternAtom(display, b"WM_DELETE_WINDOW", 0))
    x.XSendEvent(display, int(window), 0, 0, event)
    x.XCloseDisplay(display)


def pixels(window):
    return subprocess.run(["import", "-window", str(window), "-depth", "8", "rgb:-"], check=True,
                          capture_output=True, timeout=20).stdout


class Program:
    def __init__(self, binary, workdir, args):
        self.lines, self.cursor = [], 0
        self.proc = subprocess.Popen([binary, *args], cwd=workdir, stdout=subprocess.PIPE, text=True,
                                     preexec_fn=dying_with_me())
        threading.Thread(target=lambda: [self.lines.append(l.rstrip("\n")) for l in self.proc.stdout],
                         daemon=True).start()
        self.window = xdotool("search", "--sync", "--onlyvisible", "--name", "^Vantorel$").split()[0]
        xdotool("windowfocus", "--sync", self.window)
        # Input reaches the program once a click in the Full view is traced.
        for _ in range(20):
            xdotool("mousemove", "--window", self.window, 600, 150, "click", 1)
            if self.trace("Rotating on 3.", 1.0):
                return
        raise AssertionError("the program takes no input")

    def trace(self, wanted, timeout=20.0):
        """Waits for the exact line among those not yet passed; False if it never comes."""
        try:
            wait_until(lambda: wanted in self.lines[self.cursor:], lambda: "", timeout)
        except AssertionError:
            return False
        self.cursor = self.lines.index(wanted, self.cursor) + 1
        return True


def open_in_console(name):
    """Steps that start the program bare, show the panels and open `name` at the console prompt
    (a model on the command line would be fitted in the views, which the journeys' clicks assume
    are as at start-up)."""
    return [("start",), ("key", "Home"), ("click", 450, 483), ("line", "/open " + name),
            ("trace", "Reading model from file: " + name)]


def play(steps):
    binary = os.path.abspath(sys.argv[1])
    workdir = tempfile.mkdtemp(prefix="vantorel-e2e-")
    program = None
    text_of = lambda name: open(os.path.join(workdir, name)).read() if os.path.exists(os.path.join(workdir, name)) else None
    try:
        for kind, *args in steps:
            if kind == "file":  # text or bytes, its folders made
                os.makedirs(os.path.dirname(os.path.join(workdir, args[0])), exist_ok=True)
                with open(os.path.join(workdir, args[0]), "wb" if isinstance(args[1], bytes) else "w") as f:
                    f.write(args[1])
            elif kind == "run":
                env = {k: v for k, v in os.environ.items() if k != "DISPLAY"}
                done = subprocess.run([binary, *args[0]], cwd=workdir, env=env, capture_output=True, text=True)
                ok = (done.returncode, done.stderr) == (args[1], args[3]) and done.stdout.startswith(args[2])
                assert ok, done
            elif kind == "check":
                args[0](workdir)
                continue
            elif kind == "saved":  # written under another name, then renamed
                wait_until(lambda: text_of(args[0]) == args[1], lambda: "%s holds:\n%s" % (args[0], text_of(args[0])))
            elif program is None or (kind == "start" and program.proc.poll() is not None):
                program = Program(binary, workdir, args if kind == "start" else [])
            window = program.window if program else None
            if kind == "click":
                xdotool("mousemove", "--window", window, args[0], args[1], "click", (args + [1])[2])
            elif kind == "drag":
                x0, y0, x1, y1, button, modifier = (args + [1, None])[:6]
                path = [a for i in range(1, 6) for a in ("mousemove", "--window", window,
                                                        x0 + (x1 - x0) * i // 5, y0 + (y1 - y0) * i // 5)]
                xdotool("mousemove", "--window", window, x0, y0, *(["keydown", modifier] if modifier else []),
                        "mousedown", button, *path, "mouseup", button, *(["keyup", modifier] if modifier else []))
            elif kind == "key":
                xdotool("key", "--delay", 30, *args)
            elif kind in ("type", "line"):
                xdotool("type", "--delay", 30, args[0])
                if kind == "line":
                    xdotool("key", "Return")
            elif kind == "picture":
                wait_until(lambda: args[0](pixels(window)), lambda: "the window never shows %s" % args[0].__doc__)
            elif kind == "trace":
                line = args[0].replace("{dir}", workdir)
                assert program.trace(line), "no line %r" % line
            elif kind in ("close", "ends"):
                if kind == "close":
                    close(window)
                status = program.proc.wait(timeout=20)
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
