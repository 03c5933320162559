"""Open a model at the console, select a triangle with a rubber band, delete
it and save with F5; undo and save with Ctrl+S; Ctrl+/ sets the panels in
rows; Ctrl + middle drag zooms the Side view; the right button pops up the
menu. Closing the window ends the program with status 0."""
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
ONE = model([(2, 1, 0), (3, 0, 0), (2, 0, 0)], [(2, 1, 0)])  # written in reverse order

driver.play([
    ("file", "model.txt", TWO),
    ("key", "Home"),
    ("click", 450, 483),  # the console prompt
    ("type", "/open model.txq"),
    ("key", "BackSpace"),
    ("line", "t"),
    ("trace", "Reading model from file: model.txt"),
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
    ("click", 300, 200, 3),  # the menu's top left corner lies right of the pointer
    ("click", 320, 200 + 20 + 10 * 18 + 9),  # its eleventh row, "Render: Wireframe"
    ("trace", "Clicked in Menu :J"),
    ("close", 0),
])
