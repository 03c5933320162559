#pragma once
// What must hold of a model after any operation (corners in the model, each triangle in one group,
// finite numbers, the file reads back the same): a fault as a sentence, "" if none. No test
// framework, for the fuzz targets.

#include <string>

#include "model/model.h"
#include "model/model_image.h"

std::string findModelFault(Model& model);

// `image` as building a model from it gives it: the reader reverses the writer's lists.
ModelImage rebuiltImage(const ModelImage& image);
