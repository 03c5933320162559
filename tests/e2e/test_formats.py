"""Models in and out of other formats from the command line, with no display,
and the editor started with a file keeping its model through imports of a
malformed GLB and a malformed OBJ, each read by a child process."""
import driver

MODEL = ("3\n0.000000 0.000000 0.000000\n1.000000 0.000000 0.000000\n0.000000 1.000000 0.000000\n"
         "1\n1\n0 1 2 0 1 0 0 0 1" + " 0 1 0" * 4 + "\n0\n1.000000 0.500000 0.000000 1.000000\n0\n")
# Saved again: vertices and triangle corners come back in reverse order.
SAVED = ("3\n0.000000 1.000000 0.000000\n1.000000 0.000000 0.000000\n0.000000 0.000000 0.000000\n1\n1\n2 1 0 " +
         "".join("%.6f " % v for v in [0, 1, 0, 0, 0, 1] + [0, 1, 0] * 4) + "\n0\n1.000000 0.500000 0.000000 1.000000\n0\n")
OBJ = ("# Vantorel\nmtllib back.mtl\nv 0.000000 1.000000 0.000000\nv 1.000000 0.000000 0.000000\n"
       "v 0.000000 0.000000 0.000000\ng group0\nusemtl material0\nvt 0.000000 0.000000\n"
       "vn 0.000000 0.000000 1.000000\nvt 1.000000 0.000000\nvt 0.000000 1.000000\nf 3/1/1 2/2/1 1/3/1\n")

driver.play([
    ("file", "tri.vantorel", MODEL),
    ("run", ["--convert", "tri.vantorel", "tri.glb"], 0, "", ""),
    ("run", ["--convert", "tri.glb", "back.obj"], 0, "", ""),
    ("saved", "back.obj", OBJ),
    ("run", ["--convert", "missing.obj", "out.glb"], 1, "", "vantorel: missing.obj: No such file or directory\n"),
    ("run", ["--fast"], 1, "", "vantorel: unknown option --fast (see vantorel --help)\n"),
    ("run", ["--version"], 0, "Vantorel 1.0\n", ""),
    ("run", ["--help"], 0, "Usage: vantorel [FILE]\n", ""),
    ("file", "bad.glb", "glTF\x02\x00\x00\x00\x40\x00\x00\x00JSON"),  # cut short
    ("file", "bad.obj", "v 0 0 0\nf 1 2 9\n"),
    ("start", "tri.vantorel"),
    ("key", "Home"),
    ("click", 450, 483),  # the console prompt
    ("line", "/open bad.glb"),
    ("trace", "Reading model from file: bad.glb"),
    ("line", "/open bad.obj"),
    ("trace", "Reading model from file: bad.obj"),
    ("line", "/save after.vantorel"),
    ("trace", "Saving model to file: after.vantorel"),
    ("saved", "after.vantorel", SAVED),
])
