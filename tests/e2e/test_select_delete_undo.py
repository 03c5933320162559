"""Open a model at the console, rubber-band select in the Side view, delete,
save; undo and save again: the files show the deletion and its undoing."""
import os

import driver
from model_files import TWO_TRIANGLES, read_counts

# The console prompt lies at window pixels x 105..495, y 470..495 (y down).
PROMPT = (450, 483)


def test(editor):
    path = os.path.join(editor.workdir, "model.txt")
    with open(path, "w") as f:
        f.write(TWO_TRIANGLES)

    editor.move(300, 300)
    editor.key("Home")
    editor.click(*PROMPT)
    editor.wait_for(r"^Clicked in Console$")
    editor.type("/open model.txt")
    editor.key("Return")
    editor.wait_for(r"^Reading model from file: model\.txt$")
    editor.key("Home")  # hide the panels again; the Side view is free

    # Side view origin at (200, 450), 50 pixels a unit: a band around the
    # first triangle, from (-0.5, -0.5) to (1.5, 1.5).
    editor.drag((175, 475), (275, 375))
    editor.wait_for(r"^make selection on 0 from \[-0\.5")
    editor.key("Delete")
    editor.key("F5")
    editor.wait_for(r"^Saving model to file: model\.txt$")
    assert read_counts(path) == (3, 1), read_counts(path)

    editor.key("z")
    editor.key("F5")
    editor.wait_for(r"^Saving model to file: model\.txt$")
    assert read_counts(path) == (6, 2), read_counts(path)


driver.run(test)
