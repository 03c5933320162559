"""`cmake --install` into a scratch prefix: the installed program converts a model and tells
its version; the desktop entry passes desktop-file-validate and opens every type it lists; the
MIME file passes update-mime-database and gives `.vantorel` its type; the manual page renders
without a warning and `man` finds it under the prefix; each PNG icon is the size its folder
names. Usage: test_install.py BUILD VERSION"""
import configparser
import os
import pathlib
import re
import struct
import subprocess
import sys
import tempfile
import xml.etree.ElementTree as ET

BUILD, VERSION = sys.argv[1:3]
MIME_NS = "{http://www.freedesktop.org/standards/shared-mime-info}"
MODEL = "3\n0 0 0\n1 0 0\n0 1 0\n1\n1\n0 1 2 %s \n0\n1 1 1 1\n0\n" % " ".join(["0"] * 6 + ["0", "1", "0"] * 4)
failures = []


def run(*command, **options):
    return subprocess.run(command, capture_output=True, text=True, **options)


def check(ok, what):
    if not ok:
        failures.append(what)


def quiet(result, what):
    """The command succeeded and said nothing on standard error."""
    check(result.returncode == 0 and not result.stderr.strip(), "%s: %s" % (what, result.stderr.strip()))


def mime_types(path):
    """Each type a shared MIME XML file defines or aliases, with its file name patterns."""
    types = {}
    for entry in ET.parse(path).getroot().iter(MIME_NS + "mime-type"):
        globs = [g.get("pattern") for g in entry.iter(MIME_NS + "glob")]
        for name in [entry.get("type")] + [a.get("type") for a in entry.iter(MIME_NS + "alias")]:
            types[name] = globs
    return types


with tempfile.TemporaryDirectory() as scratch:
    prefix = pathlib.Path(scratch, "prefix")
    share = prefix / "share"
    # A desktop that reads the prefix's share/ folder, where update-mime-database looks for it.
    desktop_env = dict(os.environ, XDG_DATA_DIRS="%s:/usr/share" % share)
    quiet(run("cmake", "--install", BUILD, "--prefix", str(prefix), env=desktop_env), "cmake --install")
    program = prefix / "bin" / "vantorel"
    check(run(str(program), "--version").stdout == "Vantorel %s\n" % VERSION, "--version")
    pathlib.Path(scratch, "m.vantorel").write_text(MODEL)
    for out in ("m.glb", "m.obj"):
        converted = run(str(program), "--convert", "m.vantorel", out, cwd=scratch)
        check(converted.returncode == 0 and pathlib.Path(scratch, out).stat().st_size > 0, "--convert to " + out)

    desktop = share / "applications" / "vantorel.desktop"
    validated = run("desktop-file-validate", str(desktop))
    check(validated.returncode == 0 and not validated.stdout.strip(), "desktop-file-validate: " + validated.stdout)
    entry = configparser.ConfigParser(interpolation=None)
    entry.read(desktop)
    entry = entry["Desktop Entry"]
    check(re.fullmatch(r"vantorel %[fF]", entry["Exec"]) is not None, "Exec= opens the given file: " + entry["Exec"])
    check((share / "icons/hicolor/scalable/apps" / (entry["Icon"] + ".svg")).is_file(), "Icon= is installed")
    # The entry's types are known to the system's database or defined by ours, and the program
    # imports each through Assimp: a junk file of its extension fails in Assimp, not as a model file.
    ours = mime_types(share / "mime/packages/vantorel.xml")
    known = {**mime_types("/usr/share/mime/packages/freedesktop.org.xml"), **ours}
    for mime in filter(None, entry["MimeType"].split(";")):
        extensions = [g[2:] for g in known.get(mime, []) if re.fullmatch(r"\*\.\w+", g)]
        check(extensions, mime + ": no type with a file name pattern")
        if mime == "application/x-vantorel":
            continue
        reasons = {}
        for extension in extensions:
            pathlib.Path(scratch, "junk." + extension).write_text("junk\n")
            reasons[extension] = run(str(program), "--convert", "junk." + extension, "j.vantorel", cwd=scratch).stderr
        imported = [e for e, reason in reasons.items() if reason and not re.search(r": line \d+:", reason)]
        check(imported if mime not in ours else imported == extensions, "%s: not imported: %s" % (mime, reasons))

    quiet(run("update-mime-database", str(share / "mime"), env=desktop_env), "update-mime-database")
    check("application/x-vantorel:*.vantorel" in (share / "mime/globs2").read_text(), ".vantorel has its type")

    page = share / "man/man1/vantorel.1.gz"
    rendered = run("man", "--warnings", "-E", "UTF-8", "-l", "-Tutf8", "-Z", str(page),
                   env=dict(os.environ, LC_ALL="C.UTF-8", MANWIDTH="80"))
    quiet(rendered, "man --warnings")
    check(run("man", "-M", str(share / "man"), "-w", "vantorel").stdout.strip() == str(page), "man finds the page")

    for icon in (share / "icons/hicolor").glob("*x*/apps/vantorel.png"):
        width, height = struct.unpack(">II", icon.read_bytes()[16:24])
        check(icon.parts[-3] == "%dx%d" % (width, height), "%s is %dx%d" % (icon, width, height))

print("\n".join(failures) or "installed: every check passed")
sys.exit(1 if failures else 0)
