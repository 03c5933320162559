#pragma once
// Bitmap text in GLUT_BITMAP_HELVETICA_12 at the current raster position
// (text_draw.cpp; needs a GL context and GLUT).

#include <string>
#include <vector>

void drawText(const std::string& text);
// Draws characters until the running width reaches or passes maxWidth; the
// character that crosses the limit is still drawn.
void drawTextClipped(const std::string& text, int maxWidth);
int textWidth(const std::string& text);
int fontCharWidth(unsigned char c);
// The pixel height that layout reserves for one line of this font.
constexpr int fontHeight() {
  return 12;
}
// How far the font's letters reach below their baseline (g, p, y).
constexpr int kFontDescent = 3;

// The text in rows no wider than maxWidth, for a given per-character width
// measure: a row ends at its last space that fits (the spaces there are
// dropped), and a word wider than a row is broken where it would cross. Every
// row holds at least one character; an empty text is one empty row.
std::vector<std::string> wrappedRows(const std::string& text, int maxWidth,
                                     int (*charWidth)(unsigned char));

// How many leading characters drawTextClipped draws, for a given per-character
// width measure (pure; shared by the drawing and its tests).
int clippedLength(const std::string& text, int maxWidth, int (*charWidth)(unsigned char));
