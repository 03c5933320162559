#pragma once
// What must hold of a model after any operation, checked from the outside:
// every triangle's corners are vertices of the model and its UV points follow
// them, every triangle is in exactly one group, no number anywhere is
// infinite or NaN, and the model file writes and reads back to the same model.
// Shared by the reliability tests and the fuzz targets, so it uses no test
// framework: a fault comes back as a sentence, an intact model as "".

#include <string>

#include "model/model.h"
#include "model/model_image.h"

std::string findModelFault(Model& model);

// The image of the model that building `image` gives: the reader's list
// order is the reverse of the writer's, so this is `image` reordered.
ModelImage rebuiltImage(const ModelImage& image);
