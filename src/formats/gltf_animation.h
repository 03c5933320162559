#pragma once
// A model's clips as glTF animations: per clip, a rotation channel for each
// keyed bone's joint node (and a translation channel for the root's when its
// keys move it), sampled at the keys' times in seconds, linear, rotations as
// unit quaternions (x, y, z, w). The root always has a rotation channel that
// reaches the clip's last frame, holding the pose it ends with, so that a
// clip without keys is written too and every clip lasts its length.

#include <string>
#include <vector>

class Model;

struct GltfChannel {
  int bone = 0;               // among the bones, depth first; the root is 0
  bool translation = false;   // else rotation
  std::vector<float> times;   // strictly increasing
  std::vector<float> values;  // 4 (rotation) or 3 (translation) per time
};

struct GltfClip {
  std::string name;
  std::vector<GltfChannel> channels;
};

// Empty for a model without skeleton.
std::vector<GltfClip> gltfClips(const Model& model);
