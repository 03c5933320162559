#pragma once
// Axis-aligned rectangles in the current colour (rect_draw.cpp; GL).

// A GL_LINE_LOOP through (l, b), (r, b), (r, t), (l, t).
void drawRectOutline(double l, double b, double r, double t);
// The same corners as GL_QUADS.
void drawRectFilled(double l, double b, double r, double t);
