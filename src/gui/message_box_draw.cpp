#include <GL/gl.h>

#include "gui/message_box.h"
#include "gui/text.h"

void MessageBox::drawLines(double ox, double oy) {
  // The newest row at the bottom, older ones rising above it.
  int row = static_cast<int>(y_ + 5);
  for (const std::string& text : shownRows(fontCharWidth)) {
    glColor4f(0, 0, 0, 1);
    glRasterPos2d(ox + x_ + 5, oy + row);
    drawText(text);
    row += lineHeight_;
  }
}
