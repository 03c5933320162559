#include <GL/glx.h>
#include <X11/Xlib.h>
#include <X11/cursorfont.h>

#include <chrono>

#include "render/wait_cursor.h"

namespace {

// Lives until the window closes (stopWaitCursor).
BusyWatch* gWatch = nullptr;

}  // namespace

void startWaitCursor() {
  using std::chrono::milliseconds;
  if (gWatch) return;
  Display* shared = glXGetCurrentDisplay();
  const Window window = glXGetCurrentDrawable();
  if (!shared || !window) return;
  // Only the watch's thread uses this connection.
  Display* own = XOpenDisplay(DisplayString(shared));
  if (!own) return;
  const Cursor watch = XCreateFontCursor(own, XC_watch);
  gWatch = new BusyWatch(
      milliseconds(200), milliseconds(100),
      [=] {
        XDefineCursor(own, window, watch);
        XFlush(own);
      },
      [=] {
        XUndefineCursor(own, window);
        XFlush(own);
      });
}

void stopWaitCursor() {
  BusyWatch* watch = gWatch;
  gWatch = nullptr;
  delete watch;  // joins its thread, hiding the wait cursor first
}

BusyWatch* waitCursorWatch() {
  return gWatch;
}
