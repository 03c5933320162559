#include "import/open_model.h"

#include <sys/stat.h>

#include "files/file_paths.h"
#include "formats/model_file.h"
#include "import/foreign_import.h"

std::string nativeModelName(const std::string& path) {
  const std::string ext = extensionOf(path);
  return path.substr(0, path.size() - ext.size()) + kModelExtension;
}

OpenedModel openModelFile(const std::string& path, TextureCache* textures,
                          const ImportSettings& settings, const std::string& importedName) {
  OpenedModel opened;
  auto model = std::make_unique<Model>(path, textures);
  std::string loadReason;
  if (load(*model, path, &loadReason)) {
    opened.model = std::move(model);
    return opened;
  }
  // The load's reason already says when the file is missing or no regular
  // file; only a readable file of another format goes to the importer.
  struct stat info;
  const bool regular = stat(path.c_str(), &info) == 0 && S_ISREG(info.st_mode);
  if (!regular || settings.program.empty() || !isForeignFormat(path)) {
    opened.reason = loadReason;
  } else {
    opened.imported = true;
    const std::string name = importedName.empty() ? nativeModelName(path) : importedName;
    ImportResult result = importInChild(path, name, textures, settings);
    opened.model = std::move(result.model);
    opened.reason = std::move(result.reason);
    opened.changes = std::move(result.changes);
  }
  return opened;
}
