// Picks, select-all and deselect, and the selection box (contracts in selection.h).

#include <cmath>

#include "model/marks.h"
#include "tools/animation_mode.h"
#include "tools/animation_rules.h"
#include "tools/selection.h"
#include "tools/tool_context.h"
#include "view/input_codes.h"

namespace {

enum class PickMode { kReplace, kAdd, kRemove };

// Only Shift, Ctrl and Alt count: lock keys add higher bits that must not turn
// an add or remove into a replace.
PickMode pickMode(int modifiers) {
  switch (modifiers & kModifierMask) {
    case kShift:
      return PickMode::kAdd;
    case kCtrl:
      return PickMode::kRemove;
    default:
      return PickMode::kReplace;
  }
}

// The vertices the views show in the rectangle: posed in animation mode.
List<Vertex> shownVerticesInRect(ToolContext& e, double a, double b, double c, double d, int plane,
                                 double tolerance) {
  if (modeRule(e, ModeRule::kTool, e.toolState.tool))
    return posedVerticesInRect(e, a, b, c, d, plane, tolerance);
  return e.doc.model->verticesInRect(a, b, c, d, plane, tolerance);
}

}  // namespace

void selectInRect(ToolContext& e, double ha, double va, double hb, double vb) {
  const Viewport& view = e.viewSet.views[e.viewSet.activeView];
  const int kind = view.kind;
  // A click (no movement) reaches as far as the vertex marker drawn around a
  // point, so the user can hit what they see.
  const double reach =
      (ha == hb && va == vb) ? (view.right - view.left) * e.viewSet.vertexMarkerScale * 0.01 : 0.0;
  const PickMode mode = pickMode(e.pointer.modifiers);

  if (e.toolState.tool != kSelectVertex && kind != kUvView) {
    if (e.toolState.tool == kSelectPolygon) {
      List<Vertex> inside = shownVerticesInRect(e, ha, va, hb, vb, kind, reach);
      List<Polygon> found = e.doc.model->polygonsOfVertices(inside);
      if (mode == PickMode::kAdd) {
        Model::setPolygonsSelected(found, 1);
        e.doc.selectedPolygons.addMissing(found);
      } else if (mode == PickMode::kRemove) {
        Model::setPolygonsSelected(found, 0);
        e.doc.selectedPolygons.removeAll(found);
      } else {
        e.doc.selectedPolygons = std::move(found);
        e.doc.model->clearPolygonSelection();
        Model::setPolygonsSelected(e.doc.selectedPolygons, 1);
      }
    } else if (e.toolState.tool == kSelectBone) {
      e.doc.selectedBone = modeRule(e, ModeRule::kTool, kSelectBone)
                               ? findPosedBone(e, ha, va, hb, vb, kind)
                               : e.doc.model->findBone(ha, va, hb, vb, kind, reach);
    }
    return;
  }

  if (kind == kUvView) {
    List<UvPoint> found = e.doc.model->uvsInRect(ha, va, hb, vb, reach);
    if (mode == PickMode::kAdd) {
      addMissingByMarks(e.doc.selectedUvs, found);
      Model::selectMappedUvs(found);
    } else if (mode == PickMode::kRemove) {
      e.doc.selectedUvs.removeAll(found);
      Model::clearUvsSelected(found);
    } else {
      e.doc.selectedUvs = std::move(found);
      e.doc.model->clearUvSelection();
      Model::selectMappedUvs(e.doc.selectedUvs);
    }
    return;
  }
  if (kind == kFullView) return;

  List<Vertex> found = shownVerticesInRect(e, ha, va, hb, vb, kind, reach);
  if (mode == PickMode::kAdd) {
    addMissingByMarks(e.doc.selectedVertices, found);
    Model::setVerticesSelected(e.doc.selectedVertices, 1);
    List<UvPoint> uvs = e.doc.model->uvsOfVertices(e.doc.selectedVertices);
    addMissingByMarks(e.doc.selectedUvs, uvs);
    Model::selectMappedUvs(e.doc.selectedUvs);
  } else if (mode == PickMode::kRemove) {
    e.doc.selectedVertices.removeAll(found);
    Model::setVerticesSelected(found, 0);
    List<UvPoint> uvs = e.doc.model->uvsOfVertices(found);
    e.doc.selectedUvs.removeAll(uvs);
    Model::clearUvsSelected(uvs);
  } else {
    e.doc.selectedVertices = std::move(found);
    e.doc.model->clearVertexSelection();
    Model::setVerticesSelected(e.doc.selectedVertices, 1);
    e.doc.selectedUvs = e.doc.model->uvsOfVertices(e.doc.selectedVertices);
    Model::selectMappedUvs(e.doc.selectedUvs);
  }
}

void selectAllPolygons(ToolContext& e) {
  e.doc.selectedPolygons.clear();
  e.doc.selectedPolygons.pushFrontAll(e.doc.model->currentGroup->polygons);
  Model::setPolygonsSelected(e.doc.selectedPolygons, 1);
}

void deselectPolygons(ToolContext& e) {
  e.doc.model->clearPolygonSelection();
  e.doc.selectedPolygons.clear();
}

// Vertex flags are left alone: only the list is the authority for vertex tools.
void selectAllVertices(ToolContext& e) {
  e.doc.selectedVertices.clear();
  e.doc.selectedVertices.pushFrontAll(e.doc.model->vertices);
}

// UV points and vertex flags stay as they are; the bone selection goes.
void deselectAll(ToolContext& e) {
  deselectPolygons(e);
  e.doc.selectedVertices.clear();
  e.doc.selectedBone = nullptr;
}

namespace {

// Grows a box over points: the first point sets it, later ones widen it.
struct BoxGrower {
  bool started = false;
  Vec3 min, max;
  void add(double x, double y, double z) {
    if (!started) {
      min = max = Vec3{x, y, z};
      started = true;
      return;
    }
    if (x > max.x) max.x = x;
    if (x < min.x) min.x = x;
    if (y > max.y) max.y = y;
    if (y < min.y) min.y = y;
    if (z > max.z) max.z = z;
    if (z < min.z) min.z = z;
  }
};

double middle(double min, double max) {
  const double plain = min + (max - min) * 0.5;
  // A box wider than the largest double overflows the plain form.
  return std::isfinite(plain) ? plain : min * 0.5 + max * 0.5;
}

}  // namespace

SelectionBox computeSelectionBox(ToolContext& e, SelectionBoxOf of) {
  BoxGrower box;
  switch (of) {
    case SelectionBoxOf::kVertices:
      for (Vertex* v : e.doc.selectedVertices) box.add(v->x, v->y, v->z);
      break;
    case SelectionBoxOf::kPolygons:
      for (Polygon* p : e.doc.selectedPolygons) {
        for (Vertex* v : p->vertices) box.add(v->x, v->y, v->z);
      }
      break;
    case SelectionBoxOf::kUvs:
      for (UvPoint* uv : e.doc.selectedUvs) box.add(uv->u, uv->v, 0);
      break;
    default:  // not a kind of box: nothing changes
      return {e.toolState.selectionMin, e.toolState.selectionMax, e.toolState.selectionCentre};
  }
  if (of == SelectionBoxOf::kUvs) {
    if (box.started) {
      e.toolState.uvSelectionMin = UvPair{box.min.x, box.min.y};
      e.toolState.uvSelectionMax = UvPair{box.max.x, box.max.y};
    }
    const UvPair lo = e.toolState.uvSelectionMin, hi = e.toolState.uvSelectionMax;
    e.toolState.uvSelectionCentre = UvPair{middle(lo.u, hi.u), middle(lo.v, hi.v)};
    return {Vec3{lo.u, lo.v, 0}, Vec3{hi.u, hi.v, 0},
            Vec3{e.toolState.uvSelectionCentre.u, e.toolState.uvSelectionCentre.v, 0}};
  }
  if (box.started) {
    e.toolState.selectionMin = box.min;
    e.toolState.selectionMax = box.max;
  }
  const Vec3 lo = e.toolState.selectionMin, hi = e.toolState.selectionMax;
  e.toolState.selectionCentre = Vec3{middle(lo.x, hi.x), middle(lo.y, hi.y), middle(lo.z, hi.z)};
  return {lo, hi, e.toolState.selectionCentre};
}
