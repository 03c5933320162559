#include <GL/glut.h>
#include <gtest/gtest.h>

#include <cstdlib>

#include "app/gl_platform.h"
#include "support/gl_window.h"

namespace testwindow {
namespace {
bool gAvailable = false;

void noDisplay() {}

class WindowEnvironment : public ::testing::Environment {
 public:
  void SetUp() override {
    if (!std::getenv("DISPLAY")) return;
    int argc = 1;
    char name[] = "window_tests";
    char* argv[] = {name, nullptr};
    openWindow(&argc, argv);
    glutDisplayFunc(noDisplay);
    setInitialGlState();
    gAvailable = true;
  }
};

const auto* const kEnvironment = ::testing::AddGlobalTestEnvironment(new WindowEnvironment);
}  // namespace

bool available() {
  return gAvailable;
}

std::vector<unsigned char> readFrame() {
  return readBackBuffer(kWidth, kHeight);
}

std::array<int, 3> pixel(int x, int y) {
  glFinish();
  glReadBuffer(GL_BACK);
  glPixelStorei(GL_PACK_ALIGNMENT, 1);
  unsigned char rgb[3] = {0, 0, 0};
  glReadPixels(x, y, 1, 1, GL_RGB, GL_UNSIGNED_BYTE, rgb);
  return {rgb[0], rgb[1], rgb[2]};
}

}  // namespace testwindow

int main(int argc, char** argv) {
  ::testing::InitGoogleTest(&argc, argv);
  return RUN_ALL_TESTS();
}
