#pragma once
// An imported scene's skeletal animations as clips on the imported bones.
// The editor's rest skeleton is the bind pose and a bone's pose a rotation
// about its start joint (the root's with a translation), so each key is what
// makes the bone's skinning follow the file's: its rotation relative to its
// parent bone's, and for the root where it goes. Keys stay at the file's key
// times when they fall on whole frames of a usual frame rate (24, 25, 30, 48,
// 50, 60 or 120 a second); otherwise, and for a root that turns about a joint
// other than the editor's, the clip is sampled at every frame.
// What a clip cannot hold is counted in `changes`: morph target and vertex
// animation channels, animated nodes that are not bones, scale keys, and
// moves of bones below the root away from their parent's end.

#include <assimp/matrix4x4.h>

#include <string>
#include <vector>

#include "model/model_image.h"

struct aiNode;
struct aiScene;

struct ImportedJoint {
  const aiNode* node = nullptr;
  aiMatrix4x4 bindWorld;  // the joint's placement in the bind pose
};

// `joints` are the image's bones' nodes, by bone line.
void importAnimations(const aiScene& scene, const std::vector<ImportedJoint>& joints,
                      ModelImage& image, std::vector<std::string>& changes);
