#pragma once
// A model's animation as the numbers a model file carries (ModelImage's
// clips and weights), and back.

#include <string>
#include <vector>

#include "model/model_image.h"

class Model;
struct Bone;
struct Vertex;

// What is wrong with the image's clips and weights, "" when nothing: a bone,
// vertex or frame out of range, tracks or weights out of order, a repeated or
// unusable clip name, numbers that are not finite, a rotation of length 0, a
// weight outside 0..1, more than four weights on a vertex.
std::string animationFault(const ModelImage& image);

// The same checks one item at a time, as a reader meets them, each against
// the items before it: a clip's name, length and frame rate; a track's bone
// and key count; a key; a weight.
std::string clipFault(const ModelImage& image, size_t clip);
std::string trackFault(const ModelImage& image, const ModelImage::ClipRecord& clip, size_t track);
std::string keyFault(const ModelImage::ClipRecord& clip, const ModelImage::TrackRecord& track,
                     size_t key);
std::string weightFault(const ModelImage& image, size_t weight);

// Gives the model the image's clips and weights; `vertices` and `bones` are
// the records the image's numbers name. The image must be free of faults.
void buildAnimation(const ModelImage& image, Model& model, const std::vector<Vertex*>& vertices,
                    const std::vector<Bone*>& bones);
