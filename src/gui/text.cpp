#include "gui/text.h"

int clippedLength(const std::string& text, int maxWidth, int (*charWidth)(unsigned char)) {
  int drawn = 0;
  int sum = 0;
  for (char c : text) {
    // Measured after drawing, so the character that crosses the limit is kept.
    ++drawn;
    sum += charWidth(static_cast<unsigned char>(c));
    if (sum >= maxWidth) break;
  }
  return drawn;
}
