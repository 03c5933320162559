// Bone names and mirrored bones (contracts in bone_edits.h).

#include "tools/bone_edits.h"

#include <algorithm>
#include <cmath>
#include <optional>
#include <utility>
#include <vector>

#include <absl/container/flat_hash_map.h>

#include "document/undo.h"
#include "files/file_paths.h"
#include "model/bone_names.h"
#include "model/marks.h"
#include "model/rig.h"
#include "model/skeleton.h"
#include "model/skin.h"
#include "tools/mirror.h"
#include "tools/tool_context.h"

namespace {

double coordinate(const Vertex& v, int axis) {
  return axis == 0 ? v.x : axis == 1 ? v.y : v.z;
}

bool onPlane(const Vertex& v, int axis) {
  return std::abs(coordinate(v, axis)) <= kMirrorTolerance;
}

std::string axisName(int axis) {
  return std::string(1, static_cast<char>('x' + axis));
}

// The skeleton's bones by their end joints, to find mirrors by place, and by
// their names.
class BonePlaces {
 public:
  BonePlaces(const Model& model, int axis) : axis_(axis) {
    if (!model.hasSkeleton || !model.skeleton) return;
    forEachBone(model.skeleton->root, [&](Bone* bone, int) {
      ends_.push_back(bone->end);
      boneOf_.try_emplace(bone->end, bone);
      if (!bone->name.empty()) named_.try_emplace(bone->name, bone);
    });
    index_.emplace(ends_, axis);
  }

  Bone* named(const std::string& name) const {
    const auto found = named_.find(name);
    return found == named_.end() ? nullptr : found->second;
  }
  void addName(Bone* bone) { named_.try_emplace(bone->name, bone); }

  Bone* mirrorOf(Bone* b) const {
    if (!index_) return nullptr;
    if (onPlane(*b->end, axis_)) return b;
    Vertex* end = index_->partnerOf(*b->end);
    if (!end || end == b->end) return nullptr;
    Bone* found = boneOf_.at(end);
    const Vertex &s = *b->start, &t = *found->start;
    const double sign[3] = {axis_ == 0 ? -1.0 : 1.0, axis_ == 1 ? -1.0 : 1.0,
                            axis_ == 2 ? -1.0 : 1.0};
    const bool startMirrored = std::abs(s.x * sign[0] - t.x) <= kMirrorTolerance &&
                               std::abs(s.y * sign[1] - t.y) <= kMirrorTolerance &&
                               std::abs(s.z * sign[2] - t.z) <= kMirrorTolerance;
    return startMirrored ? found : nullptr;
  }

 private:
  int axis_;
  std::vector<Vertex*> ends_;
  absl::flat_hash_map<const Vertex*, Bone*> boneOf_;
  absl::flat_hash_map<std::string, Bone*> named_;
  std::optional<MirrorIndex> index_;
};

}  // namespace

void nameSelectedBone(ToolContext& e, const std::string& name) {
  Bone* bone = e.doc.selectedBone;
  Model& model = *e.doc.model;
  if (!bone || !model.hasSkeleton) {
    e.consoleMessage("Select the bone to name.");
    return;
  }
  if (!isBoneName(name)) {
    e.consoleMessage("Error! A bone name is one word of at most 63 printable characters!");
    return;
  }
  if (bone->name == name) return;
  if (boneNamed(model.skeleton->root, name)) {
    e.consoleMessage("Error! Another bone is named " + shownName(name) + " already!");
    return;
  }
  takeSnapshot(e.doc);
  bone->name = name;
  e.consoleMessage("Bone named " + name + ".");
}

void mirrorBones(ToolContext& e, int axis) {
  Model& model = *e.doc.model;
  const std::string side = " on the positive side of " + axisName(axis);
  if (!model.hasSkeleton || !model.skeleton) {
    e.consoleMessage("Mirror bones: the model has no bones.");
    return;
  }
  BonePlaces places(model, axis);
  std::vector<Bone*> sources;  // parents before their children
  forEachBone(model.skeleton->root, [&](Bone* bone, int) {
    if (coordinate(*bone->end, axis) > kMirrorTolerance && !places.mirrorOf(bone))
      sources.push_back(bone);
  });
  if (sources.empty()) {
    e.consoleMessage("Mirror bones: every bone" + side + " has its mirror already.");
    return;
  }
  takeSnapshot(e.doc);
  absl::flat_hash_map<const Bone*, Bone*> copies;
  for (Bone* bone : sources) {
    Bone* parent = bone->parent;
    if (auto made = copies.find(parent); made != copies.end()) {
      parent = made->second;
    } else if (Bone* mirror = parent ? places.mirrorOf(parent) : nullptr) {
      parent = mirror;
    }
    double at[3] = {bone->end->x, bone->end->y, bone->end->z};
    at[axis] = -at[axis];
    Bone* copy = model.addBone(parent, at[0], at[1], at[2]);
    const std::string name = swappedSide(bone->name);
    if (name != bone->name && !places.named(name)) copy->name = name, places.addName(copy);
    copies[bone] = copy;
  }
  e.consoleMessage("Mirror bones: " + std::to_string(sources.size()) +
                   (sources.size() == 1 ? " bone" : " bones") + side + " copied.");
  e.viewSet.sceneChanged();
}

void mirrorWeights(ToolContext& e, int axis) {
  Model& model = *e.doc.model;
  const Rig rig = flattenRig(model);
  if (rig.size() == 0) {
    e.consoleMessage("Mirror weights: the model has no bones.");
    return;
  }
  if (const std::string why = poseRefusal(rig); !why.empty()) {
    e.consoleMessage("Error! No weights can be set: " + why + "!");
    return;
  }
  const BonePlaces places(model, axis);
  std::vector<Bone*> mirrorOf(rig.size());
  for (size_t b = 0; b < rig.size(); ++b) {
    Bone* bone = rig.bones[b];
    Bone* mirror = places.mirrorOf(bone);
    if (!mirror) {
      const std::string name = swappedSide(bone->name);
      if (name != bone->name) mirror = places.named(name);
    }
    mirrorOf[b] = mirror ? mirror : bone;
  }
  const SkinBinding binding = bindSkin(model, rig);
  const MirrorIndex index(model, axis);
  std::vector<std::pair<Vertex*, std::vector<BoneWeight>>> given;
  const uint64_t pass = newMarkPass();
  for (size_t v = 0; v < binding.vertices.size(); ++v) {
    Vertex* vertex = binding.vertices[v];
    if (coordinate(*vertex, axis) <= kMirrorTolerance || isMarked(vertex, pass)) continue;
    vertex->markPass = pass;  // a vertex listed twice gives once
    Vertex* partner = index.partnerOf(*vertex);
    if (!partner || partner == vertex) continue;
    std::vector<BoneWeight> weights;
    const Influence& influence = binding.influences[v];
    for (int i = 0; i < influence.count; ++i) {
      const Bone* bone = mirrorOf[influence.bones[i]];
      auto same = std::find_if(weights.begin(), weights.end(),
                               [bone](const BoneWeight& w) { return w.bone == bone; });
      if (same != weights.end())
        same->weight += influence.weights[i];
      else
        weights.push_back({bone, influence.weights[i]});
    }
    given.emplace_back(partner, std::move(weights));
  }
  if (given.empty()) {
    e.consoleMessage("Mirror weights: no vertex on the positive side of " + axisName(axis) +
                     " has a partner.");
    return;
  }
  takeSnapshot(e.doc);
  for (auto& [partner, weights] : given) model.animation->weights[partner] = std::move(weights);
  ++e.animation.rigRevision;
  e.consoleMessage("Mirror weights: " + std::to_string(given.size()) +
                   (given.size() == 1 ? " vertex" : " vertices") + " on the negative side of " +
                   axisName(axis) + " weighted.");
  e.viewSet.sceneChanged();
}
