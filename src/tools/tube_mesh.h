#pragma once
// The closed tube that Create Cylinder and the surface of revolution share:
// rings of vertices along an axis, closed by a cap centre at each end.

#include <utility>
#include <vector>

#include "model/vec3.h"

struct ToolContext;

constexpr double kRadiansPerDegree = 0.017453292519943295;

// The tube's box corners are kept in ascending pairs.
inline void sortPair(double& lo, double& hi) {
  if (hi < lo) std::swap(lo, hi);
}

// Adds the (levels + 1) * sides ring points (ring by ring) and then the two cap
// centres to the model's vertices and to the vertex selection, and the tube's
// 2 * sides * (levels + 1) triangles to the current group, each turned by the
// centre test against the polygon selection's box; with mirror editing on, the
// tube's mirror image as well (mirror_image.h), whose vertices join the
// selection too; then rebuilds normals.
// `points` holds exactly those ring points and cap centres in that order.
// Needs levels >= 1 and sides >= 3.
void addClosedTube(ToolContext& e, const std::vector<Vec3>& points, int levels, int sides);
