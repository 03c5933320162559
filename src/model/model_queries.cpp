// The model's queries and bulk flag helpers. Every query is one walk over the
// model with O(1) membership tests (vertex marks), so rubber bands over large
// models stay fast.

#include <algorithm>
#include <cstdio>
#include <cstring>

#include "model/marks.h"
#include "model/model.h"
#include "model/span.h"

namespace {

// `text` printed `times` times over, in a few large writes.
void printRepeated(const char* text, size_t times) {
  const size_t length = std::strlen(text);
  std::string block;
  for (size_t i = 0; i < std::min<size_t>(times, 4096); ++i) block += text;
  for (size_t left = times; left > 0;) {
    const size_t now = std::min<size_t>(left, 4096);
    std::fwrite(block.data(), 1, now * length, stdout);
    left -= now;
  }
}

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
  const uint64_t pass = newMarkPass();
  markAll(list, pass);
  for (Polygon* polygon : currentGroup->polygons) {
    if (isMarked(polygon->vertices[0], pass) && isMarked(polygon->vertices[1], pass) &&
        isMarked(polygon->vertices[2], pass)) {
      found.pushFront(polygon);
    }
  }
  printRepeated("Found polygon!", found.count());
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
  const uint64_t pass = newMarkPass();
  markAll(list, pass);
  for (Polygon* polygon : currentGroup->polygons) {
    if (!polygon->uvMapped) continue;
    for (UvPoint& uv : polygon->uvs) {
      if (uv.mapped && isMarked(uv.vertex, pass)) found.pushFront(&uv);
    }
  }
  return found;
}

List<Vertex> Model::distinctVertices(List<Polygon>& polygons) {
  List<Vertex> found;
  const uint64_t pass = newMarkPass();
  for (Polygon* polygon : polygons) {
    for (Vertex* vertex : polygon->vertices) {
      if (isMarked(vertex, pass)) continue;
      vertex->markPass = pass;
      found.pushFront(vertex);
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
