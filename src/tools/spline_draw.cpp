#include <GL/gl.h>

#include "tools/spline.h"

void Spline::draw(int count) const {
  // A fit through two points of equal x has no curve to show.
  if (count < 1 || !isFinite()) return;
  double step = (xMax() - xMin()) / count;
  glPushMatrix();
  glBegin(GL_LINE_STRIP);
  for (int i = 0; i < count; ++i) {
    double x = xMin() + i * step;
    float green = count > 1 ? static_cast<float>(i) / static_cast<float>(count - 1) : 0.0f;
    glColor4f(0.5f, green, 1.0f, 0.9f);
    glVertex3d(x, evaluate(x), drawZ);
  }
  glEnd();
  glPopMatrix();
}
