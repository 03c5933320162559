#pragma once
// Window tests share one freeglut window per process (GLUT allows one
// glutInit), opened when a display exists; tests skip otherwise, but
// `make test` always provides one. Pixels count y upward, as glReadPixels does.

#include <GL/glut.h>
#include <gtest/gtest.h>

#include <array>
#include <cstdlib>

#include "app/gl_platform.h"

namespace testwindow {
inline bool gAvailable = false;

struct Environment : ::testing::Environment {
  void SetUp() override {
    if (!std::getenv("DISPLAY")) return;
    int argc = 1;
    char name[] = "window_tests";
    char* argv[] = {name, nullptr};
    openWindow(&argc, argv);
    glutDisplayFunc([] {});
    setInitialGlState();
    gAvailable = true;
  }
};
inline auto* const kEnvironment = ::testing::AddGlobalTestEnvironment(new Environment);

inline std::array<int, 3> pixel(int x, int y) {
  glFinish();
  glReadBuffer(GL_BACK);
  glPixelStorei(GL_PACK_ALIGNMENT, 1);
  unsigned char rgb[3] = {0, 0, 0};
  glReadPixels(x, y, 1, 1, GL_RGB, GL_UNSIGNED_BYTE, rgb);
  return {rgb[0], rgb[1], rgb[2]};
}
}  // namespace testwindow

#define REQUIRE_WINDOW() \
  if (!testwindow::gAvailable) GTEST_SKIP() << "no X display"
