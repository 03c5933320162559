#include "model/animation_image.h"

#include <cmath>

#include "model/animation.h"
#include "model/model.h"

namespace {

bool finite(const double* values, int count) {
  for (int i = 0; i < count; ++i)
    if (!std::isfinite(values[i])) return false;
  return true;
}

}  // namespace

std::string clipFault(const ModelImage& image, size_t c) {
  const ModelImage::ClipRecord& clip = image.clips[c];
  if (!isClipName(clip.name)) return "unusable clip name";
  if (clip.length < 1 || clip.length > Clip::kMaxLength) return "clip length out of range";
  if (clip.fps < 1 || clip.fps > Clip::kMaxFps) return "frame rate out of range";
  for (size_t earlier = 0; earlier < c; ++earlier)
    if (image.clips[earlier].name == clip.name) return "clip name repeated";
  return "";
}

std::string trackFault(const ModelImage& image, const ModelImage::ClipRecord& clip, size_t t) {
  const ModelImage::TrackRecord& track = clip.tracks[t];
  const int previous = t > 0 ? clip.tracks[t - 1].bone : -1;
  if (track.bone <= previous || track.bone >= static_cast<int>(image.bones.size()))
    return "track bone out of order";
  if (track.keys.empty()) return "track without keys";
  return "";
}

std::string keyFault(const ModelImage::ClipRecord& clip, const ModelImage::TrackRecord& track,
                     size_t k) {
  const ModelImage::KeyRecord& key = track.keys[k];
  const int previous = k > 0 ? track.keys[k - 1].frame : -1;
  if (key.frame <= previous || key.frame > clip.length) return "key frame out of order";
  if (!finite(key.rotation, 4) || !finite(key.translation, 3) || !finite(key.scale, 3))
    return "key not finite";
  if (key.interpolation < 0 || key.interpolation > 2) return "unknown key interpolation";
  const double* q = key.rotation;
  if (!(q[0] * q[0] + q[1] * q[1] + q[2] * q[2] + q[3] * q[3] > 1e-12))
    return "key rotation of length 0";
  return "";
}

std::string weightFault(const ModelImage& image, size_t i) {
  const ModelImage::WeightRecord& w = image.weights[i];
  if (w.vertex < 0 || w.vertex >= static_cast<int>(image.vertices.size()) || w.bone < 0 ||
      w.bone >= static_cast<int>(image.bones.size()))
    return "weight of a vertex or bone out of range";
  if (i > 0) {
    const ModelImage::WeightRecord& previous = image.weights[i - 1];
    if (w.vertex < previous.vertex || (w.vertex == previous.vertex && w.bone <= previous.bone))
      return "weights out of order";
    if (i >= 4 && image.weights[i - 4].vertex == w.vertex)
      return "more than four weights on a vertex";
  }
  if (!(w.weight >= 0 && w.weight <= 1)) return "weight outside 0..1";
  return "";
}

std::string animationFault(const ModelImage& image) {
  for (size_t c = 0; c < image.clips.size(); ++c) {
    std::string fault = clipFault(image, c);
    const ModelImage::ClipRecord& clip = image.clips[c];
    for (size_t t = 0; fault.empty() && t < clip.tracks.size(); ++t) {
      fault = trackFault(image, clip, t);
      for (size_t k = 0; fault.empty() && k < clip.tracks[t].keys.size(); ++k)
        fault = keyFault(clip, clip.tracks[t], k);
    }
    if (!fault.empty()) return fault;
  }
  for (size_t w = 0; w < image.weights.size(); ++w) {
    std::string fault = weightFault(image, w);
    if (!fault.empty()) return fault;
  }
  return "";
}

void buildAnimation(const ModelImage& image, Model& model, const std::vector<Vertex*>& vertices,
                    const std::vector<Bone*>& bones) {
  Animation& animation = *model.animation;
  animation.clips.clear();
  animation.weights.clear();
  for (const ModelImage::ClipRecord& record : image.clips) {
    Clip& clip = animation.add(record.name);
    clip.length = record.length;
    clip.fps = record.fps;
    for (const ModelImage::TrackRecord& track : record.tracks) {
      Track& keys = clip.tracks[bones[track.bone]];
      keys.reserve(track.keys.size());
      for (const ModelImage::KeyRecord& k : track.keys) {
        PoseKey key;
        key.frame = k.frame;
        key.pose.rotation = glm::dquat(k.rotation[0], k.rotation[1], k.rotation[2], k.rotation[3]);
        key.pose.translation = glm::dvec3(k.translation[0], k.translation[1], k.translation[2]);
        key.pose.scale = glm::dvec3(k.scale[0], k.scale[1], k.scale[2]);
        key.interpolation = static_cast<Interpolation>(k.interpolation);
        keys.push_back(key);
      }
    }
  }
  for (const ModelImage::WeightRecord& w : image.weights)
    animation.weights[vertices[w.vertex]].push_back(BoneWeight{bones[w.bone], w.weight});
}
