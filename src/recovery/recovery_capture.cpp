#include "recovery/recovery_capture.h"

#include <absl/container/flat_hash_map.h>

#include "formats/model_file.h"
#include "model/marks.h"
#include "model/skeleton.h"

namespace {

// The node at `index`, walked from the head: a slice never keeps a node of
// the model's lists, which an edit between slices could free.
template <class T>
ListNode* nodeAt(const List<T>& list, size_t index) {
  ListNode* node = list.head();
  for (size_t i = 0; node && i < index; ++i) node = node->next;
  return node;
}

}  // namespace

ModelCopy::ModelCopy(const Model& model, uint64_t pass) : model_(model), pass_(pass) {
  listed_.reserve(model.vertices.count());
  vertices_.reserve(model.vertices.count());
}

ModelCopy::~ModelCopy() = default;

bool ModelCopy::Budget::take() {
  constexpr size_t kAskEvery = 4096;
  if (left == 0) return false;
  if (enough && ++sinceAsked == kAskEvery) {
    sinceAsked = 0;
    if (enough()) left = 1;
  }
  --left;
  return true;
}

ModelCopy::Progress ModelCopy::copySome(size_t records, const std::function<bool()>& enough) {
  if (done_) return kDone;
  Budget budget{records, enough};
  if (!copyVertices(budget)) return kChanged;
  if (listed_.size() < static_cast<size_t>(model_.vertices.count())) return kMore;
  if (!copyPolygons(budget)) return kChanged;
  if (groupIndex_ < groups_.size()) return kMore;
  if (!finish()) return kChanged;
  done_ = true;
  return kDone;
}

bool ModelCopy::copyVertices(Budget& budget) {
  if (listed_.size() > static_cast<size_t>(model_.vertices.count())) return false;
  for (ListNode* node = nodeAt(model_.vertices, listed_.size()); node && budget.take();
       node = node->next) {
    Vertex* vertex = static_cast<Vertex*>(node->data);
    vertex->markPass = pass_;
    listed_.push_back(vertex);
    vertices_.push_back(*vertex);
  }
  return true;
}

bool ModelCopy::copyPolygons(Budget& budget) {
  if (groups_.empty()) {
    groups_.resize(model_.groups.count());
    size_t g = 0;
    for (PolygonGroup* group : model_.groups)
      groups_[g++].polygons.reserve(group->polygons.count());
  }
  if (groups_.size() != static_cast<size_t>(model_.groups.count())) return false;
  for (; groupIndex_ < groups_.size(); ++groupIndex_) {
    const PolygonGroup& group =
        *static_cast<PolygonGroup*>(nodeAt(model_.groups, groupIndex_)->data);
    std::vector<Polygon>& copies = groups_[groupIndex_].polygons;
    if (copies.size() > static_cast<size_t>(group.polygons.count())) return false;
    ListNode* node = nodeAt(group.polygons, copies.size());
    for (; node && budget.take(); node = node->next) {
      const Polygon& polygon = *static_cast<Polygon*>(node->data);
      // A corner outside the model's list gets a line of its own in the image,
      // so its numbers are needed. (A mark overwritten between slices only
      // copies a listed vertex once more, which the image does not use.)
      for (Vertex* corner : polygon.vertices) {
        if (isMarked(corner, pass_)) continue;
        corner->markPass = pass_;
        outside_.push_back(corner);
        outsideCopies_.push_back(*corner);
      }
      copies.push_back(polygon);
    }
    if (node) return true;  // this group goes on in the next slice
  }
  return true;
}

bool ModelCopy::finish() {
  if (listed_.size() != static_cast<size_t>(model_.vertices.count())) return false;
  size_t g = 0;
  for (PolygonGroup* group : model_.groups) {
    if (g >= groups_.size() ||
        groups_[g].polygons.size() != static_cast<size_t>(group->polygons.count()))
      return false;
    groups_[g++].material = group->material;
  }
  if (g != groups_.size()) return false;
  hasSkeleton_ = model_.hasSkeleton;
  if (model_.skeleton) {
    forEachBone(model_.skeleton->root, [&](Bone* bone, int) {
      bones_.push_back({bone, bone->parent, *bone->end, bone->paramA, bone->paramB, bone->name});
    });
  }
  for (const auto& clip : model_.animation->clips) clips_.push_back(*clip);
  weights_.assign(model_.animation->weights.begin(), model_.animation->weights.end());
  seams_.assign(model_.seams.begin(), model_.seams.end());
  return true;
}

ModelImage ModelCopy::image() const {
  Model clone("", nullptr);
  absl::flat_hash_map<const Vertex*, Vertex*> vertexOf;
  vertexOf.reserve(listed_.size() + outside_.size());
  for (size_t i = 0; i < listed_.size(); ++i) {
    Vertex* vertex = clone.newVertex(0, 0, 0);
    *vertex = vertices_[i];
    clone.vertices.pushBack(vertex);
    vertexOf[listed_[i]] = vertex;
  }
  for (size_t i = 0; i < outside_.size(); ++i) {
    Vertex* vertex = clone.newVertex(0, 0, 0);
    *vertex = outsideCopies_[i];
    vertexOf.try_emplace(outside_[i], vertex);
  }

  absl::flat_hash_map<const Bone*, Bone*> boneOf;
  if (!bones_.empty()) {
    const Vertex& rootEnd = bones_[0].end;
    auto skeleton = std::make_unique<Skeleton>(rootEnd.x, rootEnd.y, rootEnd.z);
    for (const BoneCopy& copy : bones_) {
      Bone* bone = skeleton->root;
      if (copy.bone != bones_[0].bone) {
        Bone* parent = boneOf.at(copy.parent);
        bone = skeleton->newBone(parent, copy.end.x, copy.end.y, copy.end.z);
        skeleton->addChild(parent, bone);
      }
      bone->paramA = copy.paramA;
      bone->paramB = copy.paramB;
      bone->name = copy.name;
      boneOf[copy.bone] = bone;
    }
    clone.setSkeleton(std::move(skeleton));
  }
  clone.hasSkeleton = hasSkeleton_;
  // A bone outside the tree has no line in the image, as in the model.
  Bone outsideTheTree;

  for (size_t g = 0; g < groups_.size(); ++g) {
    PolygonGroup* group = g == 0 ? clone.currentGroup : clone.newGroup();
    if (g > 0) clone.groups.pushBack(group);
    group->material = groups_[g].material;
    for (const Polygon& copy : groups_[g].polygons) {
      // Every corner was copied: it was marked when it was, and one not marked is copied then.
      Vertex* corners[3];
      for (int i = 0; i < 3; ++i) corners[i] = vertexOf.at(copy.vertices[i]);
      Polygon* polygon = clone.newPolygon(corners[0], corners[1], corners[2]);
      *polygon = copy;
      for (int i = 0; i < 3; ++i) polygon->vertices[i] = polygon->uvs[i].vertex = corners[i];
      if (copy.bone) {
        const auto bone = boneOf.find(copy.bone);
        polygon->bone = bone != boneOf.end() ? bone->second : &outsideTheTree;
      }
      group->polygons.pushBack(polygon);
    }
  }
  // Clips and weights, on the copy's bones and vertices; what has none there
  // (a bone outside the tree, a vertex no longer in the model) has no line.
  for (const Clip& copy : clips_) {
    Clip& clip = clone.animation->add(copy.name);
    clip.length = copy.length, clip.fps = copy.fps;
    for (const auto& [bone, track] : copy.tracks)
      if (auto found = boneOf.find(bone); found != boneOf.end()) clip.tracks[found->second] = track;
  }
  for (const auto& [vertex, weights] : weights_) {
    auto found = vertexOf.find(vertex);
    if (found == vertexOf.end()) continue;
    std::vector<BoneWeight>& held = clone.animation->weights[found->second];
    for (const BoneWeight& weight : weights)
      if (auto bone = boneOf.find(weight.bone); bone != boneOf.end())
        held.push_back({bone->second, weight.weight});
  }
  for (const auto& [a, b] : seams_) {
    const auto first = vertexOf.find(a), second = vertexOf.find(b);
    if (first != vertexOf.end() && second != vertexOf.end())
      clone.seams.mark(first->second, second->second);
  }
  return captureImage(clone);
}
