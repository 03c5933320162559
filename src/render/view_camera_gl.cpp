#include <GL/gl.h>

#include "render/view_camera.h"

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
  glOrtho(l, r, b, t, -view.depth, view.depth);
  glMatrixMode(GL_MODELVIEW);
  glLoadIdentity();
  glClear(GL_COLOR_BUFFER_BIT | GL_DEPTH_BUFFER_BIT);
  // The quarter turns of the Front and Top views as exact matrices (column
  // by column): glRotatef's would carry cos 90° rounded, about 4e-8, which
  // keeps the side faces of a marker from lying exactly edge-on.
  static const GLdouble kFront[16] = {0, 0, -1, 0, 0, 1, 0, 0, 1, 0, 0, 0, 0, 0, 0, 1};
  static const GLdouble kTop[16] = {0, 1, 0, 0, 0, 0, 1, 0, 1, 0, 0, 0, 0, 0, 0, 1};
  switch (view.kind) {
    case kFrontView:  // a quarter turn about y
      glMultMatrixd(kFront);
      break;
    case kTopView:  // a quarter turn about z after one about x
      glMultMatrixd(kTop);
      break;
    case kFullView:
      glRotatef(static_cast<float>(view.rotX), 1, 0, 0);
      glRotatef(static_cast<float>(view.rotY), 0, 1, 0);
      glRotatef(static_cast<float>(view.rotZ), 0, 0, 1);
      // The model turns about the pivot, which shows at the view's (0, 0).
      if (!(view.pivot == Vec3{0, 0, 0})) glTranslated(-view.pivot.x, -view.pivot.y, -view.pivot.z);
      break;
    default:
      break;
  }
}
