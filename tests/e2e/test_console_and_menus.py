"""The console and the pop-up menu as a user meets them: typed commands change
the next cylinder, save and open files and answer in the message box; the
right button pops up the menu whose buttons switch the view's render mode."""
import os

import driver
from model_files import read_counts
from pixels import expect

PROMPT = (450, 483)
# The newest console line sits 5 pixels above the message box's bottom edge:
# window y 460 (y down), text rising about 9 pixels above it.
LINE_BOX = (108, 449, 490, 461)  # inside the box's outline


def dark_columns(shot, box):
    x0, y0, x1, y1 = box
    return [x for x in range(x0, x1) if any(max(shot[y][x]) < 60 for y in range(y0, y1))]


def command(editor, text):
    editor.type(text)
    editor.key("Return")


def test(editor):
    editor.move(300, 300)
    editor.key("Home")
    editor.click(*PROMPT)
    command(editor, "/setcylinder 12 4")
    editor.wait_for(r"^/setcylinder /setcylinder 12 10$")

    editor.key("Home")
    editor.click(300, 100)  # a click that no panel takes clears the prompt's focus
    editor.key("c")
    editor.drag((650, 450), (700, 400))
    editor.wait_for(r"^radius: ")

    editor.key("Home")
    editor.click(*PROMPT)
    command(editor, "/save out.txt")
    editor.wait_for(r"^Saving model to file: out\.txt$")
    path = os.path.join(editor.workdir, "out.txt")
    vertices, polygons = read_counts(path)
    expect((vertices, polygons) == (62, 120), "12 sides, 4 levels: %r" % ((vertices, polygons),))

    command(editor, "/open out.txt")
    editor.wait_for(r"^Reading model from file: out\.txt$")
    editor.move(300, 301)
    loaded = dark_columns(editor.screenshot(), LINE_BOX)
    command(editor, "/polycount")
    editor.wait_for(r"^/polycount /polycount \(null\) 14$")
    editor.move(300, 300)
    answer = dark_columns(editor.screenshot(), LINE_BOX)
    expect(loaded and answer, "console lines drawn")
    # "Model successfully loaded!" is far wider than the answer "120".
    expect(max(answer) - min(answer) < 40 < max(loaded) - min(loaded),
           "newest line changed to the short answer (%d..%d)" % (min(answer), max(answer)))

    # Pop-up menu over the Full view; its top-left corner lies at the pointer.
    editor.key("Home")
    editor.click(600, 200, button=3)
    # Rows of 18 pixels under a 20-pixel title band; Render: Flatshade is the
    # tenth row, Render: Wireframe the eleventh.
    editor.click(650, 200 + 20 + 9 * 18 + 9)
    editor.wait_for(r"^Clicked in Menu :J$")
    editor.move(780, 20)
    filled = lit_pixels(editor.screenshot())
    editor.click(600, 200, button=3)
    editor.click(650, 200 + 20 + 10 * 18 + 9)
    editor.wait_for(r"^Clicked in Menu :J$")
    editor.move(780, 21)
    wire = lit_pixels(editor.screenshot())
    expect(filled > 1200 and wire < 900, "flat %d vs wireframe %d pixels" % (filled, wire))


def lit_pixels(shot):
    # The cylinder's cap, centred at (625, 125) with a radius of 25 pixels, in the Full view.
    return sum(1 for y in range(105, 146) for x in range(605, 646) if max(shot[y][x]) > 30)


driver.run(test)
