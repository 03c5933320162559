#pragma once
// How a glTF file's animation channels interpolate, which Assimp reads (it
// takes a cubic spline's values from between its tangents) but does not
// keep: so imported keys can step, run straight or curve as in the file.

#include <string>
#include <vector>

#include <absl/container/flat_hash_map.h>

#include "model/animation.h"

// By animation, in the file's order: each animated node's name (as Assimp
// names it) and the interpolation its channels share, or linear when they
// differ. Empty for a file that is no glTF or cannot be read.
using NodeInterpolations = absl::flat_hash_map<std::string, Interpolation>;
std::vector<NodeInterpolations> gltfInterpolations(const std::string& path);
