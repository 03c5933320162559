"""Ctrl chords arrive as control codes (Ctrl+S as 19, Ctrl+/ as 31) and still
do their work: Ctrl+S saves under the model's name, Ctrl+/ minimises the
panels and lays them out in rows from the top left."""
import os

import driver
from model_files import read_counts
from pixels import expect

TITLE_BAND = (160, 138, 206)  # the title colour at 0.9 over the black view


def purple_share(shot, box):
    x0, y0, x1, y1 = box
    total = hits = 0
    for y in range(y0, y1):
        for x in range(x0, x1):
            r, g, b = shot[y][x]
            total += 1
            hits += abs(r - TITLE_BAND[0]) < 25 and abs(g - TITLE_BAND[1]) < 25 and \
                abs(b - TITLE_BAND[2]) < 25
    return hits / total


def test(editor):
    editor.move(300, 300)
    editor.key("ctrl+s")
    editor.wait_for(r"^Saving model to file: testmodel$")
    expect(read_counts(os.path.join(editor.workdir, "testmodel")) == (0, 0), "empty model saved")

    editor.key("Home")
    # The UV Mapper's minimised strip lands at x 5..305, y 35..60 (second row).
    before = purple_share(editor.screenshot(), (40, 38, 280, 53))
    editor.key("ctrl+slash")
    editor.move(300, 301)
    after = purple_share(editor.screenshot(), (40, 38, 280, 53))
    expect(before < 0.2 and after > 0.8, "arranged strip: %.2f -> %.2f" % (before, after))


driver.run(test)
