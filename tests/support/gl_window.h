#pragma once
// Window tests share one freeglut window per process (GLUT allows one
// glutInit). The environment opens it when a display exists; tests skip
// otherwise, but `make test` always provides one.

#include <array>
#include <vector>

namespace testwindow {

constexpr int kWidth = 800;
constexpr int kHeight = 600;

// True when the window exists and its GL context is current.
bool available();

// RGB of one pixel of the back buffer; (x, y) with y up, as glReadPixels counts.
std::array<int, 3> pixel(int x, int y);
// The whole back buffer, RGB rows from the bottom.
std::vector<unsigned char> readFrame();

}  // namespace testwindow

#define REQUIRE_WINDOW()                                          \
  do {                                                            \
    if (!testwindow::available()) GTEST_SKIP() << "no X display"; \
  } while (0)
