#pragma once
// Cubes drawn as lines from one array: the corners are computed here rather
// than by a matrix per cube, so that any number of cubes is one draw call.

#include <vector>

// Appends the edges of the axis-aligned cube of side `size` centred on
// (x, y, z), as glutWireCube draws them (each face's four, so each edge twice,
// once each way), as kWireCubeEnds line ends of three floats.
constexpr int kWireCubeEnds = 48;
void appendWireCube(std::vector<float>& out, double x, double y, double z, double size);

// Appends `count` copies of the colour (r, g, b), one per line end.
void appendColour(std::vector<float>& out, int count, float r, float g, float b);

// Draws `positions` (three floats a line end) as lines, each end in its
// colour from `colours` (three floats an end), in one call; leaves the
// current colour as the last end's. Needs a GL context (wire_cube_draw.cpp).
void drawColouredLines(const std::vector<float>& positions, const std::vector<float>& colours);
