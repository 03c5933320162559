#pragma once
// Models of other formats (OBJ, glTF, FBX, Collada, 3DS, PLY, STL and every
// other format Assimp reads), turned into what a model file carries. This
// runs Assimp on whatever file the user names, so the editor calls it only in
// a child process (import/import_child.h).

#include <string>
#include <vector>

#include "model/model_image.h"

struct ForeignModel {
  ModelImage image;
  // What the model file could not keep, one short phrase each, in a fixed
  // order ("quads split into triangles", "animations dropped", ...).
  std::vector<std::string> changes;
};

// True when the file name's extension is one Assimp reads, but for ".mdl",
// which names the editor's own model files.
bool isForeignFormat(const std::string& path);

// What becomes of Assimp's scene once the model is read: freed, or left for
// the process's exit to take back, which spares a child that exits right
// after a teardown of millions of small allocations.
enum class SceneAfterImport { kFreed, kLeftForExit };

// Reads the file: triangles, texture coordinates, one group per mesh with its
// material's colour and texture, and the bones of its skins. Files it names
// are read only from its folder and below, textures only when they are
// images; what was left out is named in `changes`. Embedded images, and
// images whose names would not fit the model file, are written as new files
// beside `modelPath` (where the model will be saved; by default the file
// itself) under names that do. False with the reason in `reason`: Assimp's
// error, a file it needed but was refused, an index beyond what it indexes,
// or a GLB's declared length beyond the file.
bool importForeignModel(const std::string& path, ForeignModel& result, std::string* reason,
                        SceneAfterImport after = SceneAfterImport::kFreed,
                        const std::string& modelPath = "");

// A texture name the model file keeps: one word of at most 31 characters.
bool fitsModelFile(const std::string& textureName);
