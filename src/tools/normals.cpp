// Normals and shading (contracts in polygon_ops.h).

#include <cmath>
#include <vector>

#include "model/marks.h"
#include "tools/polygon_ops.h"
#include "tools/tool_context.h"

void rebuildNormals(ToolContext& e) {
  List<Polygon> smooth;
  for (Polygon* p : e.doc.model->currentGroup->polygons) {
    p->computeNormal();
    if (p->smooth) {
      smooth.pushFront(p);
    } else {
      p->resetCornerNormals();
    }
  }
  smoothPolygons(smooth);
}

// Each vertex gets one normal: the sum of the face normals of the polygons of
// `list` that use it, normalised. A polygon counts once per vertex however many
// of its corners are that vertex, and only its first such corner is set; a
// polygon listed twice counts twice. Sums run in list order.
void smoothPolygons(List<Polygon>& list) {
  // Each vertex met gets the number of its sum in `sums`.
  const uint64_t pass = newMarkPass();
  std::vector<Vec3> sums;
  for (Polygon* p : list) {
    p->smooth = 1;
    for (int i = 0; i < 3; ++i) {
      Vertex* v = p->vertices[i];
      if ((i > 0 && v == p->vertices[0]) || (i > 1 && v == p->vertices[1])) continue;
      if (!isMarked(v, pass)) {
        v->markPass = pass;
        v->markNumber = static_cast<uint32_t>(sums.size());
        sums.emplace_back();
      }
      Vec3& s = sums[v->markNumber];
      s.x += p->normal.x;
      s.y += p->normal.y;
      s.z += p->normal.z;
    }
  }
  for (Polygon* p : list) {
    for (int i = 0; i < 3; ++i) {
      const Vertex* v = p->vertices[i];
      if ((i > 0 && v == p->vertices[0]) || (i > 1 && v == p->vertices[1])) continue;
      const Vec3& s = sums[v->markNumber];
      const double len = std::sqrt(s.x * s.x + s.y * s.y + s.z * s.z);
      p->cornerNormals[i] = len > 0 ? Vec3{s.x / len, s.y / len, s.z / len} : p->normal;
    }
  }
}

void flattenPolygons(ToolContext& e) {
  for (Polygon* p : e.doc.selectedPolygons) {
    p->resetCornerNormals();
    p->smooth = 0;
  }
}
