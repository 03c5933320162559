"""The command line without a display; then the editor opens a model and keeps it through a
malformed GLB and OBJ (each read by a child process); a rubber band selects a triangle, Delete and
F5 save the rest, undo and Ctrl+S save it whole; Ctrl+/ sets the panels in rows; Ctrl + middle
drag zooms; a box is drawn and the window closed without a save: the editor exits with 0 and says
where the unsaved changes are; started again, /recover brings the box back and z takes it away."""
import driver


def model(points, triangles):
    """The file of one white group of triangles without texture coordinates."""
    def numbers(*values):
        return " ".join("%.6f" % v for v in values)
    return "\n".join([str(len(points))] + [numbers(*p) for p in points] +
                     ["1", str(len(triangles))] +
                     ["%d %d %d %s " % (*t, numbers(*[0] * 6, *[0, 1, 0] * 4)) for t in triangles] +
                     ["0", numbers(1, 1, 1, 1), "0", ""])


TWO = model([(0, 0, 0), (1, 0, 0), (0, 1, 0), (2, 0, 0), (3, 0, 0), (2, 1, 0)], [(0, 1, 2), (3, 4, 5)])
BOX = [(-1.5, -.75, 0), (1.5, -.75, 0), (1.5, -.75, 1), (-1.5, -.75, 1),
       (-1.5, .75, 0), (1.5, .75, 0), (1.5, .75, 1), (-1.5, .75, 1)]
# The box's triangles as saved: the five the editor turned to face out are written reversed.
BOX_FACES = [(0, 1, 2), (2, 3, 0), (5, 1, 0), (0, 4, 5), (1, 5, 6), (6, 2, 1),
             (6, 3, 2), (6, 7, 3), (0, 3, 7), (7, 4, 0), (4, 7, 6), (6, 5, 4)]
# TWO as a snapshot of it comes back (in reverse order), without and with the box.
TWO_POINTS, TWO_FACES = [(2, 1, 0), (3, 0, 0), (2, 0, 0), (0, 1, 0), (1, 0, 0), (0, 0, 0)], [(2, 1, 0), (5, 4, 3)]
TWO_BACK = model(TWO_POINTS, TWO_FACES)
BOXED = model(TWO_POINTS + BOX, TWO_FACES + [tuple(6 + c for c in face) for face in BOX_FACES])
ONE = model([(2, 1, 0), (3, 0, 0), (2, 0, 0)], [(2, 1, 0)])  # written in reverse order

driver.play([
    ("file", "model.txt", TWO),
    ("file", "bad.glb", "glTF\x02\x00\x00\x00\x40\x00\x00\x00JSON"),  # cut short
    ("file", "bad.obj", "v 0 0 0\nf 1 2 9\n"),
    ("run", ["--convert", "missing.obj", "out.glb"], 1, "", "vantorel: missing.obj: No such file or directory\n"),
    ("run", ["--fast"], 1, "", "vantorel: unknown option --fast (see vantorel --help)\n"),
    ("run", ["--version"], 0, "Vantorel 1.0\n", ""),
    ("run", ["--help"], 0, "Usage: vantorel [--] [FILE]\n", ""),
    *driver.open_in_console("model.txt"),
    ("type", "/open bad.glq"),
    ("key", "BackSpace"),
    ("line", "b"),
    ("trace", "Reading model from file: bad.glb"),
    ("line", "/open bad.obj"),
    ("trace", "Reading model from file: bad.obj"),
    ("key", "Home"),  # the Side view is free again: origin (200, 450), 50 pixels a unit
    ("drag", 175, 475, 275, 375),
    ("trace", "make selection on 0 from [-0.500000 -0.500000] -> [1.500000 1.500000]"),
    ("key", "Delete", "F5"),
    ("trace", "Saving model to file: model.txt"),
    ("saved", "model.txt", ONE),
    ("key", "z", "ctrl+s"),
    ("trace", "Saving model to file: model.txt"),
    ("saved", "model.txt", TWO),
    # The console, clicked last, leads the first row: x 5..405, y 5..30.
    ("key", "Home", "ctrl+slash"),
    ("click", 200, 17),
    ("trace", "Clicked in Console"),
    ("key", "Home"),
    ("drag", 200, 450, 200, 430, 2, "ctrl"),  # up 20 pixels: a half width of 6
    ("drag", 100, 500, 300, 400),
    ("trace", "make selection on 0 from [-3.000000 -1.500000] -> [3.000000 1.500000]"),
    ("key", "b"),
    ("drag", 150, 475, 250, 425),  # a box from (-1.5, -0.75) to (1.5, 0.75)
    ("click", 600, 150),
    ("trace", "Rotating on 3."),
    ("close", 0),
    ("trace", "Unsaved changes kept in {dir}/.model.txt.recover"),
    ("start", "model.txt"),  # the changes found show the console at once
    ("click", 450, 483),
    ("line", "/recover"),
    ("trace", "/recover /recover (null) 16"),
    ("key", "Home", "F5"),
    ("saved", "model.txt", BOXED),
    ("key", "z", "ctrl+s"),
    ("saved", "model.txt", TWO_BACK),
    ("close", 0),
])
