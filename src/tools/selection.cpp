// Selection: rubber-band and click picks in a view, select-all and deselect,
// and the box around the selection.
//
// A pick that finds nothing yields an empty list, so a replace-mode pick on
// empty space empties the selection; add and remove with nothing found change
// nothing. A pick in the Full view picks nothing. computeSelectionBox over an
// empty list keeps the previous box and recomputes its centre.

#include <cmath>

#include "app/editor.h"
#include "app/input_codes.h"
#include "model/marks.h"

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

}  // namespace

void Editor::selectInRect(double ha, double va, double hb, double vb) {
  const Viewport& view = views[activeView];
  const int kind = view.kind;
  // A click (no movement) reaches as far as the vertex marker drawn around a
  // point, so the user can hit what they see.
  const double e =
      (ha == hb && va == vb) ? (view.right - view.left) * vertexMarkerScale * 0.01 : 0.0;
  const PickMode mode = pickMode(modifiers);

  if (tool != kSelectVertex && kind != kUvView) {
    if (tool == kSelectPolygon) {
      List<Vertex> inside = model->verticesInRect(ha, va, hb, vb, kind, e);
      List<Polygon> found = model->polygonsOfVertices(inside);
      if (mode == PickMode::kAdd) {
        Model::setPolygonsSelected(found, 1);
        selectedPolygons.addMissing(found);
      } else if (mode == PickMode::kRemove) {
        Model::setPolygonsSelected(found, 0);
        selectedPolygons.removeAll(found);
      } else {
        selectedPolygons = std::move(found);
        model->clearPolygonSelection();
        Model::setPolygonsSelected(selectedPolygons, 1);
      }
    } else if (tool == kSelectBone) {
      selectedBone = model->findBone(ha, va, hb, vb, kind, e);
    }
    return;
  }

  if (kind == kUvView) {
    List<UvPoint> found = model->uvsInRect(ha, va, hb, vb, e);
    if (mode == PickMode::kAdd) {
      addMissingByMarks(selectedUvs, found);
      Model::selectMappedUvs(found);
    } else if (mode == PickMode::kRemove) {
      selectedUvs.removeAll(found);
      Model::clearUvsSelected(found);
    } else {
      selectedUvs = std::move(found);
      model->clearUvSelection();
      Model::selectMappedUvs(selectedUvs);
    }
    return;
  }
  if (kind == kFullView) return;

  List<Vertex> found = model->verticesInRect(ha, va, hb, vb, kind, e);
  if (mode == PickMode::kAdd) {
    addMissingByMarks(selectedVertices, found);
    Model::setVerticesSelected(selectedVertices, 1);
    List<UvPoint> uvs = model->uvsOfVertices(selectedVertices);
    addMissingByMarks(selectedUvs, uvs);
    Model::selectMappedUvs(selectedUvs);
  } else if (mode == PickMode::kRemove) {
    selectedVertices.removeAll(found);
    Model::setVerticesSelected(found, 0);
    List<UvPoint> uvs = model->uvsOfVertices(found);
    selectedUvs.removeAll(uvs);
    Model::clearUvsSelected(uvs);
  } else {
    selectedVertices = std::move(found);
    model->clearVertexSelection();
    Model::setVerticesSelected(selectedVertices, 1);
    selectedUvs = model->uvsOfVertices(selectedVertices);
    Model::selectMappedUvs(selectedUvs);
  }
}

void Editor::selectAllPolygons() {
  selectedPolygons.clear();
  selectedPolygons.pushFrontAll(model->currentGroup->polygons);
  Model::setPolygonsSelected(selectedPolygons, 1);
}

void Editor::deselectPolygons() {
  model->clearPolygonSelection();
  selectedPolygons.clear();
}

// Vertex flags are left alone: only the list is the authority for vertex tools.
void Editor::selectAllVertices() {
  selectedVertices.clear();
  selectedVertices.pushFrontAll(model->vertices);
}

// UV points and vertex flags stay as they are; the bone selection goes.
void Editor::deselectAll() {
  deselectPolygons();
  selectedVertices.clear();
  selectedBone = nullptr;
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

void Editor::computeSelectionBox(int kind) {
  BoxGrower box;
  switch (kind) {
    case 0:
      for (Vertex* v : selectedVertices) box.add(v->x, v->y, v->z);
      break;
    case 1:
      for (Polygon* p : selectedPolygons) {
        for (Vertex* v : p->vertices) box.add(v->x, v->y, v->z);
      }
      break;
    case 2:
      for (UvPoint* uv : selectedUvs) box.add(uv->u, uv->v, 0);
      break;
    default:
      return;
  }
  if (kind == 2) {
    if (box.started) {
      uvSelectionMin = UvPair{box.min.x, box.min.y};
      uvSelectionMax = UvPair{box.max.x, box.max.y};
    }
    uvSelectionCentre = UvPair{middle(uvSelectionMin.u, uvSelectionMax.u),
                               middle(uvSelectionMin.v, uvSelectionMax.v)};
    return;
  }
  if (box.started) {
    selectionMin = box.min;
    selectionMax = box.max;
  }
  selectionCentre =
      Vec3{middle(selectionMin.x, selectionMax.x), middle(selectionMin.y, selectionMax.y),
           middle(selectionMin.z, selectionMax.z)};
}
