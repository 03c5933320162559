"""The first close ends the editor, every time: started and closed again and again, with nothing to
keep, with changes found from the run before, with unsaved changes to keep, and right after drawing
a box, each close is sent once and the editor ends with status 0 within the driver's wait."""
import driver

TRIANGLE = "3\n0 0 0\n1 0 0\n0 1 0\n1\n1\n0 1 2 0 0 0 0 0 0\n0\n1 1 1 1\n0\n"

steps = [("file", "m.txt", TRIANGLE)]
for _ in range(4):
    steps += [
        ("start", "m.txt"),
        ("close", 0),
        ("start", "m.txt"),
        ("key", "shift+F1", "Delete"),
        ("close", 0),
        ("trace", "Unsaved changes kept in {dir}/.m.txt.recover"),
        ("start",),
        ("key", "b"),
        ("drag", 150, 475, 250, 425),
        ("close", 0),
        ("trace", "Unsaved changes kept in {dir}/.testmodel.recover"),
    ]
driver.play(steps)
