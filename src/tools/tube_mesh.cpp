// The mesh of a closed tube, shared by Create Cylinder and the surface of
// revolution: vertices numbered ring by ring, then the start and end cap
// centres.

#include "tools/tube_mesh.h"

#include <cassert>

#include "tools/mirror_image.h"
#include "tools/polygon_ops.h"
#include "tools/selection.h"
#include "tools/tool_context.h"

void addClosedTube(ToolContext& e, const std::vector<Vec3>& points, int levels, int sides) {
  assert(levels >= 1 && sides >= 3);
  const int ringPoints = (levels + 1) * sides;
  assert(static_cast<int>(points.size()) == ringPoints + 2);

  std::vector<Vertex*> v;
  v.reserve(points.size());
  for (const Vec3& p : points) {
    Vertex* vertex = e.doc.model->newVertex(p.x, p.y, p.z);
    e.doc.model->vertices.pushFront(vertex);
    e.doc.selectedVertices.pushFront(vertex);
    v.push_back(vertex);
  }
  Vertex* startCap = v[ringPoints];
  Vertex* endCap = v[ringPoints + 1];

  std::vector<Polygon*> triangles;
  triangles.reserve(2 * sides * (levels + 1));
  auto add = [&](Vertex* a, Vertex* b, Vertex* c) {
    triangles.push_back(e.doc.model->newPolygon(a, b, c));
  };
  for (int k = 0; k < sides; ++k) add(v[k], v[(k + 1) % sides], startCap);
  const int last = levels * sides;
  for (int k = 0; k < sides; ++k) add(v[last + k], v[last + (k + 1) % sides], endCap);
  for (int j = 0; j < last; ++j) {
    if (j % sides != sides - 1) {
      add(v[j], v[j + sides], v[j + sides + 1]);
      add(v[j], v[j + 1], v[j + sides + 1]);
    } else {  // the ring's last vertex wraps to its first
      add(v[j], v[j + sides], v[j + 1]);
      add(v[j], v[j + 1], v[j + 1 - sides]);
    }
  }

  // The centre comes from the polygons selected before, not from the tube:
  // with none selected it is the centre of the last computed box.
  const Vec3 m = computeSelectionBox(e, SelectionBoxOf::kPolygons).centre;
  for (Polygon* p : triangles) {
    const Vertex *a = p->vertices[0], *b = p->vertices[1], *c = p->vertices[2];
    const Vec3 g{(a->x + b->x + c->x) / 3, (a->y + b->y + c->y) / 3, (a->z + b->z + c->z) / 3};
    const Vec3& n = p->normal;
    if ((m.x - g.x) * n.x < 0 || (m.y - g.y) * n.y < 0 || (m.z - g.z) * n.z < 0) {
      p->flip();
      p->resetCornerNormals();
    }
    e.doc.model->currentGroup->polygons.pushFront(p);
  }
  // With mirror editing on, the mirrored tube too, sharing the vertices on the plane.
  for (Vertex* m : addMirrorImage(e, v, triangles).first) e.doc.selectedVertices.pushFront(m);
  rebuildNormals(e);
}
