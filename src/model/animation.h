#pragma once
// A model's animation: named clips of keys that pose its bones over frames,
// and the vertex weights set by hand. A bone's pose is a rotation about its
// start joint, in its parent's frame (the rest skeleton has no rotation of its
// own), a translation of that joint and a scale. Posing never moves a rest
// joint or a vertex: poses are evaluated on the side (model/rig.h).

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
  glm::dvec3 translation{0, 0, 0};  // of the start joint, in the parent's frame
  glm::dvec3 scale{1, 1, 1};        // along the bone's own axes, carried by its children
  bool operator==(const BonePose&) const = default;
};

// How a key's pose goes over to the next key's: held until it (step),
// straight (linear), or along a cubic through the neighbouring keys (smooth).
enum class Interpolation : uint8_t { kStep, kLinear, kSmooth };
inline constexpr const char* kInterpolationNames[] = {"step", "linear", "smooth"};

// A bone's pose at a whole frame.
struct PoseKey {
  int frame = 0;
  BonePose pose;
  Interpolation interpolation = Interpolation::kLinear;
  bool operator==(const PoseKey&) const = default;
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

// The pose a track gives at `frame`: its keys' poses at their frames, the
// first key's before it and the last key's after it, the rest pose without
// keys. Between two keys the earlier one's interpolation holds: step keeps its
// pose; linear turns spherically (the short way) and moves and scales
// linearly; smooth follows a cubic Hermite curve per number, a quaternion's
// normalised, with the tangents of smoothTangent (as glTF's cubic splines).
BonePose sampleTrack(const Track& track, double frame);

// A smooth key's tangent, per frame: the slope between its neighbours (the
// one-sided slope at either end). The rotation tangent, (w, x, y, z) in a
// dquat, is for the key's quaternion taken as `keyRotation` (q or -q), the
// neighbours' taken on its side.
struct PoseTangent {
  glm::dquat rotation{0, 0, 0, 0};
  glm::dvec3 translation{0, 0, 0};
  glm::dvec3 scale{0, 0, 0};
};
PoseTangent smoothTangent(const Track& track, size_t key, const glm::dquat& keyRotation);
// `q` normalised, on the side of `to` (a quaternion and its negation are the
// same turn; a cubic through a sequence needs them on one side).
glm::dquat alignedTo(const glm::dquat& q, const glm::dquat& to);

// Puts `key` in the track, replacing a key at its frame.
void setKey(Track& track, const PoseKey& key);
// Gives the track `pose` at `frame`: the key there keeps its interpolation,
// a new key takes the one of the key before it (of the first key when none is
// before it), so that keying a smooth track keeps it smooth.
void setKeyPose(Track& track, int frame, const BonePose& pose);
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
