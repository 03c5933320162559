#include <algorithm>

#include "formats/animation_file.h"
#include "formats/model_file.h"
#include "model/animation.h"
#include "model/model.h"
#include "model/rig.h"

namespace {

ModelImage::KeyRecord keyRecord(const PoseKey& key) {
  ModelImage::KeyRecord record;
  record.frame = key.frame;
  // As held: what was read is written back the same (posing normalizes).
  const glm::dquat& q = key.pose.rotation;
  const double rotation[4] = {q.w, q.x, q.y, q.z};
  for (int i = 0; i < 4; ++i) record.rotation[i] = roundAsWritten(rotation[i]);
  for (int i = 0; i < 3; ++i) record.translation[i] = roundAsWritten(key.pose.translation[i]);
  for (int i = 0; i < 3; ++i) record.scale[i] = roundAsWritten(key.pose.scale[i]);
  record.interpolation = static_cast<int>(key.interpolation);
  return record;
}

}  // namespace

void captureAnimation(Model& model, ModelImage& image, const std::vector<Vertex*>& byNumber) {
  const Animation& animation = *model.animation;
  if (animation.empty()) return;
  const Rig rig = flattenRig(model);
  for (const auto& clip : animation.clips) {
    ModelImage::ClipRecord& record = image.clips.emplace_back();
    record.name = clip->name;
    record.length = clip->length;
    record.fps = clip->fps;
    for (size_t b = 0; b < rig.size(); ++b) {
      auto found = clip->tracks.find(rig.bones[b]);
      if (found == clip->tracks.end() || found->second.empty()) continue;
      ModelImage::TrackRecord& track = record.tracks.emplace_back();
      track.bone = static_cast<int>(b);
      for (const PoseKey& key : found->second) track.keys.push_back(keyRecord(key));
    }
  }
  for (const auto& [vertex, weights] : animation.weights) {
    const int number = vertex->fileIndex;
    // A vertex no longer in the model has no number.
    if (number < 0 || number >= static_cast<int>(byNumber.size()) || byNumber[number] != vertex)
      continue;
    std::vector<ModelImage::WeightRecord> records;
    for (const BoneWeight& w : weights) {
      const int bone = rig.indexOf(w.bone);
      if (bone >= 0)
        records.push_back({number, bone, roundAsWritten(std::clamp(w.weight, 0.0, 1.0))});
    }
    std::sort(records.begin(), records.end(), [](const auto& a, const auto& b) {
      return a.weight > b.weight || (a.weight == b.weight && a.bone < b.bone);
    });
    if (records.size() > 4) records.resize(4);
    image.weights.insert(image.weights.end(), records.begin(), records.end());
  }
  std::sort(image.weights.begin(), image.weights.end(), [](const auto& a, const auto& b) {
    return a.vertex < b.vertex || (a.vertex == b.vertex && a.bone < b.bone);
  });
}
