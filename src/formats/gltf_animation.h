#pragma once
// A model's clips as glTF animations: per clip, a rotation channel for each
// keyed bone's joint node, a translation channel when its keys move its joint
// and a scale channel when they scale it, sampled at the keys' times in
// seconds, rotations as unit quaternions (x, y, z, w). A track whose keys
// share one interpolation is written with it (STEP, LINEAR or CUBICSPLINE,
// the tangents the editor's own); a track that mixes them, at every whole
// frame, linear. The root always has a rotation channel that reaches the
// clip's last frame, holding the pose it ends with, so that a clip without
// keys is written too and every clip lasts its length.

#include <string>
#include <vector>

class Model;

struct GltfChannel {
  enum Path { kRotation, kTranslation, kScale };
  int bone = 0;  // among the bones, depth first; the root is 0
  Path path = kRotation;
  const char* interpolation = "LINEAR";  // or "STEP", "CUBICSPLINE"
  std::vector<float> times;              // strictly increasing
  // 4 (rotation) or 3 numbers per time; for CUBICSPLINE three such values a
  // time: the in-tangent, the value, the out-tangent, tangents per second.
  std::vector<float> values;

  int width() const { return path == kRotation ? 4 : 3; }
};

struct GltfClip {
  std::string name;
  std::vector<GltfChannel> channels;
};

// Empty for a model without skeleton.
std::vector<GltfClip> gltfClips(const Model& model);
