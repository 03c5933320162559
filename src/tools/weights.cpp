// Vertex weights set by hand (contracts in animation_mode.h).

#include <algorithm>
#include <cstdio>

#include "document/undo.h"
#include "model/animation.h"
#include "model/marks.h"
#include "model/rig.h"
#include "model/skeleton.h"
#include "model/skin.h"
#include "model/weight_paint.h"
#include "tools/animation_mode.h"
#include "tools/tool_context.h"

void assignSelectedPolygonsToBone(ToolContext& e) {
  Model::assignPolygonsToBone(e.doc.selectedBone, e.doc.selectedPolygons);
  if (!e.doc.selectedPolygons.empty())
    e.doc.changedWithoutUndoStep();  // no undo step, still unsaved
}

void setSelectedWeights(ToolContext& e, double weight) {
  // Refused as other numbers out of their range are: a weight clamped without
  // a word would not be the one typed.
  if (!(weight >= 0 && weight <= 1)) {
    e.consoleMessage("Error! The weight is a number from 0 to 1!");
    return;
  }
  const Rig rig = flattenRig(*e.doc.model);
  if (rig.indexOf(e.doc.selectedBone) < 0 || e.doc.selectedVertices.empty()) {
    e.consoleMessage("Select a bone and the vertices it should weigh on.");
    return;
  }
  if (const std::string why = poseRefusal(rig); !why.empty()) {
    e.consoleMessage("Error! No weights can be set: " + why + "!");
    return;
  }
  takeSnapshot(e.doc);
  const SkinBinding binding = bindSkin(*e.doc.model, rig);
  const uint64_t pass = newMarkPass();
  markAll(e.doc.selectedVertices, pass);
  auto& set = e.doc.model->animation->weights;
  int count = 0;
  for (size_t v = 0; v < binding.vertices.size(); ++v) {
    Vertex* vertex = binding.vertices[v];
    if (!isMarked(vertex, pass)) continue;
    vertex->markPass = 0;  // a vertex listed twice is weighed once
    // A vertex on the bone alone gives the rest to its parent, as painting does.
    set[vertex] = withWeight(weightsOf(binding.influences[v], rig), e.doc.selectedBone, weight,
                             e.doc.selectedBone->parent);
    ++count;
  }
  ++e.animation.rigRevision;
  char shown[32];
  std::snprintf(shown, sizeof shown, "%g", weight);
  e.consoleMessage(std::string("Weight ") + shown + " set on " + std::to_string(count) +
                   " vertices.");
  e.viewSet.sceneChanged();
}

void clearSelectedWeights(ToolContext& e) {
  if (e.doc.selectedVertices.empty()) {
    e.consoleMessage("Select the vertices to give back to the derived weights.");
    return;
  }
  takeSnapshot(e.doc);
  auto& set = e.doc.model->animation->weights;
  int count = 0;
  for (Vertex* vertex : e.doc.selectedVertices) count += static_cast<int>(set.erase(vertex));
  ++e.animation.rigRevision;
  e.consoleMessage("Derived weights again on " + std::to_string(count) + " vertices.");
  e.viewSet.sceneChanged();
}
