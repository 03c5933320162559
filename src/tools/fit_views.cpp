// Fit in view (contract in fit_views.h).

#include "tools/fit_views.h"

#include <vector>

#include <absl/container/flat_hash_map.h>

#include "app/editor.h"
#include "model/rig.h"
#include "model/skeleton.h"
#include "model/skin.h"
#include "tools/animation_mode.h"
#include "view/view_fit.h"

namespace {

void addPoint(ModelBounds& bounds, const Vertex* v) {
  if (v) bounds.add(v->x, v->y, v->z);
}

ModelBounds selectionBounds(const Editor& e) {
  ModelBounds bounds;
  for (const Vertex* v : e.doc.selectedVertices) addPoint(bounds, v);
  for (const Polygon* p : e.doc.selectedPolygons)
    for (const Vertex* corner : p->vertices) addPoint(bounds, corner);
  if (e.doc.selectedBone) {
    addPoint(bounds, e.doc.selectedBone->start);
    addPoint(bounds, e.doc.selectedBone->end);
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

void addPoint(ModelBounds& bounds, const glm::dvec3& p) {
  bounds.add(p.x, p.y, p.z);
}

// In animation mode the views show the model posed at the current frame, so
// the same selection and model are framed where the pose puts them.
void posedBounds(Editor& e, ModelBounds& whole, ModelBounds& selected) {
  Model& model = *e.doc.model;
  const Rig rig = flattenRig(model);
  const SkinBinding binding = bindSkin(model, rig);
  std::vector<BonePose> poses;
  std::vector<glm::dmat4> world, skin;
  std::vector<glm::dvec3> points;
  clipPose(rig, currentClip(e), e.animation.frame, poses);
  worldTransforms(rig, poses, world);
  skinMatrices(rig, world, skin);
  posePoints(binding, skin, points);
  absl::flat_hash_map<const Vertex*, size_t> index;
  const bool anySelected = !e.doc.selectedVertices.empty() || !e.doc.selectedPolygons.empty();
  if (anySelected) index.reserve(points.size());
  for (size_t v = 0; v < points.size(); ++v) {
    addPoint(whole, points[v]);
    if (anySelected) index.emplace(binding.vertices[v], v);
  }
  for (size_t b = 0; b < rig.size(); ++b) addPoint(whole, posedEnd(rig, world, int(b)));
  auto addVertex = [&](const Vertex* v) {
    const auto found = index.find(v);
    if (found != index.end()) addPoint(selected, points[found->second]);
  };
  for (const Vertex* v : e.doc.selectedVertices) addVertex(v);
  for (const Polygon* p : e.doc.selectedPolygons)
    for (const Vertex* corner : p->vertices) addVertex(corner);
  const int bone = rig.indexOf(e.doc.selectedBone);
  if (bone >= 0) {
    addPoint(selected, posedStart(world, bone));
    addPoint(selected, posedEnd(rig, world, bone));
  }
}

}  // namespace

void fitViews(Editor& e) {
  ModelBounds whole, selected;
  if (e.animation.on) {
    posedBounds(e, whole, selected);
  } else {
    whole = modelBounds(*e.doc.model), selected = selectionBounds(e);
  }
  const ModelBounds& target = selected.empty ? whole : selected;
  for (int i = kSideView; i <= kFullView; ++i) fitView(e.views[i], target, whole);
}
