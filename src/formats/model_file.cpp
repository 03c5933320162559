// Saving and loading models. A save never destroys the previous file (see
// file_replace.h).

#include "formats/model_file.h"

#include <sys/stat.h>

#include <cstdio>
#include <string>

#include "files/file_paths.h"
#include "files/file_replace.h"
#include "files/regular_file.h"
#include "formats/model_load.h"
#include "model/model.h"

int save(Model& model) {
  // Formatted first: "Saving model to file" appears only once the file is
  // being written.
  const std::string text = formatModelFile(captureImage(model));
  const std::string& name = model.name;
  return replaceFileContents(
             name, text,
             [&name] { std::printf("Saving model to file: %s\n", shownName(name).c_str()); })
             ? 1
             : 0;
}

int saveAs(Model& model, const std::string& path) {
  model.name = path;
  return save(model);
}

int load(Model& model, const std::string& path, std::string* reason,
         std::vector<std::string>* notes) {
  std::FILE* file = openRegularFile(path, reason);
  if (!file) return 0;
  std::printf("Reading model from file: %s\n", shownName(path).c_str());
  struct stat info;
  const size_t size = fstat(fileno(file), &info) == 0 && info.st_size > 0 ? info.st_size : 0;

  const bool built =
      readAndBuild(file, size, model, /*printNames=*/true, kBlockLines, kRingBlocks, reason, notes);
  std::fclose(file);
  return built ? 1 : 0;
}
