#include "model/skin.h"

#include <algorithm>
#include <cmath>

#include "model/marks.h"
#include "model/model.h"

namespace {

// The bones of one vertex's triangles and how many of them each has. Most
// vertices meet few bones: the first few are counted in place, the rest in a
// shared overflow list.
struct Tally {
  static constexpr int kInPlace = 4;
  uint32_t bones[kInPlace] = {};
  uint32_t counts[kInPlace] = {};
  int used = 0;
  int overflow = -1;  // index in the overflow lists, -1 for none
};

class Tallies {
 public:
  void resize(size_t n) { tallies_.resize(n); }
  void add(uint32_t vertex, uint32_t bone) {
    Tally& t = tallies_[vertex];
    for (int i = 0; i < t.used; ++i) {
      if (t.bones[i] == bone) {
        ++t.counts[i];
        return;
      }
    }
    if (t.used < Tally::kInPlace) {
      t.bones[t.used] = bone;
      t.counts[t.used++] = 1;
      return;
    }
    if (t.overflow < 0) {
      t.overflow = static_cast<int>(overflow_.size());
      overflow_.emplace_back();
    }
    auto& more = overflow_[t.overflow];
    for (auto& [b, count] : more) {
      if (b == bone) {
        ++count;
        return;
      }
    }
    more.emplace_back(bone, 1);
  }
  // Bones and counts of a vertex; empty for a vertex in no triangle.
  std::vector<std::pair<int, double>> of(uint32_t vertex) const {
    const Tally& t = tallies_[vertex];
    std::vector<std::pair<int, double>> out;
    for (int i = 0; i < t.used; ++i) out.emplace_back(t.bones[i], t.counts[i]);
    if (t.overflow >= 0)
      for (auto [b, count] : overflow_[t.overflow]) out.emplace_back(b, count);
    return out;
  }
  bool single(uint32_t vertex) const { return tallies_[vertex].used == 1; }
  uint32_t firstBone(uint32_t vertex) const { return tallies_[vertex].bones[0]; }

 private:
  std::vector<Tally> tallies_;
  std::vector<std::vector<std::pair<uint32_t, uint32_t>>> overflow_;
};

}  // namespace

std::string poseRefusal(const Rig& rig) {
  if (rig.size() <= kMostPosedBones) return "";
  return "the skeleton has " + std::to_string(rig.size()) + " bones, more than the " +
         std::to_string(kMostPosedBones) + " a pose holds";
}

Influence strongestFour(std::vector<std::pair<int, double>> weights) {
  std::erase_if(weights, [](const auto& w) {
    return !(w.second > 0) || !std::isfinite(w.second) || w.first < 0 ||
           static_cast<size_t>(w.first) >= kMostPosedBones;
  });
  std::sort(weights.begin(), weights.end(), [](const auto& a, const auto& b) {
    return a.second > b.second || (a.second == b.second && a.first < b.first);
  });
  if (weights.size() > kMaxInfluences) weights.resize(kMaxInfluences);
  Influence influence;
  if (weights.empty()) return influence;
  double sum = 0;
  for (const auto& w : weights) sum += w.second;
  influence.count = static_cast<int>(weights.size());
  for (int i = 0; i < influence.count; ++i) {
    influence.bones[i] = static_cast<uint16_t>(weights[i].first);
    influence.weights[i] = weights[i].second / sum;
  }
  return influence;
}

SkinBinding bindSkin(Model& model, const Rig& rig) {
  SkinBinding binding;
  const uint64_t pass = newMarkPass();
  auto number = [&](Vertex* v) {
    if (v->markPass != pass) {
      v->markPass = pass;
      v->markNumber = static_cast<uint32_t>(binding.vertices.size());
      binding.vertices.push_back(v);
    }
    return v->markNumber;
  };
  binding.vertices.reserve(model.vertices.count());
  for (Vertex* v : model.vertices) number(v);

  const Bone* root = model.rootBone();
  Tallies tallies;
  size_t tallied = binding.vertices.size();
  tallies.resize(tallied);
  size_t corners = 0;
  for (PolygonGroup* group : model.groups) corners += size_t{3} * group->polygons.count();
  binding.corners.reserve(corners);
  const Bone* lastBone = nullptr;
  uint32_t lastIndex = 0;
  for (PolygonGroup* group : model.groups) {
    for (Polygon* polygon : group->polygons) {
      const Bone* bone = polygon->bone ? polygon->bone : root;
      if (bone != lastBone) {
        lastBone = bone;
        const int index = rig.indexOf(bone);
        lastIndex = index > 0 && static_cast<size_t>(index) < kMostPosedBones ? index : 0;
      }
      for (Vertex* corner : polygon->vertices) {
        const uint32_t v = number(corner);
        if (binding.vertices.size() > tallied) tallies.resize(tallied = binding.vertices.size());
        tallies.add(v, lastIndex);
        binding.corners.push_back(v);
      }
    }
  }

  binding.influences.resize(binding.vertices.size());
  for (uint32_t v = 0; v < binding.vertices.size(); ++v) {
    Influence& influence = binding.influences[v];
    if (tallies.single(v)) {
      influence.bones[0] = static_cast<uint16_t>(tallies.firstBone(v));
    } else {
      influence = strongestFour(tallies.of(v));
    }
  }
  for (const auto& [vertex, weights] : model.animation->weights) {
    if (vertex->markPass != pass) continue;
    std::vector<std::pair<int, double>> set;
    for (const BoneWeight& w : weights) {
      const int b = rig.indexOf(w.bone);
      if (b >= 0) set.emplace_back(b, w.weight);
    }
    binding.influences[vertex->markNumber] = strongestFour(std::move(set));
  }
  return binding;
}

glm::dvec3 posePoint(const Influence& influence, const std::vector<glm::dmat4>& skin,
                     const glm::dvec3& rest) {
  if (skin.empty()) return rest;
  const glm::dvec4 p(rest, 1);
  if (influence.count == 1) return glm::dvec3(skin[influence.bones[0]] * p);
  glm::dvec3 sum(0);
  for (int i = 0; i < influence.count; ++i)
    sum += influence.weights[i] * glm::dvec3(skin[influence.bones[i]] * p);
  return sum;
}

void posePoints(const SkinBinding& binding, const std::vector<glm::dmat4>& skin,
                std::vector<glm::dvec3>& points) {
  points.resize(binding.vertices.size());
  for (size_t v = 0; v < points.size(); ++v) {
    const Vertex& rest = *binding.vertices[v];
    points[v] = posePoint(binding.influences[v], skin, glm::dvec3(rest.x, rest.y, rest.z));
  }
}

glm::dmat3 blendedTurn(const Influence& influence, const std::vector<glm::dmat4>& skin) {
  if (skin.empty()) return glm::dmat3(1);
  glm::dmat3 sum(0);
  for (int i = 0; i < influence.count; ++i)
    sum += influence.weights[i] * glm::dmat3(skin[influence.bones[i]]);
  return sum;
}
