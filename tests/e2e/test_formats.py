"""Models in and out of other formats from the command line, with no display,
and the editor started with a file keeping its model through the import of a
malformed GLB and a malformed OBJ."""
import os
import stat
import subprocess
import tempfile

import driver

MODEL = ("3\n0.000000 0.000000 0.000000\n1.000000 0.000000 0.000000\n0.000000 1.000000 0.000000\n"
         "1\n1\n0 1 2 0 1 0 0 0 1" + " 0 1 0" * 4 + "\n0\n1.000000 0.500000 0.000000 1.000000\n0\n")


def convert(binary, workdir, *args):
    env = {k: v for k, v in os.environ.items() if k != "DISPLAY"}
    return subprocess.run([binary] + list(args), cwd=workdir, env=env, capture_output=True, text=True)


def command_line(binary, workdir):
    open(os.path.join(workdir, "tri.vantorel"), "w").write(MODEL)
    done = convert(binary, workdir, "--convert", "tri.vantorel", "tri.glb")
    assert done.returncode == 0 and done.stderr == "", done
    done = convert(binary, workdir, "--convert", "tri.glb", "back.obj")
    assert done.returncode == 0, done
    obj = open(os.path.join(workdir, "back.obj")).read()
    assert obj == ("# Vantorel\nmtllib back.mtl\nv 0.000000 1.000000 0.000000\nv 1.000000 0.000000 0.000000\n"
                   "v 0.000000 0.000000 0.000000\ng group0\nusemtl material0\nvt 0.000000 0.000000\n"
                   "vn 0.000000 0.000000 1.000000\nvt 1.000000 0.000000\nvt 0.000000 1.000000\n"
                   "f 3/1/1 2/2/1 1/3/1\n"), obj
    failed = convert(binary, workdir, "--convert", "missing.obj", "out.glb")
    assert (failed.returncode, failed.stderr) == (1, "vantorel: missing.obj: No such file or directory\n"), failed
    assert convert(binary, workdir, "--version").stdout == "Vantorel 1.0\n"
    assert convert(binary, workdir, "--help").stdout.startswith("Usage: vantorel [FILE]\n")


def test(editor):
    editor.move(300, 300)
    editor.key("Home")
    editor.click(450, 483)
    editor.wait_for(r"^Reading model from file: start\.vantorel$")
    for line in ("/save before.vantorel", "/open bad.glb", "/open bad.obj", "/save after.vantorel"):
        editor.type(line)
        editor.key("Return")
        editor.wait_for("^%s %s " % (line.split()[0], line.split()[0]))
    editor.wait_for(r"^Saving model to file: after\.vantorel$")
    before, after = (open(os.path.join(workdir, f)).read() for f in ("before.vantorel", "after.vantorel"))
    assert before == after and before.startswith("3\n"), (before, after)


binary, close_helper = os.path.abspath(driver.sys.argv[1]), driver.sys.argv[2]
workdir = tempfile.mkdtemp(prefix="vantorel-e2e-")
command_line(binary, workdir)
open(os.path.join(workdir, "start.vantorel"), "w").write(MODEL)
open(os.path.join(workdir, "bad.glb"), "wb").write(open(os.path.join(workdir, "tri.glb"), "rb").read()[:200])
open(os.path.join(workdir, "bad.obj"), "w").write("v 0 0 0\nf 1 2 9\n")
wrapper = os.path.join(workdir, "with-file")
open(wrapper, "w").write('#!/bin/sh\ncd "%s" && exec "%s" start.vantorel\n' % (workdir, binary))
os.chmod(wrapper, stat.S_IRWXU)
driver.sys.argv[1] = wrapper
driver.run(test)
