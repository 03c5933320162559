// Packing of texture charts (contracts in uv_charts.h).

#include "tools/uv_charts.h"

#include <algorithm>
#include <cmath>
#include <numbers>
#include <numeric>
#include <utility>

#include <absl/container/flat_hash_map.h>
#include <glm/common.hpp>

#include "model/model.h"
#include "tools/union_find.h"

namespace {

// One end of a triangle's edge: its vertex and texture coordinates there.
struct End {
  const Vertex* vertex;
  double u, v;
  bool operator==(const End&) const = default;
  template <class H>
  friend H AbslHashValue(H h, const End& e) {
    return H::combine(std::move(h), e.vertex, e.u, e.v);
  }
};

struct Box {
  glm::dvec2 lo{0, 0}, hi{0, 0};
  double width() const { return hi.x - lo.x; }
  double height() const { return hi.y - lo.y; }
};

Box boxOf(const UvChart& chart) {
  Box box{{INFINITY, INFINITY}, {-INFINITY, -INFINITY}};
  for (const auto& triangle : chart.corners)
    for (const glm::dvec2& p : triangle) box.lo = glm::min(box.lo, p), box.hi = glm::max(box.hi, p);
  if (chart.corners.empty()) box = {};
  return box;
}

// Where each chart's box goes (its lower left corner), shelf by shelf in a
// strip `side` wide, tallest first, `gap` apart; returns the strip's height.
double shelve(const std::vector<Box>& boxes, const std::vector<size_t>& order, double side,
              double gap, std::vector<glm::dvec2>& at) {
  double x = gap, y = gap, shelf = 0;
  for (size_t i : order) {
    const double w = boxes[i].width(), h = boxes[i].height();
    if (x > gap && x + w + gap > side) x = gap, y += shelf + gap, shelf = 0;
    at[i] = {x, y};
    x += w + gap;
    shelf = std::max(shelf, h);
  }
  return y + shelf + gap;
}

// Turns a chart to the least box it has at whole steps of 3 degrees: a chart
// lying aslant in its plane would waste its box's corners.
void turnToLeastBox(UvChart& chart) {
  double best = INFINITY, bestAngle = 0;
  for (int step = 0; step < 30; ++step) {
    const double angle = step * std::numbers::pi / 60, c = std::cos(angle), s = std::sin(angle);
    glm::dvec2 lo{INFINITY, INFINITY}, hi{-INFINITY, -INFINITY};
    for (const auto& triangle : chart.corners)
      for (const glm::dvec2& p : triangle) {
        const glm::dvec2 q{c * p.x - s * p.y, s * p.x + c * p.y};
        lo = glm::min(lo, q), hi = glm::max(hi, q);
      }
    const double area = (hi.x - lo.x) * (hi.y - lo.y);
    if (area < best * 0.999) best = area, bestAngle = angle;
  }
  const double c = std::cos(bestAngle), s = std::sin(bestAngle);
  for (auto& triangle : chart.corners)
    for (glm::dvec2& p : triangle) p = {c * p.x - s * p.y, s * p.x + c * p.y};
}

}  // namespace

void packCharts(std::vector<UvChart>& charts, double marginTexels, int textureSize) {
  if (charts.empty()) return;
  // A chart wider than tall is turned upright: shelves of upright charts
  // waste less of the square.
  std::vector<Box> boxes;
  for (UvChart& chart : charts) {
    turnToLeastBox(chart);
    Box box = boxOf(chart);
    if (box.width() > box.height()) {
      for (auto& triangle : chart.corners)
        for (glm::dvec2& p : triangle) p = {p.y, -p.x};  // a quarter turn keeps the facing
      box = boxOf(chart);
    }
    for (auto& triangle : chart.corners)
      for (glm::dvec2& p : triangle) p -= box.lo;
    box.hi -= box.lo, box.lo = {0, 0};
    boxes.push_back(box);
  }
  std::vector<size_t> order(charts.size());
  std::iota(order.begin(), order.end(), 0);
  std::stable_sort(order.begin(), order.end(),
                   [&](size_t a, size_t b) { return boxes[a].height() > boxes[b].height(); });
  double area = 0, widest = 0;
  for (const Box& b : boxes) area += b.width() * b.height(), widest = std::max(widest, b.width());
  // The margin is a share of the square, so of the side being tried.
  const double margin = std::min(0.2, marginTexels / std::max(1, textureSize));
  double side = std::max({std::sqrt(area), widest, 1e-12}) / (1 - 2 * margin);
  std::vector<glm::dvec2> at(charts.size());
  for (int tries = 0;; ++tries) {
    const double gap = margin * side;
    const double height = shelve(boxes, order, side, gap, at);
    // Beyond the doubles (a model near their end), no packing: every
    // coordinate below goes to 0 rather than to a number the file cannot hold.
    if (height <= side || !std::isfinite(height) || tries > 1001) break;
    side = tries < 1000 ? side * 1.01 : height;  // taller than wide at worst: all still inside
  }
  for (size_t c = 0; c < charts.size(); ++c) {
    UvChart& chart = charts[c];
    for (size_t t = 0; t < chart.triangles.size(); ++t) {
      Polygon* p = chart.triangles[t];
      for (int k = 0; k < 3; ++k) {
        const glm::dvec2 uv = (chart.corners[t][k] + at[c]) / side;
        p->uvs[k].u = std::isfinite(uv.x) ? std::clamp(uv.x, 0.0, 1.0) : 0.0;
        p->uvs[k].v = std::isfinite(uv.y) ? std::clamp(uv.y, 0.0, 1.0) : 0.0;
        p->uvs[k].mapped = 1;
        p->uvs[k].vertex = p->vertices[k];
      }
      p->uvMapped = 1;
    }
  }
}

std::vector<UvChart> chartsAsMapped(const std::vector<Polygon*>& triangles) {
  // Union of triangles across edges whose ends match on both sides.
  UnionFind parts(triangles.size());
  absl::flat_hash_map<std::pair<End, End>, size_t> firstSide;
  for (size_t t = 0; t < triangles.size(); ++t) {
    const Polygon* p = triangles[t];
    for (int k = 0; k < 3; ++k) {
      End a{p->vertices[k], p->uvs[k].u, p->uvs[k].v};
      End b{p->vertices[(k + 1) % 3], p->uvs[(k + 1) % 3].u, p->uvs[(k + 1) % 3].v};
      if (b.vertex < a.vertex) std::swap(a, b);
      auto [found, fresh] = firstSide.try_emplace({a, b}, t);
      if (!fresh) parts.join(t, found->second);
    }
  }
  absl::flat_hash_map<size_t, size_t> chartOf;
  std::vector<UvChart> charts;
  for (size_t t = 0; t < triangles.size(); ++t) {
    auto [found, fresh] = chartOf.try_emplace(parts.root(t), charts.size());
    if (fresh) charts.emplace_back();
    UvChart& chart = charts[found->second];
    Polygon* p = triangles[t];
    chart.triangles.push_back(p);
    chart.corners.push_back({glm::dvec2{p->uvs[0].u, p->uvs[0].v},
                             {p->uvs[1].u, p->uvs[1].v},
                             {p->uvs[2].u, p->uvs[2].v}});
  }
  return charts;
}
