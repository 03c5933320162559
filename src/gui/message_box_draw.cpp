#include <GL/gl.h>

#include <algorithm>

#include "gui/message_box.h"
#include "gui/text.h"

void MessageBox::drawLines(double ox, double oy) const {
  if (!currentList_) return;
  const int n = std::min(currentList_->count(), visibleLines_);
  // Newest line at the bottom, older ones rising above it.
  int row = static_cast<int>(y_ + 5);
  for (int i = currentList_->firstVisible(); i < n; ++i) {
    glColor4f(0, 0, 0, 1);
    glRasterPos2d(ox + x_ + 5, oy + row);
    drawTextClipped(currentList_->messageAt(i), static_cast<int>(width_ - 10));
    row += lineHeight_;
  }
}
