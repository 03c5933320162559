// Saving and loading models. A save never destroys the previous file (see
// file_replace.h).

#include <sys/stat.h>

#include <cstdio>
#include <string>

#include "files/file_replace.h"
#include "files/regular_file.h"
#include "model/model.h"
#include "model/model_builder.h"
#include "model/model_image.h"

int Model::save() {
  // Formatted first: "Saving model to file" appears only once the file is
  // being written.
  const std::string text = formatModelFile(captureImage(*this));
  return replaceFileContents(name, text,
                             [this] { std::printf("Saving model to file: %s\n", name.c_str()); })
             ? 1
             : 0;
}

int Model::saveAs(const std::string& path) {
  name = path;
  return save();
}

int Model::load(const std::string& path, std::string* reason) {
  std::FILE* file = openRegularFile(path, reason);
  if (!file) return 0;
  std::printf("Reading model from file: %s\n", path.c_str());
  struct stat info;
  const size_t size = fstat(fileno(file), &info) == 0 && info.st_size > 0 ? info.st_size : 0;

  const bool built =
      readAndBuild(file, size, *this, /*printNames=*/true, kBlockLines, kRingBlocks, reason);
  std::fclose(file);
  return built ? 1 : 0;
}
