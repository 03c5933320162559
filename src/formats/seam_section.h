#pragma once
// The model file's seam section, last; written only for a model with seams,
// so that any other model's file is as it always was, and readers that stop
// before it read the rest:
//
//   seams S
//   A B                              vertex numbers from 0, A < B, increasing

#include <string>

#include "model/model_image.h"

class Scanner;

// About how long the section's text is, for writers that make room once.
size_t seamSectionBytes(const ModelImage& image);

// Appends the section to `text` when the image has seams.
void appendSeamSection(const ModelImage& image, std::string& text);

// Reads the section when the text goes on with it; false, with the
// scanner's error, for a section the writer could not have written.
bool readSeamSection(Scanner& in, ModelImage& image);
