#include "model/animation.h"

#include <algorithm>
#include <atomic>

#include <glm/gtc/quaternion.hpp>

bool Clip::hasKeys() const {
  for (const auto& [bone, track] : tracks)
    if (!track.empty()) return true;
  return false;
}

BonePose sampleTrack(const Track& track, double frame) {
  if (track.empty()) return BonePose{};
  if (frame <= track.front().frame) return track.front().pose;
  if (frame >= track.back().frame) return track.back().pose;
  const auto after = std::upper_bound(track.begin(), track.end(), frame,
                                      [](double f, const PoseKey& key) { return f < key.frame; });
  const PoseKey& a = *(after - 1);
  const PoseKey& b = *after;
  const double t = (frame - a.frame) / (b.frame - a.frame);
  BonePose pose;
  // glm's slerp takes the short way round, as glTF clients do.
  pose.rotation = glm::normalize(
      glm::slerp(glm::normalize(a.pose.rotation), glm::normalize(b.pose.rotation), t));
  pose.translation = a.pose.translation + (b.pose.translation - a.pose.translation) * t;
  return pose;
}

void setKey(Track& track, const PoseKey& key) {
  auto at = std::lower_bound(track.begin(), track.end(), key.frame,
                             [](const PoseKey& k, int frame) { return k.frame < frame; });
  if (at != track.end() && at->frame == key.frame) {
    *at = key;
  } else {
    track.insert(at, key);
  }
}

bool removeKey(Track& track, int frame) {
  auto at = std::lower_bound(track.begin(), track.end(), frame,
                             [](const PoseKey& k, int f) { return k.frame < f; });
  if (at == track.end() || at->frame != frame) return false;
  track.erase(at);
  return true;
}

bool isClipName(std::string_view name) {
  if (name.empty() || name.size() > kMaxClipName) return false;
  for (unsigned char c : name)
    if (c <= ' ' || c >= 0x7F) return false;
  return true;
}

namespace {
std::atomic<uint64_t> gSerials{0};
}  // namespace

Animation::Animation() : serial(++gSerials) {}

Clip* Animation::find(std::string_view name) const {
  for (const auto& clip : clips)
    if (clip->name == name) return clip.get();
  return nullptr;
}

Clip& Animation::add(std::string name) {
  clips.push_back(std::make_unique<Clip>());
  clips.back()->name = std::move(name);
  return *clips.back();
}
