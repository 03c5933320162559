#include "gui/rect_draw.h"

#include <GL/gl.h>

namespace {
void corners(GLenum mode, double l, double b, double r, double t) {
  glBegin(mode);
  glVertex2d(l, b);
  glVertex2d(r, b);
  glVertex2d(r, t);
  glVertex2d(l, t);
  glEnd();
}
}  // namespace

void drawRectOutline(double l, double b, double r, double t) {
  corners(GL_LINE_LOOP, l, b, r, t);
}

void drawRectFilled(double l, double b, double r, double t) {
  corners(GL_QUADS, l, b, r, t);
}
