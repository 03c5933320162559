#pragma once
// The model file's bone name section, after the seams; written only for a
// model with a named bone, so that any other model's file is as it always
// was, and readers that stop before it (as earlier editors do after the
// seams) read the rest:
//
//   bonenames N
//   BONE NAME                        bone number from 0 in the skeleton's
//                                    order, increasing; NAME one word

#include <string>

#include "model/model_image.h"

class Scanner;

// About how long the section's text is, for writers that make room once.
size_t boneNameSectionBytes(const ModelImage& image);

// Appends the section to `text` when a bone of the image has a name.
void appendBoneNameSection(const ModelImage& image, std::string& text);

// Reads the section when the text goes on with it; false, with the
// scanner's error, for a section the writer could not have written.
bool readBoneNameSection(Scanner& in, ModelImage& image);
