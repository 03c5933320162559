#pragma once
// A model image as bytes, as the import child hands it back: the numbers as
// they lie in memory, so that neither side spends time on text. The reader
// trusts nothing: it makes every check the model file reader makes.

#include <cstdio>
#include <string>

#include "model/model_image.h"

std::string imageBytes(const ModelImage& image);

// Reads `size` bytes of imageBytes' output. False for anything a model file
// could not hold: counts beyond the bytes, a corner or polygon number out of
// range, numbers that are not finite, bad bone depths, texture names that
// are not one word of at most 31 characters, clips, weights or bone names
// the model file's reader would refuse.
bool readImageBytes(std::FILE* in, size_t size, ModelImage& image);
