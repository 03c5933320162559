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


def owner(library):
    """The package of the library the dynamic loader finds for a NEEDED name."""
    path = re.search(r"^\s*%s => (\S+)" % re.escape(library), ldd, re.M).group(1)
    for candidate in (path, re.sub(r"^/(usr/)?", "/", path), "/usr" + re.sub(r"^/usr", "", path)):
        found = subprocess.run(["dpkg", "-S", candidate], capture_output=True, text=True)
        if found.returncode == 0:
            return found.stdout.split(":")[0]
    return "(no package has %s)" % path


with tempfile.TemporaryDirectory() as scratch:
    if DEB == "--cpack":
        run("cpack", "-G", "DEB", "-B", scratch, "--config", sys.argv[4] + "/CPackConfig.cmake")
        DEB = glob.glob(scratch + "/*.deb")[0]
    arch = run("dpkg", "--print-architecture").strip()
    if pathlib.Path(DEB).name != "vantorel_%s_%s.deb" % (VERSION, arch):
        failures.append("named " + pathlib.Path(DEB).name)
    fields = dict(re.findall(r"^ ([A-Z][\w-]*): (.*)$", run("dpkg-deb", "--info", DEB), re.M))
    if fields.get("Version") != VERSION:
        failures.append("version %s" % fields.get("Version"))
    scripts = re.findall(r"^\s+\d+ bytes,\s+\d+ lines\s+\*?\s*(\S+)", run("dpkg-deb", "--info", DEB), re.M)
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
    ldd = run("ldd", program)
    depends = {alternative.split()[0] for d in fields.get("Depends", "").split(",") for alternative in d.split("|")}
    for library in re.findall(r"NEEDED\s+(\S+)", run("objdump", "-p", program)):
        if owner(library) not in depends:
            failures.append("%s needs %s but Depends lacks it" % (library, owner(library)))

    lintian = subprocess.run(["lintian", "--fail-on", "error,warning", DEB], capture_output=True, text=True)
    if lintian.returncode:
        failures.append("lintian:\n" + lintian.stdout)

print("\n".join(failures) or "package %s: every check passed" % pathlib.Path(DEB).name)
sys.exit(1 if failures else 0)
