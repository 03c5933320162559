#pragma once
// An imported scene's skeletal animations as clips on the imported bones.
// The editor's rest skeleton is the bind pose and a bone's pose a move of its
// start joint, a turn about it and a scale, in its parent bone's frame, so
// each key is what makes the bone's skinning follow the file's; what an
// animated node that is no bone does is carried by the bones below it. Keys
// stay at the file's key times when they fall on whole frames of a usual frame
// rate (24, 25, 30, 48, 50, 60 or 120 a second); otherwise, and for a bone
// that turns about a point other than the editor's joint or below a node that
// turns, the bone is sampled at every frame.
// A bone's keys step, run straight or curve as the channels that move it do
// (`interpolations`, by animation, from gltfInterpolations), linear when they
// differ or the file does not say.
// What a clip cannot hold is counted in `changes`: morph target and vertex
// animation channels, and animated nodes with no bone below them.

#include <assimp/matrix4x4.h>

#include <string>
#include <vector>

#include "import/gltf_interpolations.h"
#include "model/model_image.h"

struct aiNode;
struct aiScene;

struct ImportedJoint {
  const aiNode* node = nullptr;
  aiMatrix4x4 bindWorld;  // the joint's placement in the bind pose
};

// `joints` are the image's bones' nodes, by bone line.
void importAnimations(const aiScene& scene, const std::vector<ImportedJoint>& joints,
                      const std::vector<NodeInterpolations>& interpolations, ModelImage& image,
                      std::vector<std::string>& changes);
