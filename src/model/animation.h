#pragma once
// A model's animation: named clips of keys that pose its bones over frames,
// and the vertex weights set by hand. A bone's pose is a rotation about its
// start joint, in its parent's frame (the rest skeleton has no rotation of its
// own), and for the root also a translation. Posing never moves a rest joint
// or a vertex: poses are evaluated on the side (model/rig.h).

#include <glm/gtc/quaternion.hpp>
#include <glm/vec3.hpp>

#include <cstdint>
#include <memory>
#include <string>
#include <string_view>
#include <vector>

#include <absl/container/flat_hash_map.h>

struct Bone;
struct Vertex;

struct BonePose {
  glm::dquat rotation{1, 0, 0, 0};
  glm::dvec3 translation{0, 0, 0};  // the root's only
  bool operator==(const BonePose&) const = default;
};

// A bone's pose at a whole frame.
struct PoseKey {
  int frame = 0;
  BonePose pose;
};

// A bone's keys, in increasing frames without repeats.
using Track = std::vector<PoseKey>;

struct Clip {
  static constexpr int kDefaultLength = 24;
  static constexpr int kDefaultFps = 24;
  static constexpr int kMaxLength = 100000;
  static constexpr int kMaxFps = 1000;

  std::string name;
  int length = kDefaultLength;  // frames 0 .. length
  int fps = kDefaultFps;
  absl::flat_hash_map<const Bone*, Track> tracks;

  bool hasKeys() const;
};

// The pose a track gives at `frame`: its keys' poses at their frames,
// rotations interpolated spherically (the short way) and translations linearly
// between them, the first key's before it and the last key's after it; the
// rest pose without keys.
BonePose sampleTrack(const Track& track, double frame);

// Puts `key` in the track, replacing a key at its frame.
void setKey(Track& track, const PoseKey& key);
// Removes the key at `frame`; false when there is none.
bool removeKey(Track& track, int frame);

// A bone's weight on a vertex, set by hand.
struct BoneWeight {
  const Bone* bone = nullptr;
  double weight = 0;
};

// Names a clip can have: one word of printable characters, at most this long.
constexpr size_t kMaxClipName = 63;
bool isClipName(std::string_view name);

class Animation {
 public:
  Animation();
  // Tells this animation from any other, also one that takes its place in
  // memory: what is derived from a model's animation is kept by serial.
  const uint64_t serial;
  std::vector<std::unique_ptr<Clip>> clips;  // in the order they were made
  // Vertices whose weights were set by hand, overriding the derived ones.
  absl::flat_hash_map<const Vertex*, std::vector<BoneWeight>> weights;

  Clip* find(std::string_view name) const;
  Clip& add(std::string name);
  bool empty() const { return clips.empty() && weights.empty(); }
};
