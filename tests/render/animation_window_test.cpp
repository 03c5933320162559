// Animation mode's frames read back from a real window: the posed model where the pose puts it,
// and the Timeline panel with the selected bone's key. Side view origin (200, 150), 50 pixels a
// unit, y up.

#include <GL/glut.h>
#include <gtest/gtest.h>

#include <glm/gtc/quaternion.hpp>

#include "model/animation.h"
#include "render/frame_draw.h"
#include "render/gl_platform.h"
#include "support/arm_fixture.h"
#include "support/editor_fixture.h"
#include "tools/animation_mode.h"

namespace {

using Rgb = std::array<int, 3>;
const Rgb kMagenta{255, 0, 255}, kStrip{209, 209, 219}, kKey{255, 217, 26}, kCursor{230, 26, 26};

class AnimationFrameTest : public EditorTest {
 protected:
  // The window is opened for all window tests (frame_window_test.cpp).
  void SetUp() override {
    if (!std::getenv("DISPLAY")) GTEST_SKIP() << "no X display";
    editor.keepViewPictures = 0;
    moveTo(700, 20);
  }
  Rgb at(int x, int y) {
    editor.framePump();
    drawFrame(editor);
    const std::vector<unsigned char> frame = readBackBuffer(800, 600);
    const unsigned char* p = &frame[(y * 800 + x) * 3];
    return {p[0], p[1], p[2]};
  }
  static bool near(const Rgb& a, const Rgb& b) {
    for (int i = 0; i < 3; ++i)
      if (std::abs(a[i] - b[i]) > 4) return false;
    return true;
  }
};

TEST_F(AnimationFrameTest, TheViewsShowThePoseAndThePanelTheKeysUntilTheModeIsLeft) {
  Arm arm(*editor.model);
  Material& look = editor.model->currentGroup->material;
  look.red = 1, look.green = 0, look.blue = 1;
  for (Viewport& v : editor.views) v.renderMode = kTextured;  // unlit: the material's colour
  editor.selectedBone = arm.fore;
  Clip& clip = editor.model->animation->add("bend");
  clip.tracks[arm.fore] = {{10, {glm::angleAxis(1.5707963267948966, glm::dvec3(0, 0, 1))}}};
  const int restForearm[2] = {275, 160}, bentForearm[2] = {255, 180};
  EXPECT_TRUE(near(at(restForearm[0], restForearm[1]), kMagenta));
  EXPECT_FALSE(near(at(bentForearm[0], bentForearm[1]), kMagenta));
  key('A');
  runConsoleCommand(editor, "/frame 20");
  EXPECT_FALSE(near(at(restForearm[0], restForearm[1]), kMagenta));
  EXPECT_TRUE(near(at(bentForearm[0], bentForearm[1]), kMagenta));
  // The strip of frames 0 .. 24 from x = 201 to 599: the key at frame 10, the cursor at 20.
  EXPECT_TRUE(near(at(367, 51), kKey));
  EXPECT_TRUE(near(at(533, 45), kCursor));
  EXPECT_TRUE(near(at(450, 40), kStrip));
  key('A');
  EXPECT_TRUE(near(at(restForearm[0], restForearm[1]), kMagenta));
  EXPECT_FALSE(near(at(450, 40), kStrip));
}

}  // namespace
