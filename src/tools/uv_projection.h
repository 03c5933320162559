#pragma once
// Texture coordinates for the selected triangles by a projection, packed into
// the texture square (tools/uv_charts.h) with a margin of two texels of a
// `textureSize` texture:
// - box: each triangle onto the side of a box its facing points to most, each
//   side (and each separate piece on it) a chart of its own;
// - cylinder, sphere: about the selection's centre and the view's up axis,
//   by arc length at each vertex's distance from the axis (the sphere by
//   equal areas, at its mean radius), in two charts of a half turn
//   each, a triangle that crosses the seam kept whole beyond it;
// - view: onto the view's plane, the triangles facing away in a chart of
//   their own, turned over so that none is mirrored.
// One undo step; the console says how many triangles were mapped.

struct ToolContext;
class Viewport;

enum class Projection { kBox, kCylinder, kSphere, kView };

void projectSelection(ToolContext& e, Projection how, const Viewport& view, int textureSize);

// The view's up axis as a model axis: x for "Top", else y.
int upAxisOf(const Viewport& view);
