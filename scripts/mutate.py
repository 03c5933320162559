#!/usr/bin/env python3
"""Mutation sample: how many single-line faults in src/ does the suite catch?

Finds every place in src/ where one token could be swapped for a plausible
wrong one (relational, arithmetic, logical and constant swaps), draws a sample
with a fixed seed, and for each mutant rebuilds and runs the whole suite
(CTest, stopping at the first failure). A mutant is killed when the build
succeeds and a test fails or times out; mutants that do not compile are not
counted.

The sample is stable across versions of the code: each site is ranked by a
hash of the seed, its file, the text of its line and the swap, and the
lowest-ranked sites are drawn, so a site whose line did not change is drawn
again under the same seed.

With --same-as LOG, the mutants are those an earlier run printed in LOG (the
same file and mutated line text, wherever the line moved), so that two
versions of the suite can be compared on exactly the same faults.

Usage: scripts/mutate.py [--seed S] [--count N] [--build DIR] [--paths P...] [--list]
                         [--same-as LOG]
"""
import argparse
import hashlib
import os
import re
import subprocess
import sys
import time

ROOT = os.path.dirname(os.path.dirname(os.path.abspath(__file__)))

# Binary operators are matched with the spaces clang-format puts around them,
# so that pointer declarators, references and template brackets are left alone.
SWAPS = [
    ("relational", r"(?<= )<(?= )", "<="),
    ("relational", r"(?<= )>(?= )", ">="),
    ("relational", r"(?<= )<=(?= )", "<"),
    ("relational", r"(?<= )>=(?= )", ">"),
    ("relational", r"(?<= )==(?= )", "!="),
    ("relational", r"(?<= )!=(?= )", "=="),
    ("arithmetic", r"(?<= )\+(?= )", "-"),
    ("arithmetic", r"(?<= )-(?= )", "+"),
    ("arithmetic", r"(?<= )\*(?= )", "/"),
    ("arithmetic", r"(?<= )/(?= )", "*"),
    ("arithmetic", r"(?<= )\+=(?= )", "-="),
    ("arithmetic", r"(?<= )-=(?= )", "+="),
    ("arithmetic", r"(?<![\w)\]])-(?=[\w.(])", ""),
    ("logical", r"(?<= )&&(?= )", "||"),
    ("logical", r"(?<= )\|\|(?= )", "&&"),
    ("logical", r"(?<![!=<>])!(?=[A-Za-z_(])", ""),
    ("constant", r"(?<![\w.])0(?![\w.])", "1"),
    ("constant", r"(?<![\w.])1(?![\w.])", "0"),
    ("constant", r"(?<![\w.])([2-9]|[1-9][0-9]+)(?![\w.])", "+1"),
    ("constant", r"(?<![\w.])[0-9]+\.[0-9]*(?![\w.])", "*2"),
]

SKIP_LINE = re.compile(r"^\s*(#|//|\*|/\*)|static_assert|template\s*<")


def blank_strings(line):
    """The line with string and character literals and trailing comments blanked."""
    out = re.sub(r'"(\\.|[^"\\])*"', lambda m: " " * len(m.group(0)), line)
    out = re.sub(r"'(\\.|[^'\\])*'", lambda m: " " * len(m.group(0)), out)
    cut = out.find("//")
    return out if cut < 0 else out[:cut] + " " * (len(out) - cut)


def sites(paths):
    files = subprocess.run(["git", "ls-files"] + paths, cwd=ROOT, capture_output=True, text=True,
                           check=True).stdout.split()
    for path in sorted(f for f in files if f.endswith((".cpp", ".h")) and not f.endswith("main.cpp")):
        with open(os.path.join(ROOT, path)) as f:
            lines = f.read().split("\n")
        for number, line in enumerate(lines):
            if SKIP_LINE.search(line):
                continue
            plain = blank_strings(line)
            for kind, pattern, repl in SWAPS:
                for occurrence, m in enumerate(re.finditer(pattern, plain)):
                    yield path, number, line, kind, m, repl, occurrence


def mutated(line, m, repl):
    text = m.group(0)
    if repl == "+1":
        new = str(int(text) + 1)
    elif repl == "*2":
        new = repr(float(text) * 2)
    else:
        new = repl
    return line[: m.start()] + new + line[m.end():]


def rank(seed, path, line, kind, pattern_text, occurrence):
    key = f"{seed}|{path}|{line.strip()}|{kind}|{pattern_text}|{occurrence}".encode()
    return hashlib.sha256(key).hexdigest()


def logged_mutants(log):
    """(path, mutated line text) of each mutant an earlier run printed, in order."""
    found = []
    for entry in open(log):
        m = re.match(r"\[\d+/\d+\] .*?s  (\S+):\d+  (.*)$", entry.rstrip("\n"))
        if m:
            found.append((m.group(1), m.group(2).strip()))
    return found


def draw(seed, count, paths, same_as=None):
    pool = []
    for path, number, line, kind, m, repl, occurrence in sites(paths):
        new = mutated(line, m, repl)
        if new == line:
            continue
        pool.append((rank(seed, path, line, kind, m.group(0) + "->" + repl, occurrence), path, number,
                     line, new, kind))
    pool.sort()
    if same_as:
        wanted = logged_mutants(same_as)[:count]
        by_text = {}
        for entry in pool:
            by_text.setdefault((entry[1], entry[4].strip()), entry)
        return [by_text[w] for w in wanted if w in by_text], len(pool)
    return pool[:count], len(pool)


def run(cmd, timeout):
    try:
        return subprocess.run(cmd, cwd=ROOT, stdout=subprocess.DEVNULL, stderr=subprocess.DEVNULL,
                              timeout=timeout).returncode
    except subprocess.TimeoutExpired:
        return -1


def main():
    parser = argparse.ArgumentParser()
    parser.add_argument("--seed", default="1")
    parser.add_argument("--count", type=int, default=80)
    parser.add_argument("--build", default="build-mut")
    parser.add_argument("--jobs", default=str(os.cpu_count() or 2))
    parser.add_argument("--list", action="store_true", help="print the sample and stop")
    parser.add_argument("--same-as", help="run the mutants an earlier run printed in this log")
    parser.add_argument("--paths", nargs="+", default=["src"],
                        help="files or folders to draw from (default: src)")
    args = parser.parse_args()
    sample, total = draw(args.seed, args.count, args.paths, args.same_as)
    print(f"{total} mutation sites in {' '.join(args.paths)}; {len(sample)} drawn with seed {args.seed}", flush=True)
    if args.list:
        for _, path, number, line, new, kind in sample:
            print(f"{path}:{number + 1} [{kind}] {new.strip()}")
        return 0
    build = os.path.join(ROOT, args.build)
    subprocess.run(["cmake", "-S", ".", "-B", build, "-DCMAKE_BUILD_TYPE=RelWithDebInfo",
                    "-DVANTOREL_TESTS=ON"], cwd=ROOT, check=True, stdout=subprocess.DEVNULL)
    if run(["cmake", "--build", build, "-j", args.jobs], 1800) != 0:
        print("the unmutated program does not build", file=sys.stderr)
        return 1
    if run(["ctest", "--test-dir", build, "-j", args.jobs, "--timeout", "120"], 1800) != 0:
        print("the unmutated suite fails", file=sys.stderr)
        return 1
    killed = survived = stillborn = 0
    survivors = []
    for i, (_, path, number, line, new, kind) in enumerate(sample, 1):
        full = os.path.join(ROOT, path)
        with open(full) as f:
            original = f.read()
        lines = original.split("\n")
        lines[number] = new
        start = time.time()
        try:
            with open(full, "w") as f:
                f.write("\n".join(lines))
            if run(["cmake", "--build", build, "-j", args.jobs], 1800) != 0:
                stillborn += 1
                verdict = "does not compile"
            elif run(["ctest", "--test-dir", build, "-j", args.jobs, "--timeout", "60",
                      "--stop-on-failure"], 1800) != 0:
                killed += 1
                verdict = "killed"
            else:
                survived += 1
                verdict = "SURVIVED"
                survivors.append(f"{path}:{number + 1} [{kind}] {new.strip()}")
        finally:
            with open(full, "w") as f:
                f.write(original)
        print(f"[{i}/{len(sample)}] {verdict:16} {time.time() - start:5.1f}s  {path}:{number + 1}  "
              f"{new.strip()}", flush=True)
    run(["cmake", "--build", build, "-j", args.jobs], 1800)
    counted = killed + survived
    print(f"\nkilled {killed} of {counted} mutants that compile "
          f"({100.0 * killed / max(counted, 1):.1f}%); {stillborn} did not compile")
    for s in survivors:
        print("  survived: " + s)
    return 0


if __name__ == "__main__":
    sys.exit(main())
