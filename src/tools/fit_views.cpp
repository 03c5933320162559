// Fit in view (contract in fit_views.h).

#include "tools/fit_views.h"

#include <vector>

#include "model/posed_model.h"
#include "model/skeleton.h"
#include "tools/animation_mode.h"
#include "tools/animation_rules.h"
#include "tools/tool_context.h"
#include "view/view_fit.h"

namespace {

void addPoint(ModelBounds& bounds, const Vertex* v) {
  if (v) bounds.add(v->x, v->y, v->z);
}

ModelBounds selectionBounds(const ToolContext& e) {
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
void posedBounds(ToolContext& e, ModelBounds& whole, ModelBounds& selected) {
  if (!e.poseForViews().empty()) return;  // the next frame leaves the mode and says why
  PosedModel& posed = e.animation.posedModel;
  for (const glm::dvec3& p : posed.points()) addPoint(whole, p);
  for (size_t b = 0; b < posed.rig().size(); ++b) addPoint(whole, posed.end(int(b)));
  auto addVertex = [&](const Vertex* v) {
    if (const glm::dvec3* at = posed.find(v)) addPoint(selected, *at);
  };
  for (const Vertex* v : e.doc.selectedVertices) addVertex(v);
  for (const Polygon* p : e.doc.selectedPolygons)
    for (const Vertex* corner : p->vertices) addVertex(corner);
  const int bone = posed.rig().indexOf(e.doc.selectedBone);
  if (bone >= 0) {
    addPoint(selected, posed.start(bone));
    addPoint(selected, posed.end(bone));
  }
}

}  // namespace

void fitViews(ToolContext& e) {
  ModelBounds whole, selected;
  if (modeRule(e, ModeRule::kCommand, 0, "/fit")) {
    posedBounds(e, whole, selected);
  } else {
    whole = modelBounds(*e.doc.model), selected = selectionBounds(e);
  }
  const ModelBounds& target = selected.empty ? whole : selected;
  for (int i = kSideView; i <= kFullView; ++i) fitView(e.viewSet.views[i], target, whole);
}
