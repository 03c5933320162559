// Fit in view (contract in fit_views.h).

#include "tools/fit_views.h"

#include <vector>

#include "app/editor.h"
#include "model/skeleton.h"
#include "view/view_fit.h"

namespace {

void addPoint(ModelBounds& bounds, const Vertex* v) {
  if (v) bounds.add(v->x, v->y, v->z);
}

ModelBounds selectionBounds(const Editor& e) {
  ModelBounds bounds;
  for (const Vertex* v : e.selectedVertices) addPoint(bounds, v);
  for (const Polygon* p : e.selectedPolygons)
    for (const Vertex* corner : p->vertices) addPoint(bounds, corner);
  if (e.selectedBone) {
    addPoint(bounds, e.selectedBone->start);
    addPoint(bounds, e.selectedBone->end);
  }
  return bounds;
}

ModelBounds modelBounds(const Model& model) {
  ModelBounds bounds;
  for (const Vertex* v : model.vertices) addPoint(bounds, v);
  std::vector<const Bone*> bones;
  if (model.hasSkeleton && model.rootBone()) bones.push_back(model.rootBone());
  while (!bones.empty()) {
    const Bone* bone = bones.back();
    bones.pop_back();
    addPoint(bounds, bone->end);
    bones.insert(bones.end(), bone->children.begin(), bone->children.end());
  }
  return bounds;
}

}  // namespace

void fitViews(Editor& e) {
  const ModelBounds whole = modelBounds(*e.model), selected = selectionBounds(e);
  const ModelBounds& target = selected.empty ? whole : selected;
  for (int i = kSideView; i <= kFullView; ++i) fitView(e.views[i], target, whole);
}
