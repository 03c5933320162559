#pragma once
// An imported skin's weights onto the model: each triangle gets a bone, and
// vertices whose weights the triangles' bones would not give (model/skin.h
// derives a vertex's weights from the bones of its triangles) keep theirs as
// weights set by hand, so the model moves as the file says.
//
// A triangle's bone: weights the editor derived (as its own exports carry
// them) are shares of a vertex's triangles, so they give how many triangles
// of each bone meet at each vertex; each triangle takes, among the bones
// with triangles left at all three of its corners, the one of largest weight
// summed over its corners, and uses one up at each. When no bone is left at
// all three, the one of largest summed weight.

#include <utility>
#include <vector>

#include "model/model_image.h"

// Bone numbers (lines of image.bones) and weights, per vertex of the image.
using VertexWeights = std::vector<std::vector<std::pair<int, float>>>;

// Lists every polygon of the image under its bone (unassigned when none of
// its corners has a weight) and sets image.weights.
void assignSkin(ModelImage& image, const VertexWeights& weights);
