#!/usr/bin/env python3
"""Runs the benchmark suite and prints one table.

Usage: run_bench.py [--build DIR] [--sizes 10000,100000,1000000]
                    [--frame-sizes 10000,100000] [--runs 5]

bench_model measures the model cases at each size (triangles); bench_frames
draws frames on a private Xvfb server at each frame size (vertices). The
table shows the median of each row at every size, the growth from one size
to the next (about 10 for a linear cost, 100 for a quadratic one), and is
also written to DIR/bench.csv (the raw rows to DIR/bench-raw.csv).
"""
import argparse
import csv
import io
import math
import os
import platform
import subprocess
import sys

HERE = os.path.dirname(os.path.abspath(__file__))
WITH_XVFB = os.path.join(HERE, "..", "tests", "support", "with_xvfb.py")


def run_rows(command):
    print("running:", " ".join(command), file=sys.stderr, flush=True)
    done = subprocess.run(command, stdout=subprocess.PIPE, text=True, check=True)
    return list(csv.reader(io.StringIO(done.stdout)))


def machine():
    model = "unknown CPU"
    with open("/proc/cpuinfo") as info:
        for line in info:
            if line.startswith("model name"):
                model = line.split(":", 1)[1].strip()
                break
    with open("/proc/meminfo") as info:
        memory = int(info.readline().split()[1]) / 1024 / 1024
    return "%s, %d cores, %.0f GB, %s" % (model, os.cpu_count(), memory, platform.platform())


def load():
    return "%.2f %.2f %.2f" % os.getloadavg()


def short(size):
    return "%dM" % (size // 1000000) if size >= 1000000 else "%dk" % (size // 1000)


def number(value):
    if value is None:
        return "-"
    return "%.1f" % value if value >= 10 else "%.2f" % value if value >= 1 else "%.3f" % value


def main():
    parser = argparse.ArgumentParser()
    parser.add_argument("--build", default="build-bench")
    parser.add_argument("--sizes", default="10000,100000,1000000")
    parser.add_argument("--frame-sizes", default="10000,100000")
    parser.add_argument("--runs", default="5")
    parser.add_argument("--filter", default="")
    args = parser.parse_args()

    programs = os.path.join(args.build, "bench")
    started = load()
    raw = []
    model = [os.path.join(programs, "bench_model"), "--sizes", args.sizes, "--runs", args.runs]
    frames = [sys.executable, WITH_XVFB, os.path.join(programs, "bench_frames"),
              "--sizes", args.frame_sizes, "--runs", args.runs]
    for command in (model, frames):
        if args.filter:
            command += ["--filter", args.filter]
        raw += run_rows(command)
    ended = load()

    # (section, name) -> unit, {size: value}, {size: note}, in order of appearance.
    rows = {}
    for section, name, unit, size, value, note in raw:
        key = (int(section), name)
        entry = rows.setdefault(key, {"unit": unit, "values": {}, "notes": {}})
        entry["values"][int(size)] = float(value)
        if note:
            entry["notes"][int(size)] = note
    sizes = sorted({s for entry in rows.values() for s in entry["values"]})

    header = ["row", "unit"] + [short(s) for s in sizes]
    steps = list(zip(sizes, sizes[1:]))
    header += ["x %s/%s" % (short(b), short(a)) for a, b in steps] + ["growth", "note"]
    table = []
    for (section, name), entry in sorted(rows.items(), key=lambda item: item[0][0]):
        values = entry["values"]
        cells = [name, entry["unit"]] + [number(values.get(s)) for s in sizes]
        ratios = []
        for a, b in steps:
            ratio = values[b] / values[a] if a in values and b in values and values[a] > 0 else None
            ratios.append((a, b, ratio))
            cells.append("-" if ratio is None else "%.1f" % ratio)
        # The exponent k of time ~ size^k over the last step measured.
        known = [(a, b, r) for a, b, r in ratios if r]
        if known:
            a, b, r = known[-1]
            cells.append("n^%.2f" % (math.log(r) / math.log(b / a)))
        else:
            cells.append("-")
        notes = entry["notes"]
        cells.append(notes[max(notes)] if notes else "")
        table.append(cells)

    widths = [max(len(row[i]) for row in [header] + table) for i in range(len(header) - 1)]
    lines = ["machine: " + machine(),
             "load average (1, 5, 15 min): %s at start, %s at end" % (started, ended),
             "sizes: triangles for the model rows, vertices for the frame rows; "
             "medians of %s runs (3 at 1M)" % args.runs, ""]
    for row in [header] + table:
        cells = [row[0].ljust(widths[0]), row[1].ljust(widths[1])]
        cells += [c.rjust(w) for c, w in zip(row[2:-1], widths[2:])]
        lines.append("  ".join(cells) + "  " + row[-1])
    print("\n".join(lines))

    with open(os.path.join(args.build, "bench.csv"), "w", newline="") as out:
        writer = csv.writer(out)
        writer.writerow(header)
        writer.writerows(table)
    with open(os.path.join(args.build, "bench-raw.csv"), "w", newline="") as out:
        writer = csv.writer(out)
        writer.writerow(["section", "row", "unit", "size", "value", "note"])
        writer.writerows(raw)
    with open(os.path.join(args.build, "bench.txt"), "w") as out:
        out.write("\n".join(lines) + "\n")
    return 0


if __name__ == "__main__":
    sys.exit(main())
