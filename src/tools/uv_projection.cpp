// Projections onto the texture square (contracts in uv_projection.h).

#include "tools/uv_projection.h"

#include <cmath>
#include <numbers>
#include <numeric>
#include <string>
#include <vector>

#include <absl/container/flat_hash_map.h>
#include <absl/container/flat_hash_set.h>
#include <glm/common.hpp>
#include <glm/geometric.hpp>
#include <glm/vec3.hpp>

#include "document/undo.h"
#include "tools/polygon_ops.h"
#include "tools/selected_triangles.h"
#include "tools/tool_context.h"
#include "tools/union_find.h"
#include "tools/uv_charts.h"

namespace {

using glm::dvec2;
using glm::dvec3;

dvec3 at(const Vertex* v) {
  return {v->x, v->y, v->z};
}

// The facing of a triangle, from its corners in the order it leaves memory in.
dvec3 facingOf(const Polygon& p) {
  const dvec3 a = at(p.vertices[p.storedCorner(0)]), b = at(p.vertices[p.storedCorner(1)]),
              c = at(p.vertices[p.storedCorner(2)]);
  return glm::cross(b - a, c - b);
}

// Right-handed axes (across, up, out) for each of the six sides of a box,
// by the side's outward axis: +x, -x, +y, -y, +z, -z.
struct Axes {
  dvec3 across, up;
};
const Axes kBoxSides[6] = {
    {{0, 0, -1}, {0, 1, 0}}, {{0, 0, 1}, {0, 1, 0}}, {{1, 0, 0}, {0, 0, -1}},
    {{1, 0, 0}, {0, 0, 1}},  {{1, 0, 0}, {0, 1, 0}}, {{-1, 0, 0}, {0, 1, 0}},
};

int boxSideOf(const dvec3& n) {
  const dvec3 m = glm::abs(n);
  const int axis = (m.x >= m.y && m.x >= m.z) ? 0 : (m.y >= m.z ? 1 : 2);
  return 2 * axis + (n[axis] < 0 ? 1 : 0);
}

// Splits triangles labelled alike into the pieces that hang together by edges.
std::vector<std::vector<size_t>> piecesByLabel(const std::vector<Polygon*>& triangles,
                                               const std::vector<int>& label) {
  UnionFind parts(triangles.size());
  absl::flat_hash_map<std::tuple<const Vertex*, const Vertex*, int>, size_t> sides;
  for (size_t t = 0; t < triangles.size(); ++t)
    for (int k = 0; k < 3; ++k) {
      const Vertex *a = triangles[t]->vertices[k], *b = triangles[t]->vertices[(k + 1) % 3];
      if (b < a) std::swap(a, b);
      auto [found, fresh] = sides.try_emplace({a, b, label[t]}, t);
      if (!fresh) parts.join(t, found->second);
    }
  absl::flat_hash_map<size_t, size_t> pieceOf;
  std::vector<std::vector<size_t>> pieces;
  for (size_t t = 0; t < triangles.size(); ++t) {
    auto [found, fresh] = pieceOf.try_emplace(parts.root(t), pieces.size());
    if (fresh) pieces.emplace_back();
    pieces[found->second].push_back(t);
  }
  return pieces;
}

std::vector<UvChart> chartsOf(const std::vector<Polygon*>& triangles,
                              const std::vector<std::array<dvec2, 3>>& corners,
                              const std::vector<int>& label) {
  std::vector<UvChart> charts;
  for (const std::vector<size_t>& piece : piecesByLabel(triangles, label)) {
    UvChart& chart = charts.emplace_back();
    for (size_t t : piece)
      chart.triangles.push_back(triangles[t]), chart.corners.push_back(corners[t]);
  }
  return charts;
}

// About an axis through `centre`: the turn of each corner about it, kept
// within half a turn of the triangle's first, and the height along it.
class AboutAxis {
 public:
  AboutAxis(const dvec3& centre, int upAxis) : centre_(centre) {
    up_[upAxis] = 1;
    a_[(upAxis + 1) % 3] = 1;
    b_ = glm::cross(up_, a_);  // a x b = up
  }
  double height(const dvec3& p) const { return glm::dot(p - centre_, up_); }
  double radius(const dvec3& p) const {
    const dvec3 r = p - centre_;
    return glm::length(r - glm::dot(r, up_) * up_);
  }
  // The three corners' turns; a corner on the axis takes its neighbours'.
  std::array<double, 3> turns(const Polygon& p) const {
    std::array<double, 3> t{};
    std::array<bool, 3> known{};
    for (int k = 0; k < 3; ++k) {
      const dvec3 r = at(p.vertices[k]) - centre_;
      const double x = glm::dot(r, a_), y = glm::dot(r, b_);
      known[k] = std::hypot(x, y) > 1e-12;
      t[k] = known[k] ? std::atan2(y, x) : 0;
    }
    int first = known[0] ? 0 : known[1] ? 1 : 2;
    for (int k = 0; k < 3; ++k) {
      if (!known[k]) continue;
      while (t[k] - t[first] > std::numbers::pi) t[k] -= 2 * std::numbers::pi;
      while (t[k] - t[first] < -std::numbers::pi) t[k] += 2 * std::numbers::pi;
    }
    // The seam: a triangle reaching below -pi goes whole to beyond it.
    const double least =
        std::min({known[0] ? t[0] : 9.0, known[1] ? t[1] : 9.0, known[2] ? t[2] : 9.0});
    for (int k = 0; k < 3; ++k)
      if (known[k] && least < -std::numbers::pi) t[k] += 2 * std::numbers::pi;
    double sum = 0;
    int n = 0;
    for (int k = 0; k < 3; ++k)
      if (known[k]) sum += t[k], ++n;
    for (int k = 0; k < 3; ++k)
      if (!known[k]) t[k] = n ? sum / n : 0;
    return t;
  }

 private:
  dvec3 centre_, up_{0, 0, 0}, a_{0, 0, 0}, b_;
};

}  // namespace

int upAxisOf(const Viewport& view) {
  return view.kind == kTopView ? 0 : 1;
}

void projectSelection(ToolContext& e, Projection how, const Viewport& view, int textureSize) {
  takeSnapshot(e.doc);
  const std::vector<Polygon*> triangles = selectedTriangles(e.doc);
  if (triangles.empty()) {
    e.consoleMessage("Project: no selected triangle.");
    return;
  }
  dvec3 lo(INFINITY), hi(-INFINITY);
  for (const Polygon* p : triangles)
    for (const Vertex* v : p->vertices) lo = glm::min(lo, at(v)), hi = glm::max(hi, at(v));
  const dvec3 centre = (lo + hi) / 2.0;
  std::vector<std::array<dvec2, 3>> corners(triangles.size());
  std::vector<int> label(triangles.size(), 0);
  if (how == Projection::kBox) {
    for (size_t t = 0; t < triangles.size(); ++t) {
      label[t] = boxSideOf(facingOf(*triangles[t]));
      const Axes& axes = kBoxSides[label[t]];
      for (int k = 0; k < 3; ++k) {
        const dvec3 p = at(triangles[t]->vertices[k]);
        corners[t][k] = {glm::dot(p, axes.across), glm::dot(p, axes.up)};
      }
    }
  } else if (how == Projection::kView) {
    // The view shows (h, v) as Side (x, y), Front (z, y), Top (z, x); the
    // Full and UV views project as Side does.
    const int hAxis = (view.kind == kFrontView || view.kind == kTopView) ? 2 : 0;
    const int vAxis = view.kind == kTopView ? 0 : 1;
    dvec3 towards(0);
    towards[3 - hAxis - vAxis] = (view.kind == kSideView || view.kind > kTopView) ? 1 : -1;
    if (view.kind == kTopView) towards = {0, 1, 0};
    for (size_t t = 0; t < triangles.size(); ++t) {
      label[t] = glm::dot(facingOf(*triangles[t]), towards) < 0 ? 1 : 0;
      for (int k = 0; k < 3; ++k) {
        const dvec3 p = at(triangles[t]->vertices[k]);
        corners[t][k] = {label[t] ? -p[hAxis] : p[hAxis], p[vAxis]};
      }
    }
  } else {
    const AboutAxis axis(centre, upAxisOf(view));
    double radius = 0;
    for (const Polygon* p : triangles)
      for (const Vertex* v : p->vertices)
        radius += how == Projection::kSphere ? glm::length(at(v) - centre) : axis.radius(at(v));
    radius = std::max(radius / (3.0 * triangles.size()), 1e-9);
    for (size_t t = 0; t < triangles.size(); ++t) {
      // Two charts, a half turn each, pack into the square better than one.
      // On the sphere the height is the sine of latitude times the radius,
      // which keeps every part's share of the area.
      const std::array<double, 3> turns = axis.turns(*triangles[t]);
      label[t] = turns[0] + turns[1] + turns[2] < 0 ? 0 : 1;
      for (int k = 0; k < 3; ++k) {
        const dvec3 p = at(triangles[t]->vertices[k]);
        const double h = axis.height(p), distance = glm::length(p - centre);
        const double v =
            how == Projection::kSphere ? (distance > 0 ? radius * h / distance : 0) : h;
        // Across, the cylinder takes each vertex's own distance from the
        // axis: a vase keeps its parts' shares of the area as a tube does.
        const double across = how == Projection::kSphere ? radius : axis.radius(p);
        corners[t][k] = {across * turns[k], v};
      }
    }
  }
  std::vector<UvChart> charts = chartsOf(triangles, corners, label);
  packCharts(charts, 2, textureSize);
  e.consoleMessage("Project: " + std::to_string(triangles.size()) + " triangles mapped in " +
                   std::to_string(charts.size()) + " charts.");
}
