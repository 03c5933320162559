#pragma once
// Charts of texture coordinates: triangles whose corners were flattened
// together (by a projection or an unwrap), each corner with its point in the
// chart's own plane. Packing lays the charts side by side in the texture
// square, all at one scale, so that every triangle keeps its share of the
// texture.

#include <array>
#include <vector>

#include <glm/vec2.hpp>

struct Polygon;

struct UvChart {
  std::vector<Polygon*> triangles;
  std::vector<std::array<glm::dvec2, 3>> corners;  // per triangle, by corner (vertices[] order)
};

// Places the charts in 0..1 without overlap, `marginTexels` texels of a
// `textureSize` texture apart and from the edges, all scaled alike (and a
// chart turned a quarter when that packs it better), then writes their
// coordinates into the triangles' corners and marks them mapped. Turning
// never mirrors a chart. Charts
// with no extent (every corner on one point) keep their place at a corner.
void packCharts(std::vector<UvChart>& charts, double marginTexels, int textureSize);

// The charts the given triangles' texture coordinates make as they stand: two
// triangles are in one chart when they share an edge whose two ends have the
// same coordinates in both.
std::vector<UvChart> chartsAsMapped(const std::vector<Polygon*>& triangles);
