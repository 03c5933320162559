"""The program starts with its window, keys and clicks reach it, and closing
the window ends it with status 0."""
import driver


def test(editor):
    # A left press in the Full view (top right) starts a rotation.
    editor.click(600, 150)
    editor.wait_for(r"^Rotating on 3\.$")
    # Home shows the panels; a click on the console's title band reaches it.
    editor.move(300, 300)
    editor.key("Home")
    editor.click(450, 390)
    editor.wait_for(r"^Clicked in Console$")
    status = editor.close()
    assert status == 0, "exit status %r" % status


driver.run(test)
