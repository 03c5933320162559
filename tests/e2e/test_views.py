"""Navigating the views as a user: zoom and scroll the Side view, rotate the
Full view, switch layouts and the grid; each checked on screen."""
import driver
from pixels import (BLACK, BOUNDING_BOX, GREEN_AXIS, GRID, at, close, expect, near)

# The split lines: white at 0.7 over black.
SPLIT = (178, 178, 178)

# Side view, bottom left: its origin is at (200, 450), 50 pixels a unit.


def test(editor):
    editor.move(300, 300)
    shot = editor.screenshot()
    expect(near(shot, 200, 350, GREEN_AXIS), "Y axis of the Side view at x=200")
    expect(near(shot, 250, 520, GRID), "grid line one unit right of the origin")
    expect(near(shot, 400, 480, SPLIT), "vertical split line")

    # Ctrl + middle drag up by 20 pixels: zoom out to a half width of 6.
    editor.drag((200, 450), (200, 430), button=2, modifiers=("ctrl",))
    editor.move(300, 300)
    shot = editor.screenshot()
    expect(near(shot, 233, 520, GRID), "grid line at one unit after zooming out")
    expect(close(at(shot, 250, 520), BLACK), "no grid line at 1.5 units")

    # Middle drag right by 40 pixels: the picture follows the pointer.
    editor.drag((200, 450), (240, 450), button=2)
    editor.move(300, 300)
    shot = editor.screenshot()
    expect(near(shot, 240, 350, GREEN_AXIS), "Y axis moved right by 40 pixels")
    expect(not near(shot, 200, 350, GREEN_AXIS), "Y axis gone from its old place")

    # Left drag in the Full view rotates it.
    before = editor.screenshot()
    editor.drag((600, 150), (650, 100))
    editor.wait_for(r"^Rotating on 3\.$")
    editor.move(300, 300)
    after = editor.screenshot()
    changed = sum(1 for y in range(0, 300) for x in range(400, 800)
                  if not close(before[y][x], after[y][x]))
    expect(changed > 50, "the Full view changed after rotating (%d pixels)" % changed)

    # F9 hides the grid.
    editor.key("F9")
    editor.move(301, 300)
    shot = editor.screenshot()
    expect(not near(shot, 273, 520, GRID, 3), "grid hidden")
    editor.key("F9")

    # F8: one view (the Full view) fills the window; F4 then shows the Side view.
    editor.key("F8")
    editor.move(300, 300)
    shot = editor.screenshot()
    expect(not near(shot, 400, 480, SPLIT), "no split line in one view")
    editor.key("F4")
    editor.move(301, 300)
    shot = editor.screenshot()
    # The Side view keeps its zoom (half width 6) and scroll (40 of its 400
    # pixels, 1.2 units: centre x = -1.2):
    # 800 / 12 pixels a unit, the origin 1.2 units right of the window centre.
    unit = 800 / 12
    origin_x = round(400 + 1.2 * unit)
    expect(near(shot, origin_x, 150, GREEN_AXIS), "Side view's Y axis")
    expect(near(shot, round(origin_x + unit / 2), round(300 - unit), BOUNDING_BOX),
           "Side view fills the window: box top edge")
    editor.key("F8")
    editor.move(300, 300)
    shot = editor.screenshot()
    expect(near(shot, 400, 480, SPLIT), "four views again")


driver.run(test)
