"""The first close ends the editor, every time: started and closed again and again, with nothing to
keep, with changes found from the run before, with unsaved changes to keep, right after drawing a
box with the pop-up menu open, and by "/quit", each close is sent once and the editor ends with
status 0 within the driver's wait. The changes found stay until /recover or /discard, so each run
keeps its own under the next name."""
import driver

TRIANGLE = "3\n0 0 0\n1 0 0\n0 1 0\n1\n1\n0 1 2 0 0 0 0 0 0\n0\n1 1 1 1\n0\n"

steps = [("file", "m.txt", TRIANGLE)]
for run in range(4):
    name = "" if run == 0 else ".%d" % (run + 1)
    found = [("key", "Home")] if run else []  # the offer shows the console over the Side view
    steps += [
        ("start", "m.txt"),
        ("close", 0),
        ("start", "m.txt"),
        ("key", "shift+F1", "Delete"),
        ("close", 0),
        ("trace", "Unsaved changes kept in {dir}/.m.txt.recover" + name),
        ("start",),
        *found,
        ("key", "b"),
        ("drag", 150, 475, 250, 425),
        ("click", 300, 200, 3),
        ("close", 0),
        ("trace", "Unsaved changes kept in {dir}/.testmodel.recover" + name),
    ]
steps += [("file", "q.txt", TRIANGLE), ("start", "q.txt"), ("key", "shift+F1", "Delete", "Home"),
          ("click", 450, 483), ("line", "/quit"), ("ends", 0),
          ("trace", "Unsaved changes kept in {dir}/.q.txt.recover")]
driver.play(steps)
