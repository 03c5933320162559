"""While the file named on the command line is being imported, the window draws and answers (the
driver's first click in the Full view is traced); closing it then ends the editor with status 0,
and the import child with it."""
import os
import time
import driver

os.environ["VANTOREL_IMPORT_FAULT"] = "hang"  # the import child never finishes
NAME = "import-under-way.obj"


def import_children():
    found = []
    for pid in filter(str.isdigit, os.listdir("/proc")):
        try:
            with open("/proc/%s/cmdline" % pid, "rb") as f:
                words = f.read().split(b"\0")
        except OSError:
            continue
        if b"--import-child" in words and any(w.endswith(NAME.encode()) for w in words):
            found.append(pid)
    return found


driver.play([
    ("file", NAME, "v 0 0 0\nv 1 0 0\nv 0 1 0\nf 1 2 3\n"),
    ("start", NAME),
    ("picture", lambda rgb: len(import_children()) == 1),
    ("close", 0),
])
deadline = time.time() + 10
while import_children() and time.time() < deadline:
    time.sleep(0.05)
assert not import_children(), "the import child outlived the editor"
