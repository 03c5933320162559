#pragma once
// Opening a model: the editor's own model file as always, and any other file,
// told apart by its first bytes whatever its name, through the import child
// (when the settings name its program). An imported model is named after the
// file with the editor's own extension, in the working directory: saving
// never overwrites the file it came from, nor writes into its folder (which
// may be another user's, or the system's).

#include <memory>
#include <string>
#include <vector>

#include "import/import_child.h"
#include "model/model.h"

inline constexpr const char* kModelExtension = ".vantorel";

struct OpenedModel {
  std::unique_ptr<Model> model;      // null when the file could not be opened
  bool imported = false;             // it went (or would have gone) through the importer
  std::string reason;                // why it failed
  std::vector<std::string> changes;  // what an import (or a model file) could not keep
};

// An imported model is named `importedName` when given (textures the import
// writes go beside it), else nativeModelName(path).
OpenedModel openModelFile(const std::string& path, TextureCache* textures,
                          const ImportSettings& settings, const std::string& importedName = "");

// "dir/ship.glb" -> "ship.vantorel"
std::string nativeModelName(const std::string& path);
