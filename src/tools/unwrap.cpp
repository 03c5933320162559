// Unwrap (contract in unwrap.h).

#include "tools/unwrap.h"

#include <algorithm>
#include <array>
#include <cmath>
#include <numbers>
#include <numeric>
#include <string>
#include <vector>

#include <absl/container/flat_hash_map.h>
#include <Eigen/Sparse>
#include <Eigen/SparseCholesky>
#include <glm/common.hpp>
#include <glm/geometric.hpp>
#include <glm/vec3.hpp>

#include "document/undo.h"
#include "tools/tool_context.h"
#include "tools/union_find.h"
#include "tools/uv_charts.h"

namespace {

using glm::dvec2;
using glm::dvec3;

dvec3 at(const Vertex* v) {
  return {v->x, v->y, v->z};
}

struct Triangle {
  Polygon* polygon;
  int group;
  dvec3 corner[3];  // in the order the triangle faces by (its stored order)
  int order[3];     // corner k is vertices[order[k]]
  dvec3 facing;     // unit, or zero for a degenerate triangle
};

Triangle triangleOf(Polygon* p, int group) {
  Triangle t{p, group, {}, {}, {}};
  for (int k = 0; k < 3; ++k)
    t.order[k] = p->storedCorner(k), t.corner[k] = at(p->vertices[t.order[k]]);
  const dvec3 n = glm::cross(t.corner[1] - t.corner[0], t.corner[2] - t.corner[1]);
  const double length = glm::length(n);
  t.facing = length > 0 ? n / length : dvec3(0);
  return t;
}

using Chart = std::vector<size_t>;  // triangle numbers

// Charts cut at seams, sharp edges, group and bone borders and edges of three
// or more.
std::vector<Chart> cutIntoCharts(const std::vector<Triangle>& triangles, const SeamSet& seams,
                                 double angleDegrees) {
  const double cosLimit = std::cos(angleDegrees * std::numbers::pi / 180);
  absl::flat_hash_map<std::pair<const Vertex*, const Vertex*>, std::vector<size_t>> edges;
  for (size_t t = 0; t < triangles.size(); ++t)
    for (int k = 0; k < 3; ++k) {
      const Vertex *a = triangles[t].polygon->vertices[k],
                   *b = triangles[t].polygon->vertices[(k + 1) % 3];
      edges[a < b ? std::pair{a, b} : std::pair{b, a}].push_back(t);
    }
  UnionFind charts(triangles.size());
  for (const auto& [edge, sides] : edges) {
    if (sides.size() != 2 || seams.contains(edge.first, edge.second)) continue;
    const Triangle &a = triangles[sides[0]], &b = triangles[sides[1]];
    if (a.group != b.group || a.polygon->bone != b.polygon->bone) continue;
    if (glm::dot(a.facing, b.facing) < cosLimit) continue;
    charts.join(sides[0], sides[1]);
  }
  absl::flat_hash_map<size_t, size_t> chartOf;
  std::vector<Chart> found;
  for (size_t t = 0; t < triangles.size(); ++t) {
    auto [slot, fresh] = chartOf.try_emplace(charts.root(t), found.size());
    if (fresh) found.emplace_back();
    found[slot->second].push_back(t);
  }
  return found;
}

// Vertices - edges + triangles: 1 for a piece that lies flat as one (a disc).
int eulerCharacteristic(const std::vector<Triangle>& triangles, const Chart& chart) {
  absl::flat_hash_map<const Vertex*, int> vertices;
  absl::flat_hash_map<std::pair<const Vertex*, const Vertex*>, int> edges;
  for (size_t t : chart)
    for (int k = 0; k < 3; ++k) {
      const Vertex *a = triangles[t].polygon->vertices[k],
                   *b = triangles[t].polygon->vertices[(k + 1) % 3];
      vertices[a] = 0;
      edges[a < b ? std::pair{a, b} : std::pair{b, a}] = 0;
    }
  return static_cast<int>(vertices.size() - edges.size() + chart.size());
}

// The pieces of a chart that hang together by edges: halving may leave a half
// in parts, and a part not tied to the others would flatten anywhere.
std::vector<Chart> connectedParts(const std::vector<Triangle>& triangles, const Chart& chart) {
  absl::flat_hash_map<std::pair<const Vertex*, const Vertex*>, size_t> firstSide;
  UnionFind parts(chart.size());
  for (size_t i = 0; i < chart.size(); ++i)
    for (int k = 0; k < 3; ++k) {
      const Polygon* p = triangles[chart[i]].polygon;
      const Vertex *a = p->vertices[k], *b = p->vertices[(k + 1) % 3];
      auto [slot, fresh] = firstSide.try_emplace(a < b ? std::pair{a, b} : std::pair{b, a}, i);
      if (!fresh) parts.join(i, slot->second);
    }
  absl::flat_hash_map<size_t, size_t> partOf;
  std::vector<Chart> found;
  for (size_t i = 0; i < chart.size(); ++i) {
    auto [slot, fresh] = partOf.try_emplace(parts.root(i), found.size());
    if (fresh) found.emplace_back();
    found[slot->second].push_back(chart[i]);
  }
  return found;
}

// How far a chart is from flat: the length of its facings' mean, weighted by
// area (1 for a plane, 1/2 for a hemisphere).
double flatness(const std::vector<Triangle>& triangles, const Chart& chart) {
  dvec3 sum(0);
  double area = 0;
  for (size_t t : chart) {
    const Triangle& x = triangles[t];
    const double a = glm::length(glm::cross(x.corner[1] - x.corner[0], x.corner[2] - x.corner[0]));
    sum += a * x.facing, area += a;
  }
  return area > 0 ? glm::length(sum) / area : 1;
}

// Halves a chart across its longest extent, by the middle of its triangles,
// until every piece is a disc that bends no more than an eighth of a sphere
// (so that flattening it keeps the triangles' shares of the area).
void cutIntoDiscs(const std::vector<Triangle>& triangles, Chart chart, std::vector<Chart>& out) {
  if (chart.size() <= 1 ||
      (flatness(triangles, chart) >= 0.75 && eulerCharacteristic(triangles, chart) == 1)) {
    out.push_back(std::move(chart));
    return;
  }
  dvec3 lo(INFINITY), hi(-INFINITY);
  auto centroid = [&](size_t t) {
    const Triangle& x = triangles[t];
    return (x.corner[0] + x.corner[1] + x.corner[2]) / 3.0;
  };
  for (size_t t : chart) lo = glm::min(lo, centroid(t)), hi = glm::max(hi, centroid(t));
  const dvec3 extent = hi - lo;
  const int axis =
      (extent.x >= extent.y && extent.x >= extent.z) ? 0 : (extent.y >= extent.z ? 1 : 2);
  const size_t half = chart.size() / 2;
  std::nth_element(chart.begin(), chart.begin() + half, chart.end(),
                   [&](size_t a, size_t b) { return centroid(a)[axis] < centroid(b)[axis]; });
  for (const Chart& halfChart :
       {Chart(chart.begin(), chart.begin() + half), Chart(chart.begin() + half, chart.end())})
    for (Chart& part : connectedParts(triangles, halfChart))
      cutIntoDiscs(triangles, std::move(part), out);
}

// The least-squares conformal map of one disc: each vertex a point, two of
// them pinned at the chart's ends.
UvChart flatten(const std::vector<Triangle>& triangles, const Chart& chart) {
  absl::flat_hash_map<const Vertex*, int> number;
  std::vector<const Vertex*> vertices;
  for (size_t t : chart)
    for (int k = 0; k < 3; ++k) {
      const Vertex* v = triangles[t].polygon->vertices[triangles[t].order[k]];
      if (number.try_emplace(v, static_cast<int>(vertices.size())).second) vertices.push_back(v);
    }
  const int n = static_cast<int>(vertices.size());
  // The pins: the two vertices furthest apart along the chart's longest extent.
  dvec3 lo(INFINITY), hi(-INFINITY);
  for (const Vertex* v : vertices) lo = glm::min(lo, at(v)), hi = glm::max(hi, at(v));
  const dvec3 extent = hi - lo;
  const int axis =
      (extent.x >= extent.y && extent.x >= extent.z) ? 0 : (extent.y >= extent.z ? 1 : 2);
  int pinA = 0, pinB = 0;
  for (int i = 0; i < n; ++i) {
    if (at(vertices[i])[axis] < at(vertices[pinA])[axis]) pinA = i;
    if (at(vertices[i])[axis] > at(vertices[pinB])[axis]) pinB = i;
  }
  std::vector<dvec2> point(n, dvec2(0));
  point[pinB] = {glm::length(at(vertices[pinB]) - at(vertices[pinA])), 0};
  if (n > 2 && pinA != pinB) {
    // Unknowns: u and v of every vertex but the pins, two rows a triangle.
    std::vector<int> column(n, -1);
    int free = 0;
    for (int i = 0; i < n; ++i)
      if (i != pinA && i != pinB) column[i] = free++;
    std::vector<Eigen::Triplet<double>> entries;
    Eigen::VectorXd rhs = Eigen::VectorXd::Zero(2 * chart.size());
    int row = 0;
    for (size_t t : chart) {
      const Triangle& x = triangles[t];
      const dvec3 e1 = x.corner[1] - x.corner[0], e2 = x.corner[2] - x.corner[0];
      const double l1 = glm::length(e1);
      const double twiceArea = glm::length(glm::cross(e1, e2));
      if (l1 <= 0 || twiceArea <= 1e-300) {
        row += 2;
        continue;
      }
      const dvec3 ex = e1 / l1, ey = glm::normalize(glm::cross(x.facing, ex));
      const dvec2 p[3] = {{0, 0}, {l1, 0}, {glm::dot(e2, ex), glm::dot(e2, ey)}};
      const double scale = 1 / std::sqrt(twiceArea);
      for (int k = 0; k < 3; ++k) {
        const dvec2 w = (p[(k + 2) % 3] - p[(k + 1) % 3]) * scale;  // the opposite edge
        const int i = number[x.polygon->vertices[x.order[k]]];
        // Re: a u - b v; Im: b u + a v.
        if (column[i] >= 0) {
          entries.emplace_back(row, 2 * column[i], w.x);
          entries.emplace_back(row, 2 * column[i] + 1, -w.y);
          entries.emplace_back(row + 1, 2 * column[i], w.y);
          entries.emplace_back(row + 1, 2 * column[i] + 1, w.x);
        } else {
          rhs[row] -= w.x * point[i].x - w.y * point[i].y;
          rhs[row + 1] -= w.y * point[i].x + w.x * point[i].y;
        }
      }
      row += 2;
    }
    Eigen::SparseMatrix<double> a(2 * chart.size(), 2 * free);
    a.setFromTriplets(entries.begin(), entries.end());
    const Eigen::SparseMatrix<double> normal = a.transpose() * a;
    Eigen::SimplicialLDLT<Eigen::SparseMatrix<double>> solver(normal);
    if (solver.info() == Eigen::Success) {
      const Eigen::VectorXd x = solver.solve(a.transpose() * rhs);
      for (int i = 0; i < n; ++i)
        if (column[i] >= 0 && std::isfinite(x[2 * column[i]]) &&
            std::isfinite(x[2 * column[i] + 1]))
          point[i] = {x[2 * column[i]], x[2 * column[i] + 1]};
    }
  }
  UvChart out;
  double signedArea = 0;
  for (size_t t : chart) {
    const Triangle& x = triangles[t];
    std::array<dvec2, 3> corners;
    for (int k = 0; k < 3; ++k)
      corners[x.order[k]] = point[number[x.polygon->vertices[x.order[k]]]];
    const dvec2 a = corners[x.order[0]], b = corners[x.order[1]], c = corners[x.order[2]];
    signedArea += (b.x - a.x) * (c.y - a.y) - (b.y - a.y) * (c.x - a.x);
    out.triangles.push_back(x.polygon);
    out.corners.push_back(corners);
  }
  // A map that came out mirrored as a whole is turned over.
  if (signedArea < 0)
    for (auto& corners : out.corners)
      for (dvec2& p : corners) p.x = -p.x;
  return out;
}

}  // namespace

void unwrapSelection(ToolContext& e, double angleDegrees, int textureSize) {
  takeSnapshot(e.doc);
  absl::flat_hash_map<const Polygon*, bool> selected;
  for (Polygon* p : e.doc.selectedPolygons) selected[p] = true;
  std::vector<Triangle> triangles;
  int group = 0;
  for (PolygonGroup* g : e.doc.model->groups) {
    for (Polygon* p : g->polygons)
      if (selected.erase(p)) triangles.push_back(triangleOf(p, group));
    ++group;
  }
  if (triangles.empty()) {
    e.consoleMessage("Unwrap: no selected triangle.");
    return;
  }
  std::vector<Chart> discs;
  for (Chart& chart : cutIntoCharts(triangles, e.doc.model->seams, angleDegrees))
    cutIntoDiscs(triangles, std::move(chart), discs);
  std::vector<UvChart> charts;
  charts.reserve(discs.size());
  for (const Chart& disc : discs) charts.push_back(flatten(triangles, disc));
  packCharts(charts, 2, textureSize);
  e.consoleMessage("Unwrap: " + std::to_string(triangles.size()) + " triangles in " +
                   std::to_string(charts.size()) + " charts.");
}
