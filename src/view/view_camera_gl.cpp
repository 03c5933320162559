#include <GL/gl.h>

#include "view/view_camera.h"

void setUpViewCamera(const Viewport& view, bool scrolling) {
  double l = view.left, r = view.right, b = view.bottom, t = view.top;
  if (scrolling) {
    l -= view.panX;
    r -= view.panX;
    b -= view.panY;
    t -= view.panY;
  }
  glMatrixMode(GL_PROJECTION);
  glLoadIdentity();
  glOrtho(l, r, b, t, -100, 100);
  glMatrixMode(GL_MODELVIEW);
  glLoadIdentity();
  glClear(GL_COLOR_BUFFER_BIT | GL_DEPTH_BUFFER_BIT);
  switch (view.kind) {
    case kFrontView:
      glRotatef(90, 0, 1, 0);
      break;
    case kTopView:
      glRotatef(90, 0, 0, 1);
      glRotatef(90, 1, 0, 0);
      break;
    case kFullView:
      glRotatef(static_cast<float>(view.rotX), 1, 0, 0);
      glRotatef(static_cast<float>(view.rotY), 0, 1, 0);
      glRotatef(static_cast<float>(view.rotZ), 0, 0, 1);
      break;
    default:
      break;
  }
}
