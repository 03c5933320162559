#pragma once
// The model file's animation section, after the skeleton; written only for a
// model with clips or weights set by hand, so that any other model's file is
// as it always was (and as version 1, keys without scale and interpolation
// and the root's translation alone, when its keys need no more), and readers that stop after the skeleton read the rest:
//
//   animation 2
//   clips C
//   clip NAME LENGTH FPS T           T tracks follow
//   track BONE K                     K keys follow; BONE a bone line's number from 0
//   FRAME W X Y Z TX TY TZ SX SY SZ I   rotation, translation, scale, interpolation
//                                       (step, linear or smooth)
//   weights W
//   VERTEX BONE WEIGHT               by vertex, then bone

#include <string>
#include <vector>

#include "model/model_image.h"

class Model;
class Scanner;
struct Vertex;

// The writer's walk: the model's clips and hand-set weights into the image,
// numbers rounded as written. `byNumber` holds the vertices by their numbers
// in the image.
void captureAnimation(Model& model, ModelImage& image, const std::vector<Vertex*>& byNumber);

// About how long the section's text is, for writers that make room once.
size_t animationSectionBytes(const ModelImage& image);

// Appends the section to `text` when the image has clips or weights.
void appendAnimationSection(const ModelImage& image, std::string& text);

// Reads the section when the text goes on with it (anything else after the
// skeleton is ignored); false, with the scanner's error, for a section the
// writer could not have written.
bool readAnimationSection(Scanner& in, ModelImage& image);
