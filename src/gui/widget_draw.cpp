#include <GL/gl.h>

#include "gui/rect_draw.h"
#include "gui/text.h"
#include "gui/widget.h"

void Widget::drawOutline(double ox, double oy) const {
  drawRectOutline(ox + x_, oy + y_, ox + x_ + width_, oy + y_ + height_);
}

void Widget::drawFilled(double ox, double oy) const {
  drawRectFilled(ox + x_, oy + y_, ox + x_ + width_, oy + y_ + height_);
}

void Widget::drawCross(double ox, double oy) const {
  const double l = ox + x_, b = oy + y_, r = l + width_, t = b + height_;
  glBegin(GL_LINES);
  glVertex2d(l, b);
  glVertex2d(r, t);
  glVertex2d(r, b);
  glVertex2d(l, t);
  glEnd();
}

void Widget::drawLabel(double ox, double oy) const {
  double rx = 0, ry = 0;
  if (!labelPosition(ox, oy, textWidth, &rx, &ry)) return;
  glRasterPos2d(rx, ry);
  if (labelOutside_ == 0) {
    drawTextClipped(name_, static_cast<int>(width_));
  } else {
    drawText(name_);
  }
}
