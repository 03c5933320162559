"""Draw a box in the Side view and a cylinder in the Front view with the
mouse, save with F5 under the model's own name, and check the file."""
import os

import driver
from model_files import read_counts, vertices


def test(editor):
    editor.move(300, 300)
    editor.key("b")
    # Side view: origin (200, 450), 50 pixels a unit; (0, 0) to (1, 1).
    editor.drag((200, 450), (250, 400))
    editor.key("c")
    # Front view: origin (600, 450); from z=1, y=0 to z=2, y=1.
    editor.drag((650, 450), (700, 400))
    editor.wait_for(r"^radius: 0\.500000 ")
    editor.key("F5")
    editor.wait_for(r"^Saving model to file: testmodel$")
    path = os.path.join(editor.workdir, "testmodel")
    assert read_counts(path) == (8 + 90, 12 + 176), read_counts(path)
    xs = sorted(v[0] for v in vertices(path))
    assert abs(xs[0]) < 1e-6 and abs(xs[-1] - 1) < 1e-6, (xs[0], xs[-1])


driver.run(test)
