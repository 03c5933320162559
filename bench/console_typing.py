#!/usr/bin/env python3
"""Times typing a console line into the real program at 100k triangles.

Usage: tests/support/with_xvfb.py python3 bench/console_typing.py BUILD/vantorel [--runs 5]
                                  [--side 225] [--delay 30]

Writes a model of a grid of triangles (225 x 225 vertices: 100,352 triangles) that fills the
default views, starts the program with it on the X display, shows the panels, clicks the console
prompt, then types the 20-character line "/setbb -2 2 -2 2 0 1" and Return with xdotool, 30 ms
between keys as the end-to-end tests type (--delay 0: as fast as xdotool sends them). Prints the time from the first key to the command's trace line
("/setbb /setbb -2 3"), each run and the median, and the machine's load average. A benchmark,
not a test: nothing here passes or fails.
"""
import argparse
import os
import shutil
import statistics
import sys
import tempfile
import time

HERE = os.path.dirname(os.path.abspath(__file__))
sys.path.insert(0, os.path.join(HERE, "..", "tests", "e2e"))
import driver  # noqa: E402

LINE = "/setbb -2 2 -2 2 0 1"
TRACE = "/setbb /setbb -2 3"


def grid_model(side):
    """One white group of 2 (side - 1)^2 triangles over x -3..3, y -2..2, z a gentle wave."""
    out = [str(side * side)]
    for j in range(side):
        for i in range(side):
            x, y = -3 + 6 * i / (side - 1), -2 + 4 * j / (side - 1)
            out.append("%.6f %.6f %.6f" % (x, y, 0.1 * ((i * 7 + j * 3) % 11) / 11))
    triangles = []
    zeros = " ".join(["0.000000"] * 6 + ["0.000000 0.000000 1.000000"] * 4)
    for j in range(side - 1):
        for i in range(side - 1):
            a, b, c, d = j * side + i, j * side + i + 1, (j + 1) * side + i, (j + 1) * side + i + 1
            triangles.append("%d %d %d %s " % (a, b, d, zeros))
            triangles.append("%d %d %d %s " % (a, d, c, zeros))
    out += ["1", str(len(triangles))] + triangles
    out += ["0", "1.000000 1.000000 1.000000 1.000000", "0", ""]
    return "\n".join(out), len(triangles)


def wait_for(program, wanted, since):
    """The perf_counter time the wanted line is seen among lines from index `since`."""
    deadline = time.perf_counter() + 120
    while time.perf_counter() < deadline:
        if wanted in program.lines[since:]:
            return time.perf_counter()
        time.sleep(0.001)
    raise AssertionError("no line %r" % wanted)


def main():
    parser = argparse.ArgumentParser()
    parser.add_argument("binary")
    parser.add_argument("--runs", type=int, default=5)
    parser.add_argument("--side", type=int, default=225)
    parser.add_argument("--delay", type=int, default=30, help="ms between keys (30 as in the e2e tests)")
    args = parser.parse_args()
    workdir = tempfile.mkdtemp(prefix="vantorel-typing-")
    text, triangles = grid_model(args.side)
    with open(os.path.join(workdir, "grid.txt"), "w") as f:
        f.write(text)
    load_before = "%.2f %.2f %.2f" % os.getloadavg()
    program = driver.Program(os.path.abspath(args.binary), workdir, ["grid.txt"])
    times = []
    try:
        window = program.window
        driver.xdotool("mousemove", "--window", window, 600, 150)
        driver.xdotool("key", "Home")
        driver.xdotool("mousemove", "--window", window, 450, 483, "click", 1)
        assert program.trace("Clicked in Console"), "the console was not clicked"
        assert any(line.startswith("Reading model from file") for line in program.lines), \
            "the model was not read"
        for _ in range(args.runs):
            since = len(program.lines)
            start = time.perf_counter()
            driver.xdotool("type", "--delay", args.delay, LINE)
            driver.xdotool("key", "Return")
            seen = wait_for(program, TRACE, since)
            times.append((seen - start) * 1000)
            time.sleep(0.5)
    finally:
        driver.close(program.window)
        try:
            program.proc.wait(timeout=20)
        except Exception:
            program.proc.kill()
        shutil.rmtree(workdir, ignore_errors=True)
    print("console line of %d characters typed at %d triangles, %d ms between keys, first key "
          "to trace:" % (len(LINE), triangles, args.delay))
    print("  runs: " + ", ".join("%.0f ms" % t for t in times))
    print("  median: %.0f ms" % statistics.median(times))
    print("load average (1, 5, 15 min): %s at start, %.2f %.2f %.2f at end" %
          ((load_before,) + os.getloadavg()))
    return 0


if __name__ == "__main__":
    sys.exit(main())
