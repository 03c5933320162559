#include "import/animation_import.h"

#include <assimp/anim.h>
#include <assimp/scene.h>

#include <glm/gtc/quaternion.hpp>

#include <algorithm>
#include <cmath>
#include <numeric>
#include <optional>

#include <absl/container/flat_hash_map.h>

#include "formats/model_file.h"
#include "model/animation.h"

namespace {

constexpr int kFrameRates[] = {24, 25, 30, 48, 50, 60, 120};
constexpr double kWholeFrame = 1e-3;  // frames
constexpr double kSameTurn = 1e-6;

struct Counts {
  size_t morph = 0, otherNodes = 0;
};

template <class Key>
size_t bracket(const Key* keys, unsigned count, double t) {
  size_t i = 0;
  while (i + 1 < count && keys[i + 1].mTime <= t) ++i;
  return i;
}

// A vector channel (positions or scales) at `t`, linear between its keys.
aiVector3D vectorAt(const aiVectorKey* k, unsigned count, double t, const aiVector3D& rest) {
  if (count == 0) return rest;
  if (t <= k[0].mTime) return k[0].mValue;
  const size_t i = bracket(k, count, t);
  if (i + 1 >= count) return k[i].mValue;
  const double span = k[i + 1].mTime - k[i].mTime;
  const float f = span > 0 ? static_cast<float>((t - k[i].mTime) / span) : 0.0f;
  return k[i].mValue + (k[i + 1].mValue - k[i].mValue) * f;
}

aiQuaternion rotationAt(const aiNodeAnim& c, double t, const aiQuaternion& rest) {
  if (c.mNumRotationKeys == 0) return rest;
  const aiQuatKey* k = c.mRotationKeys;
  if (t <= k[0].mTime) return k[0].mValue;
  const size_t i = bracket(k, c.mNumRotationKeys, t);
  if (i + 1 >= c.mNumRotationKeys) return k[i].mValue;
  const double span = k[i + 1].mTime - k[i].mTime;
  aiQuaternion out;
  aiQuaternion::Interpolate(out, k[i].mValue, k[i + 1].mValue,
                            span > 0 ? static_cast<float>((t - k[i].mTime) / span) : 0.0f);
  return out.Normalize();
}

glm::dmat4 toGlm(const aiMatrix4x4& m) {
  glm::dmat4 out;
  for (int r = 0; r < 4; ++r)
    for (int c = 0; c < 4; ++c) out[c][r] = m[r][c];
  return out;
}

// A bone's pose from its skinning matrix and its parent's: the local
// transform T(start + t) R S T(-start) taken apart.
void poseFrom(const glm::dmat4& local, const glm::dvec3& start, ModelImage::KeyRecord& key) {
  glm::dmat3 linear(local);
  double scale[3];
  for (int c = 0; c < 3; ++c) {
    scale[c] = glm::length(linear[c]);
    if (scale[c] > 0) linear[c] /= scale[c];
  }
  if (glm::determinant(linear) < 0) scale[0] = -scale[0], linear[0] = -linear[0];
  glm::dquat q = glm::normalize(glm::quat_cast(linear));
  if (q.w < 0) q = -q;  // the same turn, written one way
  const double rotation[4] = {q.w, q.x, q.y, q.z};
  const glm::dvec3 t = glm::dvec3(local * glm::dvec4(start, 1)) - start;
  for (int i = 0; i < 4; ++i) key.rotation[i] = roundAsWritten(rotation[i]);
  for (int i = 0; i < 3; ++i) key.translation[i] = roundAsWritten(t[i]);
  for (int i = 0; i < 3; ++i) key.scale[i] = roundAsWritten(scale[i]);
}

// A name a clip can have: one word of printable characters, not yet taken.
std::string clipName(const aiString& given, size_t index, const ModelImage& image) {
  std::string name;
  for (unsigned char c : std::string(given.C_Str())) name += (c <= ' ' || c >= 0x7F) ? '_' : c;
  if (name.size() > kMaxClipName - 4) name.resize(kMaxClipName - 4);
  if (name.empty()) name = "clip" + std::to_string(index + 1);
  auto taken = [&](const std::string& n) {
    return std::any_of(image.clips.begin(), image.clips.end(),
                       [&](const auto& c) { return c.name == n; });
  };
  std::string unique = name;
  for (int n = 2; taken(unique); ++n) unique = name + "_" + std::to_string(n);
  return unique;
}

class ClipMaker {
 public:
  ClipMaker(const aiScene& scene, const aiAnimation& animation,
            const std::vector<ImportedJoint>& joints, const NodeInterpolations* interpolations,
            const ModelImage& image, Counts& counts)
      : scene_(scene),
        animation_(animation),
        joints_(joints),
        interpolations_(interpolations),
        image_(image),
        counts_(counts) {
    for (size_t b = 0; b < joints.size(); ++b) lineOf_[joints[b].node] = static_cast<int>(b);
    std::vector<int> path;
    for (const auto& bone : image.bones) {
      path.resize(bone.depth - 1);
      parent_.push_back(path.empty() ? -1 : path.back());
      path.push_back(static_cast<int>(parent_.size()) - 1);
    }
    for (size_t b = 0; b < image.bones.size(); ++b) {
      const auto& at = image.bones[parent_[b] < 0 ? b : parent_[b]];
      start_.emplace_back(at.x, at.y, at.z);
    }
    ticks_ = animation.mTicksPerSecond > 0 ? animation.mTicksPerSecond : 25;
    counts.morph += animation.mNumMeshChannels + animation.mNumMorphMeshChannels;
    absl::flat_hash_map<const aiNode*, bool> holdsBones;  // nodes with a bone at or below them
    for (const ImportedJoint& joint : joints)
      for (const aiNode* n = joint.node; n && !holdsBones.contains(n); n = n->mParent)
        holdsBones[n] = true;
    for (unsigned c = 0; c < animation.mNumChannels; ++c) {
      const aiNodeAnim* channel = animation.mChannels[c];
      const aiNode* node = scene.mRootNode->FindNode(channel->mNodeName);
      if (!node || !holdsBones.contains(node)) {
        ++counts.otherNodes;
        continue;
      }
      // A node that is no bone moves the bones below it: they carry its moves.
      Animated& animated = channelOf_[node];
      animated.channel = channel;
      node->mTransformation.Decompose(animated.scale, animated.rotation, animated.position);
    }
    for (const ImportedJoint& joint : joints)
      unbind_.push_back(aiMatrix4x4(joint.bindWorld).Inverse());
  }

  ModelImage::ClipRecord make(const std::string& name) {
    ModelImage::ClipRecord clip;
    clip.name = name;
    chooseFrames(clip);
    // Frames as sorted lists: a bone keyed at every frame of a long clip has
    // thousands, and sets of them cost more than the posing.
    std::vector<std::vector<int>> frames(image_.bones.size());
    std::vector<char> needed(clip.length + 1, 0);
    for (size_t b = 0; b < image_.bones.size(); ++b) {
      std::vector<int>& own = frames[b];
      for (int at = static_cast<int>(b); at >= 0; at = parent_[at])
        own.insert(own.end(), keyFrames_[at].begin(), keyFrames_[at].end());
      if (own.empty()) own.push_back(0);  // rest poses that differ from the bind pose
      std::sort(own.begin(), own.end());
      own.erase(std::unique(own.begin(), own.end()), own.end());
      for (int f : own) needed[f] = 1;
    }
    // Frame by frame, each pose going straight to the tracks that key it.
    const size_t bones = image_.bones.size();
    std::vector<ModelImage::TrackRecord> tracks(bones);
    std::vector<size_t> taken(bones, 0);
    for (size_t b = 0; b < bones; ++b) {
      tracks[b].bone = static_cast<int>(b);
      tracks[b].keys.reserve(frames[b].size());
    }
    for (int f = 0; f <= clip.length; ++f) {
      if (!needed[f]) continue;
      posesAtFrame(f, clip.fps);
      for (size_t b = 0; b < bones; ++b)
        if (taken[b] < frames[b].size() && frames[b][taken[b]] == f) {
          tracks[b].keys.push_back(keys_[b]);
          ++taken[b];
        }
    }
    for (size_t b = 0; b < bones; ++b) {
      const int how = static_cast<int>(interpolationOf(b));
      bool moved = false;
      for (ModelImage::KeyRecord& key : tracks[b].keys) {
        key.interpolation = how;
        moved = moved || std::abs(key.rotation[0]) < 1 - kSameTurn || key.translation[0] != 0 ||
                key.translation[1] != 0 || key.translation[2] != 0 || key.scale[0] != 1 ||
                key.scale[1] != 1 || key.scale[2] != 1;
      }
      if (moved || !keyFrames_[b].empty()) clip.tracks.push_back(std::move(tracks[b]));
    }
    return clip;
  }

 private:
  // The frame rate, the length, and each bone's own key frames (all frames
  // when the file's keys miss whole frames).
  void chooseFrames(ModelImage::ClipRecord& clip) {
    std::vector<double> times{0};
    for (const auto& [node, animated] : channelOf_) {
      const aiNodeAnim* channel = animated.channel;
      for (unsigned k = 0; k < channel->mNumPositionKeys; ++k)
        times.push_back(channel->mPositionKeys[k].mTime / ticks_);
      for (unsigned k = 0; k < channel->mNumRotationKeys; ++k)
        times.push_back(channel->mRotationKeys[k].mTime / ticks_);
      for (unsigned k = 0; k < channel->mNumScalingKeys; ++k)
        times.push_back(channel->mScalingKeys[k].mTime / ticks_);
    }
    const double seconds =
        std::max(animation_.mDuration / ticks_, *std::max_element(times.begin(), times.end()));
    bool whole = false;
    clip.fps = 24;
    for (int rate : kFrameRates) {
      whole = std::all_of(times.begin(), times.end(), [rate](double t) {
        return std::abs(t * rate - std::round(t * rate)) < kWholeFrame;
      });
      if (whole) {
        clip.fps = rate;
        break;
      }
    }
    clip.length = std::clamp(static_cast<int>(std::ceil(seconds * clip.fps - kWholeFrame)), 1,
                             Clip::kMaxLength);
    keyFrames_.assign(image_.bones.size(), {});
    for (size_t b = 0; b < image_.bones.size(); ++b) {
      auto add = [&](double ticks) {
        keyFrames_[b].push_back(
            std::clamp(static_cast<int>(std::lround(ticks / ticks_ * clip.fps)), 0, clip.length));
      };
      // The bone's own channel and those of the nodes between it and its parent bone.
      bool everyFrame = !whole;
      forOwnChannels(b, [&](const aiNode* node, const aiNodeAnim& c) {
        // A bone turns about its start joint, which the editor keeps at its parent's end: one
        // that turns about another point, or under a node that turns, moves along an arc
        // between the file's keys, no longer linearly.
        const aiVector3D pivot = joints_[b].bindWorld * aiVector3D();
        const bool away = node != joints_[b].node ||
                          glm::length(glm::dvec3(pivot.x, pivot.y, pivot.z) - start_[b]) > 1e-6;
        everyFrame = everyFrame || (away && c.mNumRotationKeys > 1);
        for (unsigned k = 0; k < c.mNumRotationKeys; ++k) add(c.mRotationKeys[k].mTime);
        for (unsigned k = 0; k < c.mNumPositionKeys; ++k) add(c.mPositionKeys[k].mTime);
        for (unsigned k = 0; k < c.mNumScalingKeys; ++k) add(c.mScalingKeys[k].mTime);
      });
      std::vector<int>& own = keyFrames_[b];
      if (everyFrame && !own.empty()) {
        own.resize(clip.length + 1);
        std::iota(own.begin(), own.end(), 0);
      }
      std::sort(own.begin(), own.end());
      own.erase(std::unique(own.begin(), own.end()), own.end());
    }
  }

  // The nodes whose channels make bone b's keys: its own and those between it
  // and its parent bone, which it carries.
  template <class Visit>
  void forOwnChannels(size_t b, Visit visit) const {
    for (const aiNode* node = joints_[b].node; node; node = node->mParent) {
      if (node != joints_[b].node && lineOf_.contains(node)) break;
      auto found = channelOf_.find(node);
      if (found != channelOf_.end()) visit(node, *found->second.channel);
    }
  }

  // What the file's channels for bone b share; linear when they differ.
  Interpolation interpolationOf(size_t b) const {
    std::optional<Interpolation> shared;
    forOwnChannels(b, [&](const aiNode* node, const aiNodeAnim&) {
      Interpolation how = Interpolation::kLinear;
      if (interpolations_) {
        auto given = interpolations_->find(node->mName.C_Str());
        if (given != interpolations_->end()) how = given->second;
      }
      if (shared && *shared != how) how = Interpolation::kLinear;
      shared = how;
    });
    return shared.value_or(Interpolation::kLinear);
  }

  // Every node's placement at `ticks`, the joints' from their channels.
  void place(const aiNode& node, const aiMatrix4x4& parent, double ticks) {
    aiMatrix4x4 local = node.mTransformation;
    auto found = channelOf_.find(&node);
    if (found != channelOf_.end()) {
      const Animated& a = found->second;
      const aiNodeAnim& c = *a.channel;
      local = aiMatrix4x4(vectorAt(c.mScalingKeys, c.mNumScalingKeys, ticks, a.scale),
                          rotationAt(c, ticks, a.rotation),
                          vectorAt(c.mPositionKeys, c.mNumPositionKeys, ticks, a.position));
    }
    const aiMatrix4x4 world = parent * local;
    auto line = lineOf_.find(&node);
    if (line != lineOf_.end()) skin_[line->second] = world * unbind_[line->second];
    for (unsigned c = 0; c < node.mNumChildren; ++c) place(*node.mChildren[c], world, ticks);
  }

  // Every bone's key at `frame`, into keys_.
  void posesAtFrame(int frame, int fps) {
    const size_t bones = image_.bones.size();
    skin_.assign(bones, aiMatrix4x4());
    place(*scene_.mRootNode, aiMatrix4x4(), static_cast<double>(frame) / fps * ticks_);
    keys_.resize(bones);
    skins_.resize(bones);
    unskins_.resize(bones);
    // Bones come parents first: each parent's inverse is made once, before its children need it.
    for (size_t b = 0; b < bones; ++b) {
      const int p = parent_[b];
      skins_[b] = toGlm(skin_[b]);
      unskins_[b].reset();
      if (p >= 0 && !unskins_[p]) unskins_[p] = glm::inverse(skins_[p]);
      keys_[b].frame = frame;
      poseFrom(p < 0 ? skins_[b] : *unskins_[p] * skins_[b], start_[b], keys_[b]);
    }
  }

  // An animated node: its channel and its placement without it, taken apart once.
  struct Animated {
    const aiNodeAnim* channel = nullptr;
    aiVector3D scale, position;
    aiQuaternion rotation;
  };

  const aiScene& scene_;
  const aiAnimation& animation_;
  const std::vector<ImportedJoint>& joints_;
  const NodeInterpolations* interpolations_;
  const ModelImage& image_;
  Counts& counts_;
  double ticks_ = 25;
  std::vector<int> parent_;
  std::vector<glm::dvec3> start_;
  absl::flat_hash_map<const aiNode*, int> lineOf_;
  absl::flat_hash_map<const aiNode*, Animated> channelOf_;
  std::vector<aiMatrix4x4> unbind_;          // each joint's bind placement, inverted
  std::vector<ModelImage::KeyRecord> keys_;  // by bone, at the frame posed last
  std::vector<glm::dmat4> skins_;
  std::vector<std::optional<glm::dmat4>> unskins_;
  std::vector<std::vector<int>> keyFrames_;  // sorted, each once
  std::vector<aiMatrix4x4> skin_;
};

}  // namespace

void importAnimations(const aiScene& scene, const std::vector<ImportedJoint>& joints,
                      const std::vector<NodeInterpolations>& interpolations, ModelImage& image,
                      std::vector<std::string>& changes) {
  if (scene.mNumAnimations == 0) return;
  if (image.bones.empty()) {
    changes.push_back(std::to_string(scene.mNumAnimations) + " animations without bones dropped");
    return;
  }
  Counts counts;
  for (unsigned a = 0; a < scene.mNumAnimations; ++a) {
    // Assimp keeps a glTF file's animations in its order.
    const NodeInterpolations* modes =
        interpolations.size() == scene.mNumAnimations ? &interpolations[a] : nullptr;
    ClipMaker maker(scene, *scene.mAnimations[a], joints, modes, image, counts);
    image.clips.push_back(maker.make(clipName(scene.mAnimations[a]->mName, a, image)));
  }
  auto count = [&](size_t n, const char* what) {
    if (n) changes.push_back(std::to_string(n) + " " + what + " dropped");
  };
  count(counts.morph, "morph target and vertex animation channels");
  count(counts.otherNodes, "animated nodes with no bone below them");
}
