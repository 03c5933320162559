#pragma once
// What must hold of a model after any operation, as a sentence ("" if none); no test framework,
// for the fuzz targets.

#include <string>

#include "model/model.h"
#include "model/model_image.h"

std::string findModelFault(Model& model);

// `image` as building a model from it gives it: the reader reverses the writer's lists.
ModelImage rebuiltImage(const ModelImage& image);
