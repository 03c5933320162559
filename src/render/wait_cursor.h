#pragma once
// The wait cursor: once the window's work has lasted 0.2 s, the pointer over
// the window shows the watch until the work is over (0.1 s after it, unless
// more follows at once). The busy main thread cannot change the cursor, so a
// thread of its own does, through an X connection of its own; the window's
// cursor is otherwise left to GLUT, which inherits the screen's.

#include "render/busy_watch.h"

// Starts watching the window whose OpenGL context is current; later calls do
// nothing. Without an X display nothing is watched.
void startWaitCursor();

// Ends the watch, giving the window its own cursor back, while the window
// still exists: its thread, left running, could change the cursor of a
// window already gone, an X error that ends the program while it exits.
// Later marks find no watch.
void stopWaitCursor();

// The watch the window's callbacks mark their work on (busy_watch.h), or
// null before startWaitCursor.
BusyWatch* waitCursorWatch();
