#include <GL/glut.h>

#include "gui/text.h"

int fontCharWidth(unsigned char c) {
  return glutBitmapWidth(GLUT_BITMAP_HELVETICA_12, c);
}

void drawText(const std::string& text) {
  for (char c : text) glutBitmapCharacter(GLUT_BITMAP_HELVETICA_12, static_cast<unsigned char>(c));
}

void drawTextClipped(const std::string& text, int maxWidth) {
  const int n = clippedLength(text, maxWidth, fontCharWidth);
  for (int i = 0; i < n; ++i) {
    glutBitmapCharacter(GLUT_BITMAP_HELVETICA_12, static_cast<unsigned char>(text[i]));
  }
}

int textWidth(const std::string& text) {
  int sum = 0;
  for (char c : text) sum += fontCharWidth(static_cast<unsigned char>(c));
  return sum;
}
