#pragma once
// Export of a model to the format its file name's extension names: ".glb",
// ".gltf" (with a .bin buffer and PNG images beside it) or ".obj" (with an
// .mtl beside it). The model is only read.

#include <string>

#include "model/model.h"

// True when the extension names a format exportModel writes.
bool isExportFormat(const std::string& path);

// Writes every file of the export like a save, the named file last; false
// with the reason in `reason` when something cannot be written.
bool exportModel(Model& model, const std::string& path, std::string* reason);
