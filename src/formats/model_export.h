#pragma once
// Export of a model to the format its file name's extension names: ".glb",
// ".gltf" (with a .bin buffer and PNG images beside it) or ".obj" (with an
// .mtl beside it). The model is only read.

#include <string>
#include <vector>

#include "model/model.h"

// True when the extension names a format exportModel writes.
bool isExportFormat(const std::string& path);

// Writes the export; false with the reason in `reason` when something cannot
// be written. A .glb is written like a save; the files of a .gltf or .obj
// export are replaced together or not at all. Names that would go into a
// file holding a control character are refused before anything is written.
// A texture that cannot be read is left out of a glTF export, whose material
// keeps its colour, and said once in `leftOut`.
bool exportModel(Model& model, const std::string& path, std::string* reason,
                 std::vector<std::string>* leftOut = nullptr);
