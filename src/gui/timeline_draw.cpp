#include <GL/gl.h>

#include "gui/rect_draw.h"
#include "gui/text.h"
#include "gui/timeline.h"

void TimelineStrip::draw(double ox, double oy) const {
  const double left = ox + x_, bottom = oy + y_, top = bottom + height_ - fontHeight() - 4;
  // First drawn stays in front: caption, cursor, keys, ticks, then the band.
  glColor3f(0, 0, 0);
  glRasterPos2d(left + 4, top + 4);
  drawTextClipped(caption(), static_cast<int>(width_ - 8));
  if (!state_.clip.empty()) {
    glColor3f(0.9f, 0.1f, 0.1f);
    const double cursor = ox + xOf(state_.frame);
    drawRectFilled(cursor - 1, bottom + 1, cursor + 1, top - 1);
    glColor3f(1.0f, 0.85f, 0.1f);
    for (int key : state_.keys) {
      const double at = ox + xOf(key), middle = (bottom + top) / 2;
      glBegin(GL_QUADS);
      glVertex2d(at, middle - 5);
      glVertex2d(at + 5, middle);
      glVertex2d(at, middle + 5);
      glVertex2d(at - 5, middle);
      glEnd();
    }
    glColor3f(0.35f, 0.35f, 0.4f);
    const int step = state_.length > 200 ? state_.length / 50 : state_.length > 50 ? 5 : 1;
    glBegin(GL_LINES);
    for (int f = 0; f <= state_.length; f += step) {
      glVertex2d(ox + xOf(f), bottom + 1);
      glVertex2d(ox + xOf(f), bottom + (f % (step * 5) == 0 ? 10 : 5));
    }
    glEnd();
  }
  glColor3f(0.1f, 0.1f, 0.1f);
  drawRectOutline(left, bottom, left + width_, top);
  glColor3f(0.82f, 0.82f, 0.86f);
  drawRectFilled(left, bottom, left + width_, top);
}
