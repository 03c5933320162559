#include "model/animation.h"

#include <algorithm>
#include <atomic>

#include <glm/gtc/quaternion.hpp>

bool Clip::hasKeys() const {
  for (const auto& [bone, track] : tracks)
    if (!track.empty()) return true;
  return false;
}

namespace {

template <typename T>
T hermite(const T& p0, const T& m0, const T& p1, const T& m1, double t, double span) {
  const double t2 = t * t, t3 = t2 * t;
  return p0 * (2 * t3 - 3 * t2 + 1) + m0 * ((t3 - 2 * t2 + t) * span) + p1 * (-2 * t3 + 3 * t2) +
         m1 * ((t3 - t2) * span);
}

}  // namespace

glm::dquat alignedTo(const glm::dquat& q, const glm::dquat& to) {
  const glm::dquat n = glm::normalize(q);
  return glm::dot(n, to) < 0 ? -n : n;
}

PoseTangent smoothTangent(const Track& track, size_t key, const glm::dquat& keyRotation) {
  PoseTangent tangent;
  if (track.size() < 2) return tangent;
  const size_t a = key == 0 ? 0 : key - 1;
  const size_t b = key + 1 == track.size() ? key : key + 1;
  const double frames = track[b].frame - track[a].frame;
  const glm::dquat qa = a == key ? keyRotation : alignedTo(track[a].pose.rotation, keyRotation);
  const glm::dquat qb = b == key ? keyRotation : alignedTo(track[b].pose.rotation, keyRotation);
  tangent.rotation = (qb - qa) * (1 / frames);
  tangent.translation = (track[b].pose.translation - track[a].pose.translation) / frames;
  tangent.scale = (track[b].pose.scale - track[a].pose.scale) / frames;
  return tangent;
}

BonePose sampleTrack(const Track& track, double frame) {
  if (track.empty()) return BonePose{};
  if (frame <= track.front().frame) return track.front().pose;
  if (frame >= track.back().frame) return track.back().pose;
  const auto after = std::upper_bound(track.begin(), track.end(), frame,
                                      [](double f, const PoseKey& key) { return f < key.frame; });
  const PoseKey& a = *(after - 1);
  const PoseKey& b = *after;
  const double span = b.frame - a.frame;
  const double t = (frame - a.frame) / span;
  BonePose pose;
  switch (a.interpolation) {
    case Interpolation::kStep:
      return a.pose;
    case Interpolation::kLinear:
      // glm's slerp takes the short way round, as glTF clients do.
      pose.rotation = glm::normalize(
          glm::slerp(glm::normalize(a.pose.rotation), glm::normalize(b.pose.rotation), t));
      pose.translation = a.pose.translation + (b.pose.translation - a.pose.translation) * t;
      pose.scale = a.pose.scale + (b.pose.scale - a.pose.scale) * t;
      return pose;
    case Interpolation::kSmooth: {
      const size_t k = static_cast<size_t>(after - 1 - track.begin());
      const glm::dquat q0 = glm::normalize(a.pose.rotation), q1 = alignedTo(b.pose.rotation, q0);
      const PoseTangent m0 = smoothTangent(track, k, q0), m1 = smoothTangent(track, k + 1, q1);
      pose.rotation = glm::normalize(hermite(q0, m0.rotation, q1, m1.rotation, t, span));
      pose.translation =
          hermite(a.pose.translation, m0.translation, b.pose.translation, m1.translation, t, span);
      pose.scale = hermite(a.pose.scale, m0.scale, b.pose.scale, m1.scale, t, span);
      return pose;
    }
  }
  return a.pose;
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

void setKeyPose(Track& track, int frame, const BonePose& pose) {
  auto at = std::lower_bound(track.begin(), track.end(), frame,
                             [](const PoseKey& k, int f) { return k.frame < f; });
  if (at != track.end() && at->frame == frame) {
    at->pose = pose;
    return;
  }
  PoseKey key{frame, pose};
  if (at != track.begin()) {
    key.interpolation = (at - 1)->interpolation;
  } else if (at != track.end()) {
    key.interpolation = at->interpolation;
  }
  track.insert(at, key);
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
