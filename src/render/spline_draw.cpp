#include <GL/gl.h>

#include "render/frame_draw.h"
#include "tools/spline.h"

void drawSpline(const Spline& spline, int count) {
  // A fit through two points of equal x has no curve to show.
  if (count < 1 || !spline.isFinite()) return;
  double step = (spline.xMax() - spline.xMin()) / count;
  glPushMatrix();
  glBegin(GL_LINE_STRIP);
  for (int i = 0; i < count; ++i) {
    double x = spline.xMin() + i * step;
    float green = count > 1 ? static_cast<float>(i) / static_cast<float>(count - 1) : 0.0f;
    glColor4f(0.5f, green, 1.0f, 0.9f);
    glVertex3d(x, spline.evaluate(x), spline.drawZ);
  }
  glEnd();
  glPopMatrix();
}
