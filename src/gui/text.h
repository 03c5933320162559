#pragma once
// Bitmap text in GLUT_BITMAP_HELVETICA_12 at the current raster position
// (text_draw.cpp; needs a GL context and GLUT).

#include <string>

void drawText(const std::string& text);
// Draws characters until the running width reaches or passes maxWidth; the
// character that crosses the limit is still drawn.
void drawTextClipped(const std::string& text, int maxWidth);
int textWidth(const std::string& text);
// The pixel height that layout reserves for one line of this font.
constexpr int fontHeight() {
  return 12;
}

// How many leading characters drawTextClipped draws, for a given per-character
// width measure (pure; shared by the drawing and its tests).
int clippedLength(const std::string& text, int maxWidth, int (*charWidth)(unsigned char));
