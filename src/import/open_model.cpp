#include "import/open_model.h"

#include <cstdio>

#include "files/file_paths.h"
#include "files/regular_file.h"
#include "formats/model_file.h"

std::string nativeModelName(const std::string& path) {
  return stemOf(path) + kModelExtension;
}

namespace {

// A file goes to the importer by what it holds, not by its name: a game's
// binary .mdl or a file without an extension is no model file of ours.
bool importable(const std::string& path) {
  std::FILE* file = openRegularFile(path);
  if (!file) return false;  // the model file reader says why
  const bool ours = startsLikeModelFile(file);
  std::fclose(file);
  return !ours;
}

}  // namespace

OpenedModel openModelFile(const std::string& path, TextureCache* textures,
                          const ImportSettings& settings, const std::string& importedName) {
  OpenedModel opened;
  if (settings.program.empty() || !importable(path)) {
    auto model = std::make_unique<Model>(path, textures);
    if (load(*model, path, &opened.reason, &opened.changes)) opened.model = std::move(model);
    return opened;
  }
  // The trace of an open names every readable file, as when every file was
  // first tried as a model file.
  std::printf("Reading model from file: %s\n", shownName(path).c_str());
  opened.imported = true;
  const std::string name = importedName.empty() ? nativeModelName(path) : importedName;
  ImportResult result = importInChild(path, name, textures, settings);
  opened.model = std::move(result.model);
  opened.reason = std::move(result.reason);
  opened.changes = std::move(result.changes);
  return opened;
}
