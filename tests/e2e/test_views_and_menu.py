"""Ctrl + middle drag zooms and a middle drag scrolls the Side view; F8 and F4
put it alone in the window; the right button pops up the menu. The rubber
bands traced on the way give the view coordinates under the pointer."""
import driver

driver.play([
    ("drag", 200, 450, 200, 430, 2, "ctrl"),  # up 20 pixels: a half width of 6
    ("drag", 200, 450, 240, 450, 2),  # right 40 of the 400 pixels: 1.2 units
    ("drag", 100, 500, 300, 400),
    ("trace", "make selection on 0 from [-4.200000 -1.500000] -> [1.800000 1.500000]"),
    ("key", "F8", "F4"),
    ("drag", 100, 500, 700, 100),
    ("trace", "make selection on 0 from [-5.700000 -3.000000] -> [3.300000 3.000000]"),
    ("click", 300, 200, 3),  # the menu's top left corner lies right of the pointer
    ("click", 320, 200 + 20 + 10 * 18 + 9),  # its eleventh row, "Render: Wireframe"
    ("trace", "Clicked in Menu :J"),
])
