#pragma once
// Cubes drawn as lines from one array: the corners are computed here rather
// than by a matrix per cube, so that any number of cubes is one draw call.

#include <vector>

// How the cubes are seen: in a flat view (an orthographic view along a model
// axis) `depthAxis` is that axis (0 x, 1 y, 2 z) and `nearSign` the sign of
// the cube's nearer side along it; otherwise depthAxis is -1.
struct CubeSight {
  int depthAxis = -1;
  double nearSign = 1;
};

// Appends the edges of the axis-aligned cube of side `size` centred on
// (x, y, z), as line ends of three floats; returns how many ends. Seen at a
// slant: every face's four edges as glutWireCube draws them, so each edge
// twice, once each way, and both its end pixels show (48 ends). In a flat
// view every edge falls on the nearer face's outline or its corners: that
// outline, each way (16 ends), lights the same pixels and passes the depth
// test wherever any of the cube would.
int appendWireCube(std::vector<float>& out, double x, double y, double z, double size,
                   const CubeSight& sight = {});

// Appends `count` copies of the colour (r, g, b), one per line end.
void appendColour(std::vector<float>& out, int count, float r, float g, float b);

// How the current model-view matrix sees cubes (wire_cube_draw.cpp).
CubeSight currentCubeSight();

// Draws `positions` (three floats a line end) as lines, each end in its
// colour from `colours` (three floats an end), in one call; leaves the
// current colour as the last end's. Needs a GL context (wire_cube_draw.cpp).
void drawColouredLines(const std::vector<float>& positions, const std::vector<float>& colours);
