"""The Debian package: named vantorel_VERSION_ARCH.deb, with its changelog's newest entry of
that version; holds exactly the installed files and no maintainer script or conffile, so that
removing it leaves nothing behind; declares a dependency on the package of every shared library
the program needs; its program runs; lintian finds no error or warning.
Usage: check_deb.py SRC VERSION DEB, or SRC VERSION --cpack BUILD to build the package first
(into a scratch folder)."""
import glob
import gzip
import pathlib
import re
import subprocess
import sys
import tempfile

SRC, VERSION, DEB = pathlib.Path(sys.argv[1]), sys.argv[2], sys.argv[3]
failures = []


def run(*command):
    result = subprocess.run(command, capture_output=True, text=True)
    if result.returncode:
        sys.exit("%s failed:\n%s%s" % (" ".join(command), result.stdout, result.stderr))
    return result.stdout


def owners(libraries, ldd):
    """The package of each library the dynamic loader finds for a NEEDED name, asked of dpkg at
    once, by the path found and by the same path with and without /usr."""
    paths = {lib: re.search(r"^\s*%s => (\S+)" % re.escape(lib), ldd, re.M).group(1) for lib in libraries}
    variants = {lib: [p, re.sub(r"^/usr/", "/", p), "/usr" + re.sub(r"^/usr/", "/", p)] for lib, p in paths.items()}
    found = subprocess.run(["dpkg", "-S"] + sorted({v for vs in variants.values() for v in vs}),
                           capture_output=True, text=True).stdout
    package = {path: names.split(":")[0] for names, path in re.findall(r"^(.+?): (/\S+)$", found, re.M)}
    return {lib: next((package[v] for v in vs if v in package), "(no package has %s)" % paths[lib])
            for lib, vs in variants.items()}


with tempfile.TemporaryDirectory() as scratch:
    if DEB == "--cpack":
        run("cpack", "-G", "DEB", "-B", scratch, "--config", sys.argv[4] + "/CPackConfig.cmake")
        DEB = glob.glob(scratch + "/*.deb")[0]
    arch = run("dpkg", "--print-architecture").strip()
    if pathlib.Path(DEB).name != "vantorel_%s_%s.deb" % (VERSION, arch):
        failures.append("named " + pathlib.Path(DEB).name)
    info = run("dpkg-deb", "--info", DEB)
    fields = dict(re.findall(r"^ ([A-Z][\w-]*): (.*)$", info, re.M))
    if fields.get("Version") != VERSION:
        failures.append("version %s" % fields.get("Version"))
    scripts = re.findall(r"^\s+\d+ bytes,\s+\d+ lines\s+\*?\s*(\S+)", info, re.M)
    if sorted(scripts) != ["control", "md5sums"]:
        failures.append("control files " + " ".join(scripts))

    root = pathlib.Path(scratch, "root")
    run("dpkg-deb", "-x", DEB, str(root))
    files = {str(p.relative_to(root)) for p in root.rglob("*") if not p.is_dir()}
    icons = {"usr/share/icons/" + str(p.relative_to(SRC / "packaging/icons"))
             for p in (SRC / "packaging/icons").rglob("*") if p.is_file()}
    expected = icons | {"usr/bin/vantorel", "usr/share/applications/vantorel.desktop",
                        "usr/share/mime/packages/vantorel.xml", "usr/share/man/man1/vantorel.1.gz",
                        "usr/share/doc/vantorel/copyright", "usr/share/doc/vantorel/changelog.gz"}
    failures += ["file %s should not be there" % f for f in files - expected]
    failures += ["file %s is missing" % f for f in expected - files]

    newest = gzip.open(root / "usr/share/doc/vantorel/changelog.gz", "rt").readline()
    if not newest.startswith("vantorel (%s) " % VERSION):
        failures.append("the changelog's newest entry is not version %s: %s" % (VERSION, newest))

    program = str(root / "usr/bin/vantorel")
    if run(program, "--version") != "Vantorel %s\n" % VERSION:
        failures.append("the unpacked program's --version")
    depends = {alternative.split()[0] for d in fields.get("Depends", "").split(",") for alternative in d.split("|")}
    needed = owners(re.findall(r"NEEDED\s+(\S+)", run("objdump", "-p", program)), run("ldd", program))
    failures += ["%s needs %s but Depends lacks it" % (lib, p) for lib, p in needed.items() if p not in depends]

    lintian = subprocess.run(["lintian", "--fail-on", "error,warning", DEB], capture_output=True, text=True)
    if lintian.returncode:
        failures.append("lintian:\n" + lintian.stdout)

print("\n".join(failures) or "package %s: every check passed" % pathlib.Path(DEB).name)
sys.exit(1 if failures else 0)
