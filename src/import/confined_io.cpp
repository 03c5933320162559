#include "import/confined_io.h"

#include <assimp/DefaultIOStream.h>
#include <sys/stat.h>

#include <algorithm>
#include <cerrno>
#include <cstring>

#include "files/file_paths.h"

namespace {

// Assimp's own stream over a file this system opened; its size is the open
// file's, not that of whatever the name leads to by now.
class OpenedStream : public Assimp::DefaultIOStream {
 public:
  OpenedStream(std::FILE* file, const std::string& name)
      : DefaultIOStream(file, name), file_(file) {}
  size_t FileSize() const override {
    struct stat info;
    return fstat(fileno(file_), &info) == 0 ? static_cast<size_t>(info.st_size) : 0;
  }

 private:
  std::FILE* file_;
};

}  // namespace

ConfinedIOSystem::ConfinedIOSystem(const std::string& importedFile)
    : bounds_(importedFile), folder_(directoryOf(importedFile) + "/") {}

void ConfinedIOSystem::refuse(const std::string& path, const std::string& why) const {
  // The name as the imported file gives it, without the folder the
  // importer put before it.
  const bool below = path.compare(0, folder_.size(), folder_) == 0;
  const std::string name = below ? path.substr(folder_.size()) : path;
  const std::string line = "file " + shownName(name) + " not read (" + why + ")";
  if (std::find(refusals_.begin(), refusals_.end(), line) == refusals_.end())
    refusals_.push_back(line);
}

std::FILE* ConfinedIOSystem::openRead(const char* path) const {
  std::string why;
  std::FILE* file = bounds_.open(path, &why);
  // A file that is not there is the importer's to report.
  if (!file && why != std::strerror(ENOENT)) refuse(path, why);
  return file;
}

// A file outside the folder exists too: the importer then asks to open it,
// and the refusal names it. (Importers also ask for many guessed names.)
bool ConfinedIOSystem::Exists(const char* path) const {
  struct stat info;
  return stat(path, &info) == 0;
}

Assimp::IOStream* ConfinedIOSystem::Open(const char* path, const char* mode) {
  if (std::string(mode ? mode : "rb").find_first_of("wa+") != std::string::npos) return nullptr;
  std::FILE* file = openRead(path);
  return file ? new OpenedStream(file, path) : nullptr;
}
