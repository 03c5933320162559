#include <GL/gl.h>

#include "gui/text.h"
#include "gui/text_entry.h"

void TextEntry::drawTyped(double ox, double oy) const {
  glColor4f(0, 0, 0, 1);
  glRasterPos2d(ox + x_ + 3, oy + y_ + 7);
  // The padding spaces draw nothing, so the typed text shows cut at the width.
  drawTextClipped(typed(), static_cast<int>(width_ - 10));
}
