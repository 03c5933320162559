// The wait cursor as the X server shows it over the window.

#include <gtest/gtest.h>

#include <chrono>
#include <thread>

// After gtest, whose own None the X headers' macro would replace.
#include <GL/glx.h>
#include <X11/extensions/Xfixes.h>

#include "render/wait_cursor.h"

namespace {

using std::chrono::steady_clock;

// Work marked longer than 0.2 s turns the pointer over the window into another cursor, not
// before 0.2 s, and once the work is over the window's own cursor is back.
TEST(WaitCursorTest, LongWorkShowsAnotherCursorOverTheWindowUntilItEnds) {
  const Window window = glXGetCurrentDrawable();
  if (!window) GTEST_SKIP() << "no X display";
  startWaitCursor();
  ASSERT_TRUE(waitCursorWatch());
  Display* eye = XOpenDisplay(nullptr);  // the test's own look at the screen
  ASSERT_TRUE(eye);
  XWarpPointer(eye, None, window, 0, 0, 0, 0, 400, 300);
  XSync(eye, False);
  auto shown = [&] {
    XFixesCursorImage* image = XFixesGetCursorImage(eye);
    const unsigned long serial = image ? image->cursor_serial : 0;
    XFree(image);
    return serial;
  };
  auto waitFor = [&](auto done) {
    for (int i = 0; i < 500 && !done(); ++i)
      std::this_thread::sleep_for(std::chrono::milliseconds(10));
    return done();
  };
  const unsigned long idle = shown();
  const auto start = steady_clock::now();
  {
    const BusyPeriod work(waitCursorWatch());
    ASSERT_TRUE(waitFor([&] { return shown() != idle; }));
    EXPECT_GE(steady_clock::now() - start, std::chrono::milliseconds(200));
  }
  EXPECT_TRUE(waitFor([&] { return shown() == idle; }));
  XCloseDisplay(eye);
}

}  // namespace
