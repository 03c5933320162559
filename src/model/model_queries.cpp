// The model's queries and bulk flag helpers. Every query is one walk over the
// model with O(1) membership tests, so rubber bands over large models stay fast.

#include <algorithm>
#include <cstdio>

#include "model/model.h"

namespace {

// A closed interval from two unordered bounds, widened on both sides.
struct Span {
  double low, high;
  Span(double a, double b, double widen)
      : low(std::min(a, b) - widen), high(std::max(a, b) + widen) {}
  bool holds(double value) const { return low <= value && value <= high; }
};

}  // namespace

List<Vertex> Model::verticesInRect(double a, double b, double c, double d, int plane,
                                   double tolerance) {
  List<Vertex> found;
  if (plane < 0 || plane > 2) return found;
  const Span horizontal(a, c, tolerance);
  const Span vertical(b, d, tolerance);
  for (Vertex* vertex : vertices) {
    // Side view: x right, y up; front view: z right, y up; top view: z right, x up.
    const double h = plane == 0 ? vertex->x : vertex->z;
    const double v = plane == 2 ? vertex->x : vertex->y;
    if (horizontal.holds(h) && vertical.holds(v)) found.pushFront(vertex);
  }
  return found;
}

List<Polygon> Model::polygonsOfVertices(List<Vertex>& list) {
  List<Polygon> found;
  if (list.empty()) return found;
  for (Polygon* polygon : currentGroup->polygons) {
    if (list.contains(polygon->vertices[0]) && list.contains(polygon->vertices[1]) &&
        list.contains(polygon->vertices[2])) {
      std::printf("Found polygon!");
      found.pushFront(polygon);
    }
  }
  return found;
}

List<UvPoint> Model::uvsInRect(double a, double b, double c, double d, double tolerance) {
  List<UvPoint> found;
  const Span uSpan(a, c, tolerance);
  const Span vSpan(b, d, tolerance);
  for (Polygon* polygon : currentGroup->polygons) {
    if (!polygon->uvMapped) continue;
    for (UvPoint& uv : polygon->uvs) {
      if (uSpan.holds(uv.u) && vSpan.holds(uv.v)) found.pushFront(&uv);
    }
  }
  return found;
}

List<UvPoint> Model::uvsOfVertices(List<Vertex>& list) {
  List<UvPoint> found;
  if (list.empty()) return found;
  for (Polygon* polygon : currentGroup->polygons) {
    if (!polygon->uvMapped) continue;
    for (UvPoint& uv : polygon->uvs) {
      if (uv.mapped && list.contains(uv.vertex)) found.pushFront(&uv);
    }
  }
  return found;
}

List<Vertex> Model::distinctVertices(List<Polygon>& polygons) {
  List<Vertex> found;
  for (Polygon* polygon : polygons) {
    for (Vertex* vertex : polygon->vertices) {
      if (!found.contains(vertex)) found.pushFront(vertex);
    }
  }
  return found;
}

void Model::setPolygonsSelected(List<Polygon>& list, int value) {
  for (Polygon* polygon : list) polygon->selected = value;
}

void Model::setVerticesSelected(List<Vertex>& list, int value) {
  for (Vertex* vertex : list) vertex->selected = value;
}

void Model::clearUvsSelected(List<UvPoint>& list) {
  for (UvPoint* uv : list) uv->selected = 0;
}

void Model::selectMappedUvs(List<UvPoint>& list) {
  for (UvPoint* uv : list) {
    if (uv->mapped) uv->selected = 1;
  }
}

void Model::clearPolygonSelection() {
  for (Polygon* polygon : currentGroup->polygons) polygon->selected = 0;
}

void Model::clearVertexSelection() {
  for (Vertex* vertex : vertices) vertex->selected = 0;
}

void Model::clearUvSelection() {
  for (Polygon* polygon : currentGroup->polygons) {
    for (UvPoint& uv : polygon->uvs) uv.selected = 0;
  }
}

void Model::assignPolygonsToBone(Bone* bone, List<Polygon>& list) {
  for (Polygon* polygon : list) polygon->bone = bone;
}
