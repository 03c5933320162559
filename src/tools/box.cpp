// Create Box (contract in creation.h).

#include <vector>

#include "document/undo.h"
#include "tools/creation.h"
#include "tools/mirror_image.h"
#include "tools/polygon_ops.h"
#include "tools/selection.h"
#include "tools/snapping.h"
#include "tools/tool_context.h"

namespace {

// Corners by vertex number: 0-3 the bottom (y0) face, 4-7 the top (y1) face.
constexpr int kTriangles[12][3] = {
    {0, 1, 2}, {2, 3, 0}, {0, 1, 5}, {5, 4, 0}, {1, 5, 6}, {6, 2, 1},
    {2, 3, 6}, {6, 7, 3}, {7, 3, 0}, {0, 4, 7}, {4, 7, 6}, {6, 5, 4},
};

}  // namespace

void createBox(ToolContext& e) {
  const Viewport& view = e.viewSet.views[e.viewSet.activeView];
  const auto [hp, vp] = snappedViewPoint(e, e.pointer.pressX, e.pointer.pressY);
  const auto [hr, vr] = snappedViewPoint(e, e.pointer.mouseX, e.pointer.mouseY);
  switch (view.kind) {
    case kSideView:
      e.toolState.boxCorner = {hp, hr, vp, vr, 0, 1};
      break;
    case kFrontView:
      e.toolState.boxCorner = {0, 1, vp, vr, hp, hr};
      break;
    case kTopView:
      e.toolState.boxCorner = {vp, vr, 0, 1, hp, hr};
      break;
    default:
      return;
  }
  takeSnapshot(e.doc);

  const BoxCorners& b = e.toolState.boxCorner;
  const Vec3 corners[8] = {
      {b.x0, b.y0, b.z0}, {b.x1, b.y0, b.z0}, {b.x1, b.y0, b.z1}, {b.x0, b.y0, b.z1},
      {b.x0, b.y1, b.z0}, {b.x1, b.y1, b.z0}, {b.x1, b.y1, b.z1}, {b.x0, b.y1, b.z1},
  };
  std::vector<Vertex*> v(8);
  e.doc.selectedVertices.clear();
  for (int i = 0; i < 8; ++i) {
    v[i] = e.doc.model->newVertex(corners[i].x, corners[i].y, corners[i].z);
    e.doc.model->vertices.pushFront(v[i]);
    e.doc.selectedVertices.pushFront(v[i]);
  }
  computeSelectionBox(e, SelectionBoxOf::kVertices);

  e.doc.selectedPolygons.clear();
  std::vector<Polygon*> triangles;
  for (const auto& t : kTriangles) {
    Polygon* p = e.doc.model->newPolygon(v[t[0]], v[t[1]], v[t[2]]);
    e.doc.model->currentGroup->polygons.pushFront(p);
    e.doc.selectedPolygons.pushFront(p);
    triangles.push_back(p);
  }
  rebuildNormals(e);
  // The winding above depends on the drag direction; the centre test fixes it.
  orientPolygonsOutward(e);
  e.doc.selectedPolygons.clear();
  // With mirror editing on, the mirrored box too, sharing the vertices on the plane.
  for (Vertex* m : addMirrorImage(e, v, triangles).first) e.doc.selectedVertices.pushFront(m);
  rebuildNormals(e);
}
