#include "formats/gltf_animation.h"

#include <algorithm>

#include "model/animation.h"
#include "model/model.h"
#include "model/rig.h"

namespace {

// One key's numbers on a channel's path: a rotation as (x, y, z, w), a
// translation from the joint's rest place.
void put(std::vector<float>& out, GltfChannel::Path path, const glm::dquat& q,
         const glm::dvec3& v) {
  if (path == GltfChannel::kRotation) {
    out.insert(out.end(), {static_cast<float>(q.x), static_cast<float>(q.y),
                           static_cast<float>(q.z), static_cast<float>(q.w)});
  } else {
    out.insert(out.end(),
               {static_cast<float>(v.x), static_cast<float>(v.y), static_cast<float>(v.z)});
  }
}

glm::dvec3 along(GltfChannel::Path path, const BonePose& pose, const glm::dvec3& rest) {
  return path == GltfChannel::kTranslation ? rest + pose.translation : pose.scale;
}

// A track as it is written: `keys` (which may end with a key that only holds
// the last pose), the interpolation they share, or none when they mix it.
struct WrittenTrack {
  Track keys;
  size_t ownKeys = 0;  // the keys of the track itself, before any holding key
  bool mixed = false;
  Interpolation interpolation = Interpolation::kLinear;
};

WrittenTrack writtenTrack(const Track& track, bool holdToEnd, int length) {
  WrittenTrack written{track, track.size()};
  // The last key's interpolation leads nowhere.
  for (size_t k = 0; k + 1 < track.size(); ++k) {
    if (k > 0 && track[k].interpolation != track[0].interpolation) written.mixed = true;
    written.interpolation = track[0].interpolation;
  }
  if (written.mixed) {
    // Every whole frame, linear: the same at every frame as the editor.
    Track frames;
    const int last = holdToEnd ? length : track.back().frame;
    for (int f = track.front().frame; f <= last; ++f)
      frames.push_back(PoseKey{f, sampleTrack(track, f)});
    written.keys = std::move(frames);
    written.ownKeys = written.keys.size();
    written.interpolation = Interpolation::kLinear;
    return written;
  }
  if (holdToEnd && (track.empty() || track.back().frame < length))
    written.keys.push_back(PoseKey{length, sampleTrack(track, length)});
  return written;
}

GltfChannel channel(const WrittenTrack& track, int bone, GltfChannel::Path path, int fps,
                    const glm::dvec3& rest) {
  static const char* const kNames[] = {"STEP", "LINEAR", "CUBICSPLINE"};
  GltfChannel c{bone, path, kNames[static_cast<int>(track.interpolation)], {}, {}};
  const bool cubic = track.interpolation == Interpolation::kSmooth;
  glm::dquat previous(1, 0, 0, 0);
  for (size_t k = 0; k < track.keys.size(); ++k) {
    const PoseKey& key = track.keys[k];
    c.times.push_back(static_cast<float>(static_cast<double>(key.frame) / fps));
    // Each quaternion on the side of the one before: clients interpolate the
    // numbers of a cubic as they are.
    const glm::dquat q =
        k == 0 ? glm::normalize(key.pose.rotation) : alignedTo(key.pose.rotation, previous);
    previous = q;
    if (!cubic) {
      put(c.values, path, q, along(path, key.pose, rest));
      continue;
    }
    // The holding key, and the way into it, stay still.
    PoseTangent in, out;
    if (k < track.ownKeys) in = out = smoothTangent(track.keys, k, q);
    if (k + 1 >= track.ownKeys) out = PoseTangent{};
    if (k >= track.ownKeys) in = PoseTangent{};
    const double perSecond = fps;
    auto tangent = [&](const PoseTangent& t) {
      const glm::dvec3 v = path == GltfChannel::kTranslation ? t.translation : t.scale;
      put(c.values, path, t.rotation * perSecond, v * perSecond);
    };
    tangent(in);
    put(c.values, path, q, along(path, key.pose, rest));
    tangent(out);
  }
  return c;
}

}  // namespace

std::vector<GltfClip> gltfClips(const Model& model) {
  std::vector<GltfClip> out;
  const Rig rig = flattenRig(model);
  if (rig.size() == 0) return out;
  for (const auto& clip : model.animation->clips) {
    GltfClip& written = out.emplace_back();
    written.name = clip->name;
    for (size_t b = 0; b < rig.size(); ++b) {
      auto found = clip->tracks.find(rig.bones[b]);
      const Track keys = found == clip->tracks.end() ? Track{} : found->second;
      const bool root = b == 0;
      if (keys.empty() && !root) continue;
      // Holding the last pose to the last frame changes nothing.
      const WrittenTrack track = writtenTrack(keys, root, clip->length);
      const int bone = static_cast<int>(b);
      written.channels.push_back(channel(track, bone, GltfChannel::kRotation, clip->fps, {}));
      auto any = [&](auto differs) { return std::any_of(keys.begin(), keys.end(), differs); };
      const int parent = rig.parent[b];
      const glm::dvec3 rest = rig.start[b] - (parent < 0 ? glm::dvec3(0) : rig.start[parent]);
      if (any([](const PoseKey& k) { return k.pose.translation != glm::dvec3(0); }))
        written.channels.push_back(
            channel(track, bone, GltfChannel::kTranslation, clip->fps, rest));
      if (any([](const PoseKey& k) { return k.pose.scale != glm::dvec3(1); }))
        written.channels.push_back(channel(track, bone, GltfChannel::kScale, clip->fps, rest));
    }
  }
  return out;
}
