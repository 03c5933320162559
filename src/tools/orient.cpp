// Facing of the selected polygons (contracts in polygon_ops.h).

#include <cstdio>

#include <absl/container/flat_hash_set.h>

#include "recovery/recovery_session.h"
#include "tools/polygon_ops.h"
#include "tools/selection.h"
#include "tools/tool_context.h"

// A polygon is turned when its normal does not point away from the centre on
// any axis: a per-axis test that suits boxes and other shapes whose faces are
// mostly aligned with the axes.
void orientPolygonsOutward(ToolContext& e) {
  const Vec3 m = computeSelectionBox(e, SelectionBoxOf::kPolygons).centre;
  std::printf("Center: [%lf %lf %lf]\n\n", m.x, m.y, m.z);
  bool turned = false;
  for (Polygon* p : e.doc.selectedPolygons) {
    const Vertex* a = p->vertices[0];
    const Vertex* b = p->vertices[1];
    const Vertex* c = p->vertices[2];
    const double third = 0.3333333333333333;
    const Vec3 g{(a->x + b->x + c->x) * third, (a->y + b->y + c->y) * third,
                 (a->z + b->z + c->z) * third};
    const Vec3& n = p->normal;
    if ((m.x - g.x) * n.x >= 0 && (m.y - g.y) * n.y >= 0 && (m.z - g.z) * n.z >= 0) {
      p->flip();
      p->resetCornerNormals();
      turned = true;
    }
  }
  // Without an undo step, still an unsaved change that the recovery file keeps.
  if (turned) e.doc.changedWithoutUndoStep();
}

// Corner normals follow at the next rebuild of the normals.
void flipSelectedPolygons(ToolContext& e) {
  absl::flat_hash_set<const Polygon*> done;
  done.reserve(e.doc.selectedPolygons.count());
  for (Polygon* p : e.doc.selectedPolygons) {
    if (done.insert(p).second) p->flip();
  }
  if (!done.empty()) e.doc.changedWithoutUndoStep();
}
