#include "formats/gltf_animation.h"

#include <algorithm>

#include "model/animation.h"
#include "model/model.h"
#include "model/rig.h"

namespace {

void addKey(GltfChannel& channel, const PoseKey& key, int fps, const glm::dvec3& translationBase) {
  channel.times.push_back(static_cast<float>(static_cast<double>(key.frame) / fps));
  if (channel.translation) {
    const glm::dvec3 t = translationBase + key.pose.translation;
    channel.values.insert(channel.values.end(), {static_cast<float>(t.x), static_cast<float>(t.y),
                                                 static_cast<float>(t.z)});
  } else {
    const glm::dquat q = glm::normalize(key.pose.rotation);
    channel.values.insert(channel.values.end(), {static_cast<float>(q.x), static_cast<float>(q.y),
                                                 static_cast<float>(q.z), static_cast<float>(q.w)});
  }
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
      Track keys = found == clip->tracks.end() ? Track{} : found->second;
      const bool root = b == 0;
      if (keys.empty() && !root) continue;
      // Holding the last pose to the last frame changes nothing.
      if (root && (keys.empty() || keys.back().frame < clip->length))
        keys.push_back(PoseKey{clip->length, sampleTrack(keys, clip->length)});
      GltfChannel rotation{static_cast<int>(b), false, {}, {}};
      for (const PoseKey& key : keys) addKey(rotation, key, clip->fps, {});
      written.channels.push_back(std::move(rotation));
      const bool moves = root && std::any_of(keys.begin(), keys.end(), [](const PoseKey& k) {
                           return k.pose.translation != glm::dvec3(0);
                         });
      if (!moves) continue;
      GltfChannel translation{static_cast<int>(b), true, {}, {}};
      for (const PoseKey& key : keys) addKey(translation, key, clip->fps, rig.start[b]);
      written.channels.push_back(std::move(translation));
    }
  }
  return out;
}
